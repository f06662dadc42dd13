#pragma once

// The window of 32 colour words the editor shows, its three markers and the
// commands that move it.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "core/RomImage.h"
#include "editor/ColorEditor.h"
#include "window/WindowSystem.h"

namespace tintwright {

inline constexpr int kViewCells = 32;
inline constexpr std::int32_t kWheelNotch = 120;

// Reads hexadecimal the forgiving way offsets have always been typed: any
// character gives some digit, and the empty text gives 0.
std::uint32_t ParseHex(std::string_view text);

// "Editing Offset : %08lX - In Snes Rgb %lu,%lu,%lu".
std::string FormatStatusLine(std::uint32_t selectedOffset, RgbColor currentColor);

// Listens to the working copy while the main window shows it: a change that
// touches one of its 32 cells, or a new file, is re-read and repainted.
class PaletteView final : public WorkingCopyListener {
public:
    PaletteView(WindowSystem& windowSystem, const RomImage& rom, const ColorEditor& colors)
        : windowSystem_(windowSystem), rom_(rom), colors_(colors) {}

    void WorkingCopyChanged(std::uint32_t offset, std::uint32_t count) override;
    void WorkingCopyReplaced() override { Refresh(); }

    // Re-reads the 32 words at offset, repaints the strip and the status line.
    void RefreshView(std::int32_t offset);
    // RefreshView at the current view offset, which is what every caller wants.
    void Refresh() { RefreshView(viewOffset_); }
    std::uint32_t SelectedOffset() const;
    void UpdateStatusLine();
    void GoToOffset();
    // Moves the view by a number of bytes and shows it.
    void MoveView(std::int32_t bytes);
    void OnMouseWheel(std::int16_t delta);
    void OnXButtonUp(int button);
    // Puts the selected offset into the offset box.
    void ShowSelectedOffset();

    std::int32_t ViewOffset() const { return viewOffset_; }
    // Moves the view without redrawing it; the caller refreshes when it should.
    void SetViewOffset(std::int32_t offset) { viewOffset_ = offset; }
    // The colours last read by RefreshView; stale until the next refresh.
    const std::array<RgbColor, kViewCells>& ColorCache() const { return colorCache_; }

    std::uint32_t Selection() const { return selection_; }
    std::uint32_t Anchor() const { return anchor_; }
    // The old selection becomes the anchor. A cell outside the strip changes
    // nothing and gives false, so both cursors always name one of the 32 cells.
    bool SelectCell(std::uint32_t cell);
    void SwapCursors() { std::swap(selection_, anchor_); }

    std::uint32_t TrackingMarker() const { return trackingMarker_; }
    bool SetTrackingMarker(std::uint32_t cell);  // false outside the strip
    bool TrackingFlag() const { return trackingFlag_; }
    void SetTrackingFlag(bool on) { trackingFlag_ = on; }

private:
    std::int32_t viewOffset_ = 0x100;  // may be odd, negative or past the end
    std::array<RgbColor, kViewCells> colorCache_{};
    std::uint32_t selection_ = 16;
    std::uint32_t anchor_ = 16;
    std::uint32_t trackingMarker_ = 16;
    bool trackingFlag_ = false;
    WindowSystem& windowSystem_;
    std::int32_t pendingWheelDelta_ = 0;  // less than a notch, waiting for more
    const RomImage& rom_;
    const ColorEditor& colors_;
};

}  // namespace tintwright
