#pragma once

// Files dropped onto the main window, told apart by their content: a palette
// file dropped onto the strip is offered for writing at the view's first
// cell; a save state, a CGRAM dump, or a palette file dropped anywhere else is
// searched for in the ROM. Anything else is refused with the reader's reason.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/RomImage.h"
#include "editor/PaletteView.h"
#include "mainwindow/CaptureSearch.h"
#include "window/WindowSystem.h"

namespace tintwright {

inline constexpr std::string_view kPaletteFileCaption = "Palette File";
inline constexpr std::string_view kDroppedFileCaption = "Dropped File";

class FileDrop {
public:
    FileDrop(WindowSystem& windowSystem, RomImage& rom, PaletteView& view, CaptureSearch& search)
        : windowSystem_(windowSystem), rom_(rom), view_(view), search_(search) {}

    // paths are the 8-bit file names the window system handed over; client is
    // where the drop happened, in main-window client pixels.
    void OnFilesDropped(const std::vector<std::string>& paths, Point client);
    // As a file dropped anywhere but the strip.
    void SearchFile(const std::string& path) { DropFile(path, false); }

private:
    void DropFile(const std::string& path, bool ontoStrip);
    // Asks "Write the N colours of FILE at OFFSET?"; Yes writes those that fit
    // before the end of the ROM into the working copy.
    void OfferPaletteWrite(const std::string& fileName, std::span<const std::uint16_t> colors);
    void Warn(const std::string& text);

    WindowSystem& windowSystem_;
    RomImage& rom_;
    PaletteView& view_;
    CaptureSearch& search_;
};

}  // namespace tintwright
