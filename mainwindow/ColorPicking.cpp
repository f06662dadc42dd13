#include "mainwindow/ColorPicking.h"

#include <cstdint>

#include "window/ControlIds.h"

namespace tintwright {
namespace {

constexpr RgbColor kWhite = 0x00FFFFFF;

// A captured mouse left of or above the window reports negative positions;
// read as unsigned 16-bit numbers they become large and miss the picture.
bool InPickRectangle(Point client) {
    const int x = static_cast<std::uint16_t>(client.x);
    const int y = static_cast<std::uint16_t>(client.y);
    return x > kPickLeft && x < kPickRight && y > kPickTop && y < kPickBottom;
}

}  // namespace

ColorDialogRequest SystemColorRequest() {
    ColorDialogRequest request;
    request.customColors.fill(kWhite);
    request.fullOpen = true;
    return request;
}

void ColorPicking::StartDrag(Point client) {
    windowSystem_.SetMouseCapture(true);
    dragging_ = true;
    PickImageColor(client);
}

void ColorPicking::OnMouseMove(Point client) {
    if (dragging_) PickImageColor(client);
}

void ColorPicking::EndDrag() {
    dragging_ = false;
    windowSystem_.SetMouseCapture(false);
}

void ColorPicking::PickImageColor(Point client) {
    if (!InPickRectangle(client)) return;
    const Point inPicker = windowSystem_.MapMainClientToControl(ids::kPickerImage, client);
    colors_.SetCurrentColor(windowSystem_.ControlPixel(ids::kPickerImage, inPicker));
    // Away from any box the user was typing in.
    windowSystem_.SetFocus(ids::kPickerImage);
}

std::optional<RgbColor> ColorPicking::AskSystemColor() {
    return windowSystem_.ShowColorDialog(SystemColorRequest());
}

void ColorPicking::PickSystemColor() {
    if (const std::optional<RgbColor> chosen = AskSystemColor()) colors_.SetCurrentColor(*chosen);
}

void ColorPicking::OnTrackingBoxClicked() {
    view_.SetTrackingFlag(windowSystem_.IsChecked(ids::kTrackCheckBox));
}

// The failure value of an unreadable pixel is compared and taken like any
// other: it equals the no-colour value of cells outside the file.
void ColorPicking::TrackScreenColor() {
    const RgbColor pixel = windowSystem_.ScreenPixel(windowSystem_.CursorScreenPosition());
    const auto& cache = view_.ColorCache();
    for (std::uint32_t cell = 0; cell < cache.size(); ++cell) {
        if (cache[cell] != pixel) continue;
        if (cell != view_.TrackingMarker()) {
            view_.SetTrackingMarker(cell);
            view_.Refresh();
        }
        break;
    }
    if (windowSystem_.LeftControlPressedSinceLastCall()) colors_.SetCurrentColor(pixel);
}

}  // namespace tintwright
