#pragma once

// The main window's layout, the location dialog's layout and the menu bar as
// data. Both front ends, the resource script generator and the tests read them
// from here, so no id, caption or rectangle is typed twice.

#include <cstdint>
#include <span>
#include <string_view>

#include "window/Version.h"
#include "window/WindowSystem.h"

namespace tintwright {

inline constexpr std::string_view kMainWindowCaption =
    "Tintwright v" TINTWRIGHT_VERSION " - Snes Rom Pallette Editor";
inline constexpr std::string_view kMainWindowClass = "DLGCLASS";
inline constexpr std::string_view kDialogFontName = "MS Sans Serif";
inline constexpr int kDialogFontPoints = 8;
inline constexpr int kClientWidthPixels = 758;
inline constexpr int kClientHeightPixels = 332;
inline constexpr int kClientWidthUnits = 505;
inline constexpr int kClientHeightUnits = 204;

enum class ControlKind { ListBox, PushButton, Static, BitmapStatic, Edit, Slider, CheckBox };

// Styles a control needs beyond what its kind implies.
namespace style {
inline constexpr std::uint32_t kNone = 0;
inline constexpr std::uint32_t kSorted = 1u << 0;            // LBS_SORT
inline constexpr std::uint32_t kNotify = 1u << 1;            // LBS_NOTIFY
inline constexpr std::uint32_t kVerticalScroll = 1u << 2;    // WS_VSCROLL
inline constexpr std::uint32_t kNoIntegralHeight = 1u << 3;  // LBS_NOINTEGRALHEIGHT
inline constexpr std::uint32_t kClientEdge = 1u << 4;        // WS_EX_CLIENTEDGE
inline constexpr std::uint32_t kSunken = 1u << 5;            // SS_SUNKEN
inline constexpr std::uint32_t kCentered = 1u << 6;          // SS_CENTER
inline constexpr std::uint32_t kCenterImage = 1u << 7;       // SS_CENTERIMAGE
inline constexpr std::uint32_t kDisabled = 1u << 8;          // WS_DISABLED
inline constexpr std::uint32_t kFlat = 1u << 9;              // BS_FLAT
inline constexpr std::uint32_t kStaticEdge = 1u << 10;       // WS_EX_STATICEDGE (dialog fields)
inline constexpr std::uint32_t kHidden = 1u << 11;           // created without WS_VISIBLE
}  // namespace style

struct DialogUnitRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

struct ControlEntry {
    int id;
    ControlKind kind;
    std::string_view caption;
    DialogUnitRect units;
    std::uint32_t styles;
};

// Dialog units to pixels under 8-point "MS Sans Serif" at 96 dpi (6 x 13 base
// units); halves round up. Positions and sizes are converted separately.
constexpr int HorizontalUnitsToPixels(int units) {
    return (6 * units + 2) / 4;
}
constexpr int VerticalUnitsToPixels(int units) {
    return (13 * units + 4) / 8;
}

// x, y, width and height in pixels packed as a rectangle (right = x + width).
PixelRect ControlPixelRect(const ControlEntry& control);

// The 33 controls of template 1000, in template order (the order of creation).
std::span<const ControlEntry> MainWindowControls();
const ControlEntry* FindMainWindowControl(int id);

// Template 8000: its size and the dialog's four controls.
inline constexpr std::string_view kLocationDialogCaption = "Add new location";
inline constexpr DialogUnitRect kLocationDialogUnits{6, 6, 319, 64};
std::span<const ControlEntry> LocationDialogControls();

// Menu 10000. A separator has id 0 and an empty caption.
struct MenuItemEntry {
    int id;
    std::string_view caption;
    bool IsSeparator() const { return id == 0 && caption.empty(); }
};

struct MenuPopupEntry {
    int id;  // 0 where the popup carries no id
    std::string_view caption;
    std::span<const MenuItemEntry> items;
};

std::span<const MenuPopupEntry> MenuBar();

}  // namespace tintwright
