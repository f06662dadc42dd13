#include <gtest/gtest.h>

#include <set>

#include "window/ControlIds.h"
#include "window/Layout.h"

namespace tintwright {
namespace {

// The window as users know it, in pixels at 96 dpi, in template order.
struct PlacedControl {
    int id;
    PixelRect pixels;  // left, top, right, bottom
};

PixelRect Rect(int x, int y, int width, int height) {
    return {x, y, x + width, y + height};
}

TEST(Layout, EveryControlSitsAtItsPixelRectangleInTemplateOrder) {
    const PlacedControl expected[] = {
        {1099, Rect(0, 0, 273, 197)},    {1068, Rect(612, 2, 60, 15)},    {1069, Rect(276, 2, 308, 122)},
        {1070, Rect(456, 128, 75, 21)},  {1071, Rect(456, 153, 75, 21)},  {1072, Rect(456, 176, 75, 21)},
        {1073, Rect(441, 128, 15, 21)},  {1074, Rect(441, 153, 15, 21)},  {1075, Rect(441, 176, 15, 21)},
        {1076, Rect(348, 128, 84, 67)},  {1077, Rect(327, 132, 18, 28)},  {1078, Rect(276, 128, 45, 67)},
        {1079, Rect(327, 161, 18, 28)},  {1001, Rect(729, 228, 24, 42)},  {1002, Rect(3, 228, 24, 42)},
        {1005, Rect(702, 228, 24, 42)},  {1006, Rect(120, 291, 519, 18)}, {1009, Rect(60, 228, 639, 46)},
        {1004, Rect(30, 228, 24, 42)},   {1007, Rect(591, 200, 102, 20)}, {1008, Rect(0, 197, 177, 24)},
        {1010, Rect(180, 200, 36, 18)},  {1011, Rect(537, 128, 213, 21)}, {1012, Rect(537, 153, 213, 21)},
        {1013, Rect(537, 176, 213, 21)}, {1003, Rect(540, 200, 39, 18)},  {1015, Rect(711, 200, 39, 18)},
        {1016, Rect(645, 291, 108, 15)}, {1898, Rect(600, 41, 93, 21)},   {1897, Rect(600, 20, 93, 21)},
        {1014, Rect(216, 200, 54, 18)},  {1021, Rect(387, 273, 141, 13)}, {1017, Rect(384, 213, 141, 13)},
    };
    const auto controls = MainWindowControls();
    ASSERT_EQ(controls.size(), std::size(expected));
    for (std::size_t i = 0; i < controls.size(); ++i) {
        EXPECT_EQ(controls[i].id, expected[i].id) << "position " << i;
        EXPECT_EQ(ControlPixelRect(controls[i]), expected[i].pixels) << "control " << controls[i].id;
    }
    EXPECT_EQ(HorizontalUnitsToPixels(kClientWidthUnits), kClientWidthPixels);
    EXPECT_EQ(VerticalUnitsToPixels(kClientHeightUnits), kClientHeightPixels);
}

TEST(Layout, TheMouseConstantsLineUpWithTheStripAndThePicker) {
    const PixelRect strip = ControlPixelRect(*FindMainWindowControl(ids::kStrip));
    EXPECT_EQ(strip.left, 60);
    EXPECT_EQ(strip.top, 228);
    EXPECT_EQ(strip.top + 40, 268) << "the cells' bottom edge";
    const PixelRect picker = ControlPixelRect(*FindMainWindowControl(ids::kPickerImage));
    EXPECT_EQ(picker.left, 276);
    EXPECT_EQ(picker.top, 2);
    // The labels' arrows, their first visible characters, point at cell 16 (x 380..399).
    for (const int label : {ids::kResultBelowLabel, ids::kResultAboveLabel}) {
        const PixelRect rect = ControlPixelRect(*FindMainWindowControl(label));
        EXPECT_GE(rect.left, 380) << label;
        EXPECT_LT(rect.left, 390) << label;
    }
}

TEST(Layout, CaptionsAndStylesUsersSee) {
    std::map<int, std::string_view> captions;
    for (const ControlEntry& control : MainWindowControls()) captions[control.id] = control.caption;
    EXPECT_EQ(captions[1068], "Color Pick");
    EXPECT_EQ(captions[1016], "Track Cursor Color");
    EXPECT_EQ(captions[1021], "^ Search result here");
    EXPECT_EQ(captions[1017], " v Search result here");
    EXPECT_EQ(captions[1014], "Current");
    const ControlEntry& list = *FindMainWindowControl(ids::kLocationList);
    EXPECT_EQ(list.styles & (style::kSorted | style::kNotify), style::kSorted | style::kNotify);
    EXPECT_NE(FindMainWindowControl(ids::kStatusLine)->styles & style::kDisabled, 0u);
    EXPECT_NE(FindMainWindowControl(ids::kCurrentButton)->styles & style::kFlat, 0u);
}

TEST(Layout, MenuBarPopupsItemsAndSeparatorsInOrder) {
    struct Expected {
        std::string_view popup;
        int popupId;
        std::vector<std::pair<int, std::string_view>> items;
    };
    const Expected expected[] = {
        {"&File",
         0,
         {{1017, "Open"},
          {2567, "Save"},
          {1018, "Save as"},
          {2101, "Save and Run"},
          {0, ""},
          {10003, "Reload Source"},
          {0, ""},
          {10001, "E&xit"}}},
        {"Tools",
         10005,
         {{10009, "Gradient Fill"},
          {0, ""},
          {10006, "Undo Selected"},
          {10007, "Undo View Area"},
          {10008, "Undo All (Reload)"},
          {0, ""},
          {10010, "Update Undo Buffer"}}},
        {"Locations", 10012, {{10004, "Add Address"}, {10013, "Edit Address"}, {10011, "Remove Address"}}},
        {"&Help", 0, {{10101, "&About"}, {10002, "Show File Settings"}}},
    };
    const auto menu = MenuBar();
    ASSERT_EQ(menu.size(), std::size(expected));
    for (std::size_t p = 0; p < menu.size(); ++p) {
        EXPECT_EQ(menu[p].caption, expected[p].popup);
        EXPECT_EQ(menu[p].id, expected[p].popupId);
        ASSERT_EQ(menu[p].items.size(), expected[p].items.size()) << expected[p].popup;
        for (std::size_t i = 0; i < menu[p].items.size(); ++i) {
            EXPECT_EQ(menu[p].items[i].id, expected[p].items[i].first);
            EXPECT_EQ(menu[p].items[i].caption, expected[p].items[i].second);
            EXPECT_EQ(menu[p].items[i].IsSeparator(), expected[p].items[i].first == 0);
        }
    }
}

TEST(Layout, LocationDialogFieldsAndButtons) {
    std::set<int> seen;
    for (const ControlEntry& control : LocationDialogControls()) seen.insert(control.id);
    EXPECT_EQ(seen, (std::set<int>{1001, 1002, 1020, 1021}));
    EXPECT_EQ(LocationDialogControls()[2].caption, "Ok");
    EXPECT_EQ(LocationDialogControls()[3].caption, "Clean");
}

}  // namespace
}  // namespace tintwright
