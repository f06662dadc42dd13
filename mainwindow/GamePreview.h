#pragma once

// The game preview: the game's screen from a dropped save state, drawn by a
// libretro core in a host process of its own, following every change of the
// working copy. It listens to the working copy beside the view; the host's
// answers are taken on the preview window's own timer, so the editor never
// waits for a core.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "capture/Capture.h"
#include "core/Process.h"
#include "core/RomImage.h"
#include "finder/PaletteHit.h"
#include "preview/LiveRun.h"
#include "preview/PreviewMapping.h"
#include "preview/PreviewSession.h"
#include "window/WindowSystem.h"

namespace tintwright {

// How often the preview window asks the host for what arrived: well inside
// one 60 Hz frame.
inline constexpr int kPreviewPollMs = 4;

// Milliseconds on a steady clock; tests drive their own.
using PreviewClock = std::function<std::int64_t()>;
PreviewClock SteadyPreviewClock();

class GamePreview final : public WorkingCopyListener {
public:
    GamePreview(WindowSystem& windowSystem, const RomImage& rom, const std::string& settingsPath,
                PreviewClock clock = SteadyPreviewClock());
    ~GamePreview();
    GamePreview(const GamePreview&) = delete;
    GamePreview& operator=(const GamePreview&) = delete;

    // After a drop's search: opens the preview of the state, replacing one
    // already open. Gives why it cannot when the capture is a state no core
    // runs, or no core or host can be had; nothing for palette files and
    // CGRAM dumps, which nobody expects to run.
    std::optional<std::string> Open(const std::string& stateName, const Capture& capture,
                                    const SearchResult& result);
    bool IsOpen() const { return window_ != 0; }

    void OnKey(PreviewHandle preview, PreviewKey key, bool pressed);
    void OnTimer(PreviewHandle preview);
    void OnClose(PreviewHandle preview);
    // Closes the window and ends the host.
    void Close();

    void WorkingCopyChanged(std::uint32_t offset, std::uint32_t count) override;
    void WorkingCopyReplaced() override;

private:
    Result<std::unique_ptr<PreviewSession>> StartSession();
    void Stopped(const std::string& reason);
    void StartReplay();
    void TakeReplay(TraceMessage trace);

    WindowSystem& windowSystem_;
    const RomImage& rom_;
    const std::string& settingsPath_;
    PreviewClock clock_;
    PreviewHandle window_ = 0;
    std::unique_ptr<PreviewSession> session_;
    // What the host needs again when the working copy is replaced.
    std::string corePath_;
    CoreState state_;
    PreviewMapping mapping_;
    bool playing_ = false;
    std::uint16_t buttons_ = 0;
    // A replay asked for with L: the untagged one first, then the tagged one.
    enum class Replay { None, Untagged, Tagged };
    Replay replay_ = Replay::None;
    bool fromPowerOn_ = false;  // the runs are from power-on, not a replay of play
    std::vector<PaletteHit> candidates_;
    TraceMessage untagged_;
    LiveTags tags_;
};

}  // namespace tintwright
