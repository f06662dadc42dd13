#pragma once

// The palette search of a dropped capture on the loaded ROM. It runs a few
// milliseconds at each timer tick, so the window never stops answering; its
// progress shows in the status line, where a click stops it. At the end a box
// shows the best places and offers to add them to the location book, and the
// view goes to the best one.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "capture/Capture.h"
#include "core/RomImage.h"
#include "editor/PaletteView.h"
#include "finder/PaletteHit.h"
#include "settings/LocationEntry.h"
#include "window/WindowSystem.h"

namespace tintwright {

inline constexpr std::string_view kPaletteSearchCaption = "Palette Search";

// Adds entries to the location book in the settings file, tells the user of
// the first that could not be written, and has the list read again.
void AddToLocationBook(WindowSystem& windowSystem, const std::string& settingsPath,
                       const std::vector<LocationEntry>& entries);

// Listens to the working copy: a search of a ROM that was replaced would go
// to places in the new one, so a new file stops it.
class CaptureSearch final : public WorkingCopyListener {
public:
    CaptureSearch(WindowSystem& windowSystem, const RomImage& rom, PaletteView& view,
                  const std::string& settingsPath);
    ~CaptureSearch();
    CaptureSearch(const CaptureSearch&) = delete;
    CaptureSearch& operator=(const CaptureSearch&) = delete;

    // Starts searching for the capture's colours, dropping a search already
    // running. fileName names the capture in what the user reads.
    void Start(std::string fileName, Capture capture);
    // A timer tick: the search goes on for a moment and, once it has seen the
    // whole ROM, shows what it found.
    void OnTimer();
    // Told of every finished search before its box shows; what it gives back
    // is added to the box (why the game preview cannot open).
    using Finished = std::function<std::optional<std::string>(
        const std::string& fileName, const Capture& capture, const SearchResult& result)>;
    void OnFinished(Finished finished) { finished_ = std::move(finished); }
    // Drops a running search without a word; the status line shows the view again.
    void Stop();
    bool Running() const { return run_ != nullptr; }

    // A search goes on through an edit: it reads the working copy as it stands
    // when it gets there.
    void WorkingCopyChanged(std::uint32_t, std::uint32_t) override {}
    void WorkingCopyReplaced() override { Stop(); }

private:
    struct Run;

    void ShowProgress();
    void Report(const Run& run);
    void ShowNothingFound(const std::string& captureTitle, const std::string& note);
    void AddToBook(const std::vector<LocationEntry>& entries);
    void GoTo(std::uint32_t offset);

    WindowSystem& windowSystem_;
    const RomImage& rom_;
    PaletteView& view_;
    const std::string& settingsPath_;
    std::unique_ptr<Run> run_;
    Finished finished_;
};

}  // namespace tintwright
