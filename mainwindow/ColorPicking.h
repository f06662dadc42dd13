#pragma once

// Taking a colour from elsewhere and making it current: from the picker
// picture (a press, or a drag with the left button held), from the system
// colour dialog, and from the screen under the pointer, which the tracker
// looks at on every tick of the 50 ms timer.

#include <optional>

#include "editor/ColorEditor.h"
#include "editor/PaletteView.h"
#include "window/WindowSystem.h"

namespace tintwright {

// The pick rectangle in main-window client pixels, all bounds exclusive: the
// picker's columns 1 to 319 (column 0 is never picked) and its 120 rows.
inline constexpr int kPickLeft = 276;
inline constexpr int kPickRight = 596;
inline constexpr int kPickTop = 1;
inline constexpr int kPickBottom = 122;

// What the system colour dialog is asked for: 16 white custom colours made
// afresh each time, opened in full, not started at the current colour.
ColorDialogRequest SystemColorRequest();

class ColorPicking {
public:
    ColorPicking(WindowSystem& windowSystem, PaletteView& view, ColorEditor& colors)
        : windowSystem_(windowSystem), view_(view), colors_(colors) {}

    // A left press anywhere no control takes it: the mouse is captured and a
    // drag begins, which picks wherever it passes over the picture.
    void StartDrag(Point client);
    void OnMouseMove(Point client);
    void EndDrag();
    // Picks the picture's pixel under a main-window client position, if any.
    void PickImageColor(Point client);

    // The colour chosen in the system dialog, or nothing when it is cancelled
    // or fails.
    std::optional<RgbColor> AskSystemColor();
    // "Color Pick": a chosen colour becomes current; a cancelled dialog leaves
    // the colour the user had.
    void PickSystemColor();
    // "Track Cursor Color": only whether "?" is drawn, from the next paint on.
    void OnTrackingBoxClicked();
    // One tick: the marker moves to the first cell whose cached colour equals
    // the screen pixel under the pointer, and a left-Control press since the
    // last tick makes that pixel current.
    void TrackScreenColor();

private:
    WindowSystem& windowSystem_;
    PaletteView& view_;
    ColorEditor& colors_;
    bool dragging_ = false;
};

}  // namespace tintwright
