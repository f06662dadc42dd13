#pragma once

// The commands that write the current colour into the working copy, take
// colours back from the undo copy and search the ROM for the current colour.
// Each ends with the strip showing what the working copy now holds.

#include <string_view>

#include "core/RomImage.h"
#include "editor/ColorEditor.h"
#include "editor/PaletteView.h"
#include "window/WindowSystem.h"

namespace tintwright {

inline constexpr std::string_view kUpdateUndoText = "Update Undo Buffer?";
inline constexpr std::string_view kUpdateUndoCaption = "Buffer Update";

class ColorCommands {
public:
    ColorCommands(WindowSystem& windowSystem, RomImage& rom, PaletteView& view, ColorEditor& colors)
        : windowSystem_(windowSystem), rom_(rom), view_(view), colors_(colors) {}

    // "Apply": the current colour into the selected word.
    void Apply();
    void UndoSelected();
    void UndoViewArea();
    // Asks first; only Yes makes the whole working copy the new undo state.
    void UpdateUndoBuffer();
    // The current colour searched from the word after cell 16 onwards; a match
    // is shown in cell 16. FindFirst searches from the start of the file.
    void FindFirst();
    void FindNext();

private:
    // False when the boxes hold no colour, so nothing was searched or shown.
    bool SearchFromView();

    WindowSystem& windowSystem_;
    RomImage& rom_;
    PaletteView& view_;
    ColorEditor& colors_;
};

}  // namespace tintwright
