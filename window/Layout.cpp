#include "window/Layout.h"

#include <algorithm>

#include "window/ControlIds.h"

namespace tintwright {
namespace {

using K = ControlKind;
using namespace style;

constexpr std::uint32_t kLabelStyles = kDisabled | kCenterImage;

constexpr ControlEntry kMainControls[] = {
    {ids::kLocationList,
     K::ListBox,
     "",
     {0, 0, 182, 121},
     kSorted | kNotify | kVerticalScroll | kNoIntegralHeight | kClientEdge},
    {ids::kColorPickButton, K::PushButton, "Color Pick", {408, 1, 40, 9}, kNone},
    {ids::kPickerImage, K::BitmapStatic, "", {184, 1, 205, 75}, kNone},
    {ids::kRedEdit, K::Edit, "", {304, 79, 50, 13}, kClientEdge},
    {ids::kGreenEdit, K::Edit, "", {304, 94, 50, 13}, kClientEdge},
    {ids::kBlueEdit, K::Edit, "", {304, 108, 50, 13}, kClientEdge},
    {ids::kRedLabel, K::Static, "R", {294, 79, 10, 13}, kCentered | kCenterImage},
    {ids::kGreenLabel, K::Static, "G", {294, 94, 10, 13}, kCentered | kCenterImage},
    {ids::kBlueLabel, K::Static, "B", {294, 108, 10, 13}, kCentered | kCenterImage},
    {ids::kCurrentSwatch, K::Static, "", {232, 79, 56, 41}, kSunken | kCenterImage},
    {ids::kStoreColorButton, K::PushButton, "<", {218, 81, 12, 17}, kNone},
    {ids::kStoredSwatch, K::Static, "", {184, 79, 30, 41}, kSunken},
    {ids::kRecallColorButton, K::PushButton, ">", {218, 99, 12, 17}, kNone},
    {ids::kForwardEightButton, K::PushButton, ">>", {486, 140, 16, 26}, kNone},
    {ids::kBackEightButton, K::PushButton, "<<", {2, 140, 16, 26}, kNone},
    {ids::kForwardOneButton, K::PushButton, ">", {468, 140, 16, 26}, kNone},
    {ids::kStatusLine, K::Static, "", {80, 179, 346, 11}, kDisabled | kCentered | kCenterImage},
    {ids::kStrip, K::Static, "", {40, 140, 426, 28}, kNone},
    {ids::kBackOneButton, K::PushButton, "<", {20, 140, 16, 26}, kNone},
    {ids::kApplyButton, K::PushButton, "Apply", {394, 123, 68, 12}, kNone},
    {ids::kOffsetBox, K::Edit, "", {0, 121, 118, 15}, kClientEdge},
    {ids::kGotoButton, K::PushButton, "Goto", {120, 123, 24, 11}, kNone},
    {ids::kRedSlider, K::Slider, "", {358, 79, 142, 13}, kNone},
    {ids::kGreenSlider, K::Slider, "", {358, 94, 142, 13}, kNone},
    {ids::kBlueSlider, K::Slider, "", {358, 108, 142, 13}, kNone},
    {ids::kMinusButton, K::PushButton, "-", {360, 123, 26, 11}, kNone},
    {ids::kPlusButton, K::PushButton, "+", {474, 123, 26, 11}, kNone},
    {ids::kTrackCheckBox, K::CheckBox, "Track Cursor Color", {430, 179, 72, 9}, kNone},
    {ids::kFindNextButton, K::PushButton, "Find Next", {400, 25, 62, 13}, kNone},
    {ids::kFindFirstButton, K::PushButton, "Find First", {400, 12, 62, 13}, kNone},
    {ids::kCurrentButton, K::PushButton, "Current", {144, 123, 36, 11}, kFlat},
    {ids::kResultBelowLabel, K::Static, "^ Search result here", {258, 168, 94, 8}, kLabelStyles},
    {ids::kResultAboveLabel, K::Static, " v Search result here", {256, 131, 94, 8}, kLabelStyles},
};

constexpr ControlEntry kLocationControls[] = {
    {ids::kDialogNameField, K::Edit, "", {4, 5, 258, 17}, kStaticEdge},
    {ids::kDialogOffsetField, K::Edit, "", {4, 25, 258, 17}, kStaticEdge},
    {ids::kDialogConfirmButton, K::PushButton, "Ok", {262, 49, 56, 13}, kNone},
    {ids::kDialogCleanButton, K::PushButton, "Clean", {266, 9, 48, 11}, kNone},
};

constexpr MenuItemEntry kFileItems[] = {
    {ids::kOpen, "Open"},
    {ids::kSave, "Save"},
    {ids::kSaveAs, "Save as"},
    {ids::kSaveAndRun, "Save and Run"},
    {0, ""},
    {ids::kReloadSource, "Reload Source"},
    {0, ""},
    {ids::kExit, "E&xit"},
};

constexpr MenuItemEntry kToolsItems[] = {
    {ids::kGradientFill, "Gradient Fill"},          {0, ""},
    {ids::kUndoSelected, "Undo Selected"},          {ids::kUndoViewArea, "Undo View Area"},
    {ids::kUndoAll, "Undo All (Reload)"},           {0, ""},
    {ids::kUpdateUndoBuffer, "Update Undo Buffer"},
};

constexpr MenuItemEntry kLocationsItems[] = {
    {ids::kAddAddress, "Add Address"},
    {ids::kEditAddress, "Edit Address"},
    {ids::kRemoveAddress, "Remove Address"},
};

constexpr MenuItemEntry kHelpItems[] = {
    {ids::kAbout, "&About"},
    {ids::kShowFileSettings, "Show File Settings"},
};

constexpr MenuPopupEntry kMenuBar[] = {
    {0, "&File", kFileItems},
    {ids::kToolsPopup, "Tools", kToolsItems},
    {ids::kLocationsPopup, "Locations", kLocationsItems},
    {0, "&Help", kHelpItems},
};

}  // namespace

PixelRect ControlPixelRect(const ControlEntry& control) {
    const int x = HorizontalUnitsToPixels(control.units.x);
    const int y = VerticalUnitsToPixels(control.units.y);
    return {x, y, x + HorizontalUnitsToPixels(control.units.width),
            y + VerticalUnitsToPixels(control.units.height)};
}

std::span<const ControlEntry> MainWindowControls() {
    return kMainControls;
}

const ControlEntry* FindMainWindowControl(int id) {
    const auto controls = MainWindowControls();
    const auto found = std::find_if(controls.begin(), controls.end(),
                                    [id](const ControlEntry& control) { return control.id == id; });
    return found == controls.end() ? nullptr : &*found;
}

std::span<const ControlEntry> LocationDialogControls() {
    return kLocationControls;
}

std::span<const MenuPopupEntry> MenuBar() {
    return kMenuBar;
}

}  // namespace tintwright
