// Colours taken from the picker picture, the system colour dialog and the
// screen under the pointer.

#include <gtest/gtest.h>

#include "mainwindow/ColorPicking.h"
#include "tests/support/EditorFixture.h"
#include "window/ControlIds.h"

namespace tintwright {
namespace {

using testing::EditorFixture;
using testing::IndexedRomBytes;

class ColorPickingTest : public EditorFixture {
protected:
    void SetUp() override {
        EditorFixture::SetUp();
        fake.controlOrigins[ids::kPickerImage] = {276, 2};
        // Every picture pixel tells where it was read: red = column, green = row.
        fake.controlPixel = [](int id, Point at) {
            EXPECT_EQ(id, ids::kPickerImage);
            return MakeRgbColor(static_cast<std::uint8_t>(at.x), static_cast<std::uint8_t>(at.y), 7);
        };
    }
    RgbColor Current() { return window->Colors().CurrentColor(); }
    void PointerOver(RgbColor pixel) {
        fake.cursor = {1000, 700};
        fake.screenPixels[{1000, 700}] = pixel;
    }
};

TEST_F(ColorPickingTest, APressInsideThePickRectanglePicksThePicturePixelUnderIt) {
    StartEditor(IndexedRomBytes(0x400));
    const struct {
        Point press;
        std::optional<RgbColor> picked;
    } rows[] = {
        {{277, 2}, MakeRgbColor(1, 0, 7)},
        {{595, 121}, MakeRgbColor(63, 119, 7)},  // column 319 wraps in red
        {{276, 50}, {}},
        {{596, 50}, {}},
        {{300, 1}, {}},
        {{300, 122}, {}},
    };
    for (const auto& row : rows) {
        const RgbColor before = Current();
        fake.focusedControl = 0;
        window->OnLeftButtonDown(row.press);
        EXPECT_TRUE(fake.mouseCaptured) << "a press always captures";
        EXPECT_EQ(Current(), row.picked.value_or(before)) << row.press.x << "," << row.press.y;
        EXPECT_EQ(fake.focusedControl, row.picked ? ids::kPickerImage : 0);
        window->OnLeftButtonUp({700, 10});
        EXPECT_FALSE(fake.mouseCaptured);
    }
    EXPECT_EQ(RgbBoxes(), (std::vector<std::string>{"63", "119", "7"})) << "picked colours are not reduced";
}

TEST_F(ColorPickingTest, ADragPicksWhereverItPassesAndAReleaseOverTheStripSelectsThere) {
    StartEditor(IndexedRomBytes(0x400));
    window->OnMouseMove({300, 50});
    EXPECT_EQ(Current(), 0u) << "no button held, nothing picked";
    window->OnLeftButtonDown({10, 10});
    window->OnMouseMove({300, 50});
    EXPECT_EQ(Current(), MakeRgbColor(24, 48, 7));
    window->OnMouseMove({-20, -40});
    EXPECT_EQ(Current(), MakeRgbColor(24, 48, 7)) << "left of and above the window picks nothing";
    window->OnLeftButtonUp({130, 250});
    EXPECT_EQ(window->View().Selection(), 3u);
    EXPECT_EQ(Current(), ToRgbColor(0x0083)) << "the cell's colour replaces the picked one";
    window->OnMouseMove({300, 60});
    EXPECT_EQ(Current(), ToRgbColor(0x0083));
}

TEST_F(ColorPickingTest, TheColorDialogGivesItsColorUnreducedAndCancelKeepsTheColorTyped) {
    StartEditor(IndexedRomBytes(0x400));
    fake.AnswerColorDialog(MakeRgbColor(13, 200, 77));
    Command(ids::kColorPickButton);
    EXPECT_EQ(RgbBoxes(), (std::vector<std::string>{"13", "200", "77"}));
    ASSERT_EQ(fake.colorDialogsShown.size(), 1u);
    for (const RgbColor custom : fake.colorDialogsShown[0].customColors) EXPECT_EQ(custom, 0xFFFFFFu);
    EXPECT_TRUE(fake.colorDialogsShown[0].fullOpen);

    // Mended: Cancel used to make black current, throwing the typed colour away.
    TypeRgb("1", "2", "3");
    window->OnEditKeyUp(ids::kRedEdit);
    fake.AnswerColorDialog(std::nullopt);
    Command(ids::kColorPickButton);
    EXPECT_EQ(Current(), MakeRgbColor(1, 2, 3));
    EXPECT_EQ(RgbBoxes(), (std::vector<std::string>{"1", "2", "3"}));
}

TEST_F(ColorPickingTest, TheTrackerMarksTheFirstCellOfTheScreenColorWhateverTheFlag) {
    std::vector<std::uint8_t> rom(0x400, 0x21);  // no cell white
    for (const int cell : {3, 9}) rom[0x100 + 2 * cell] = rom[0x101 + 2 * cell] = 0xFF;
    StartEditor(rom);
    const struct {
        const char* name;
        RgbColor pixel;
        std::uint32_t marker;
        bool redrawn;
    } ticks[] = {
        {"first equal cell", 0xF8F8F8, 3, true},        {"same cell again", 0xF8F8F8, 3, false},
        {"no cell of that colour", 0x123456, 3, false}, {"one low bit off never matches", 0xF9F8F8, 3, false},
        {"another cell", ToRgbColor(0x2121), 0, true},
    };
    for (const auto& tick : ticks) {
        PointerOver(tick.pixel);
        const int paints = fake.Control(ids::kStrip).invalidations;
        window->OnTimer();
        EXPECT_EQ(window->View().TrackingMarker(), tick.marker) << tick.name;
        EXPECT_EQ(fake.Control(ids::kStrip).invalidations, paints + (tick.redrawn ? 1 : 0)) << tick.name;
    }
    EXPECT_EQ(Current(), 0u) << "without left Control nothing is taken";

    fake.controls[ids::kTrackCheckBox].checked = true;
    const int paints = fake.Control(ids::kStrip).invalidations;
    Command(ids::kTrackCheckBox);
    EXPECT_TRUE(window->View().TrackingFlag());
    EXPECT_EQ(fake.Control(ids::kStrip).invalidations, paints) << "nothing is repainted at once";
}

TEST_F(ColorPickingTest, LeftControlTakesThePixelUnreducedAndTheFailureValueMatchesNoColor) {
    StartEditor(IndexedRomBytes(0x110));  // cells 8 to 31 hold no colour
    PointerOver(0x00F9F8F7);
    fake.leftControlPresses = {true, false};
    window->OnTimer();
    EXPECT_EQ(Current(), 0x00F9F8F7u);
    EXPECT_EQ(RgbBoxes(), (std::vector<std::string>{"247", "248", "249"}));
    PointerOver(0x00000001);
    window->OnTimer();
    EXPECT_EQ(Current(), 0x00F9F8F7u) << "no press since the last tick";

    PointerOver(kNoColor);  // what an unreadable screen gives
    window->OnTimer();
    EXPECT_EQ(window->View().TrackingMarker(), 8u);
}

}  // namespace
}  // namespace tintwright
