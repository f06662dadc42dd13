// Every colour edit done the way a user does it in the real window around the
// real logic: the strip, the boxes, the sliders, the buttons, the picker
// picture, the Tools menu and the colour dialog, checked on what the window
// shows and on the bytes of the working copy.

#include <QColorDialog>
#include <QCursor>
#include <QMenu>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <functional>

#include "frontends/qt/QtClientArea.h"
#include "frontends/qt/QtConversions.h"
#include "frontends/qt/QtMainWindow.h"
#include "resources/PickerImage.h"
#include "tests/qt/QtEditorFixture.h"
#include "window/ControlIds.h"

namespace tintwright::qt::testing {
namespace {

using QtColorEditingTest = QtEditorFixture;

// The colour the red, green and blue boxes hold.
QColor BoxesColor(const std::vector<std::string>& boxes) {
    return QColor(std::stoi(boxes[0]), std::stoi(boxes[1]), std::stoi(boxes[2]));
}

std::vector<std::string> PickedBoxes(int column, int row) {
    const Rgb8 pixel = PickerPixel(column, row);
    return {std::to_string(pixel.red), std::to_string(pixel.green), std::to_string(pixel.blue)};
}

// Presses on a slider's handle, drags it past one end of the groove and lets go.
void DragSliderHandle(QSlider* slider, bool toTheRight) {
    QStyleOptionSlider option;
    option.initFrom(slider);
    option.orientation = slider->orientation();
    option.minimum = slider->minimum();
    option.maximum = slider->maximum();
    option.sliderPosition = slider->sliderPosition();
    option.sliderValue = slider->value();
    const QPoint handle =
        slider->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider).center();
    const QPoint beyond(toTheRight ? slider->width() + 40 : -40, handle.y());
    QTest::mousePress(slider, Qt::LeftButton, Qt::NoModifier, handle);
    QTest::mouseMove(slider, beyond);
    QTest::mouseRelease(slider, Qt::LeftButton, Qt::NoModifier, beyond);
}

struct SelectRow {
    const char* place;
    QPoint client;
    const char* status;  // after the release
};

TEST_F(QtColorEditingTest, LeftReleaseOverTheStripSelectsTheCellUnderIt) {
    StartEditor();
    const SelectRow rows[] = {
        {"left edge of cell 0", {60, 229}, "Editing Offset : 00000100 - In Snes Rgb 0,4,0"},
        {"right edge of cell 31", {699, 267}, "Editing Offset : 0000013E - In Snes Rgb 31,4,0"},
        {"the frame row above the band", {300, 228}, "Editing Offset : 0000013E - In Snes Rgb 31,4,0"},
        {"left of the strip", {59, 250}, "Editing Offset : 0000013E - In Snes Rgb 31,4,0"},
    };
    for (const SelectRow& row : rows) {
        SCOPED_TRACE(row.place);
        Click(Qt::LeftButton, row.client);
        EXPECT_EQ(StatusLine(), row.status);
    }
    EXPECT_EQ(RgbBoxes(), (std::vector<std::string>{"248", "32", "0"})) << "the selected word is current";
    EXPECT_TRUE(Control(ids::kStrip)->hasFocus());
}

struct EditRow {
    const char* action;
    std::function<void()> act;
    std::vector<std::string> boxes;  // afterwards
    bool userMovesASlider;
};

TEST_F(QtColorEditingTest, BoxesSlidersAndStepsMakeTheColorCurrent) {
    StartEditor();
    const auto slider = [this](int id) { return ControlAs<QSlider>(id); };
    const EditRow rows[] = {
        {"typed, each value modulo 256", [&] { TypeRgb("300", "5", "246"); }, {"44", "5", "246"}, false},
        {"\"+\"", [&] { ClickControl(ids::kPlusButton); }, {"52", "13", "254"}, false},
        {"Left on the green slider",
         [&] { QTest::keyClick(slider(ids::kGreenSlider), Qt::Key_Left); },
         {"52", "12", "254"},
         true},
        {"End on the green slider",
         [&] { QTest::keyClick(slider(ids::kGreenSlider), Qt::Key_End); },
         {"52", "255", "254"},
         true},
        {"blue handle dragged past the left end",
         [&] { DragSliderHandle(slider(ids::kBlueSlider), false); },
         {"52", "255", "0"},
         true},
        {"red handle dragged past the right end",
         [&] { DragSliderHandle(slider(ids::kRedSlider), true); },
         {"255", "255", "0"},
         true},
    };
    for (const EditRow& row : rows) {
        SCOPED_TRACE(row.action);
        events->log.clear();
        row.act();
        ASSERT_EQ(RgbBoxes(), row.boxes);
        const QColor color = BoxesColor(row.boxes);
        EXPECT_EQ(ControlPixelColor(ids::kCurrentSwatch, QPoint(40, 30)), color);
        EXPECT_EQ(slider(ids::kRedSlider)->value(), color.red());
        EXPECT_EQ(slider(ids::kGreenSlider)->value(), color.green());
        EXPECT_EQ(slider(ids::kBlueSlider)->value(), color.blue());
        EXPECT_EQ(events->CountNamed("OnHScroll") > 0, row.userMovesASlider)
            << "sliders the logic moves stay silent";
    }
}

TEST_F(QtColorEditingTest, StoredSwatchTakesTheCurrentColorAndGivesItBack) {
    StartEditor();
    TypeRgb("248", "128", "0");
    EXPECT_EQ(ControlPixelColor(ids::kStoredSwatch, QPoint(20, 30)), QColor(Qt::black));
    ClickControl(ids::kStoreColorButton);
    EXPECT_EQ(ControlPixelColor(ids::kStoredSwatch, QPoint(20, 30)), QColor(248, 128, 0));
    TypeRgb("0", "0", "8");
    EXPECT_EQ(ControlPixelColor(ids::kCurrentSwatch, QPoint(40, 30)), QColor(0, 0, 8));
    ClickControl(ids::kRecallColorButton);
    EXPECT_EQ(ControlPixelColor(ids::kCurrentSwatch, QPoint(40, 30)), QColor(248, 128, 0));
    EXPECT_EQ(RgbBoxes(), (std::vector<std::string>{"248", "128", "0"}));
}

TEST_F(QtColorEditingTest, ApplyWritesTheWordAndShowsItAndUndoSelectedTakesItBack) {
    StartEditor();
    ClickCell(20);
    TypeRgb("248", "0", "128");
    ClickControl(ids::kApplyButton);
    EXPECT_EQ(WorkingWord(0x128), 0x401F);
    EXPECT_EQ(StripCellColor(20), QColor(248, 0, 128));
    EXPECT_EQ(StripCellColor(21), ToQColor(ToRgbColor(0x95))) << "only the selected word";

    ChooseMenuItem(ids::kToolsPopupIndex, "Undo Selected");
    EXPECT_EQ(WorkingWord(0x128), 0x94);
    EXPECT_EQ(StripCellColor(20), ToQColor(ToRgbColor(0x94)));
}

TEST_F(QtColorEditingTest, DragFromThePickerPicksOnTheWayAndSelectsTheCellItEndsOn) {
    StartEditor();
    const QPoint picker = Control(ids::kPickerImage)->pos();
    Press(Qt::LeftButton, picker + QPoint(100, 50));
    EXPECT_EQ(RgbBoxes(), PickedBoxes(100, 50));
    Move(picker + QPoint(224, 98));
    EXPECT_EQ(RgbBoxes(), PickedBoxes(224, 98));
    Move(QPoint(170, 250));  // over the strip: nothing to pick
    EXPECT_EQ(RgbBoxes(), PickedBoxes(224, 98));
    Release(Qt::LeftButton, QPoint(170, 250));
    EXPECT_EQ(StatusLine(), "Editing Offset : 0000010A - In Snes Rgb 5,4,0");
    EXPECT_EQ(RgbBoxes(), (std::vector<std::string>{"40", "32", "0"})) << "cell 5's word ends current";
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr) << "the release ends the capture";
}

TEST_F(QtColorEditingTest, RightReleaseOpensToolsAtThePointerAndItsGradientFillBlends) {
    StartEditor();
    ClickCell(4);
    TypeRgb("0", "0", "0");
    ClickControl(ids::kApplyButton);
    ClickCell(8);
    TypeRgb("0", "0", "248");
    ClickControl(ids::kApplyButton);

    const QPoint client(300, 250);
    const QPoint pointer = windowSystem->MainWindowWidget()->ClientArea()->mapToGlobal(client);
    QCursor::setPos(pointer);
    answerer.Expect([&](QWidget* shown) {
        auto* menu = qobject_cast<QMenu*>(shown);
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->title(), "Tools");
        EXPECT_EQ(menu->pos(), pointer);
        ClickMenuItem(shown, "Gradient Fill");
    });
    Click(Qt::RightButton, client);
    ASSERT_TRUE(answerer.AllAnswered());
    QCoreApplication::processEvents();
    const std::vector<std::uint16_t> blend{0x0000, 0x1C00, 0x3C00, 0x5C00, 0x7C00};
    for (int cell = 4; cell <= 8; ++cell) {
        SCOPED_TRACE(cell);
        EXPECT_EQ(WorkingWord(0x100 + 2 * cell), blend[cell - 4]);
        EXPECT_EQ(StripCellColor(cell), ToQColor(ToRgbColor(blend[cell - 4])));
    }
}

TEST_F(QtColorEditingTest, FindFirstShowsTheFirstMatchingWordInCell16) {
    StartEditor();
    TypeRgb("160", "136", "32");  // the word 0x1234, found at offset 0x2468
    ClickControl(ids::kFindFirstButton);
    EXPECT_EQ(StatusLine(), "Editing Offset : 00002468 - In Snes Rgb 20,17,4");
    EXPECT_EQ(StripCellColor(16), QColor(160, 136, 32));
    EXPECT_EQ(StripCellColor(17), ToQColor(ToRgbColor(0x1235)));
}

struct DialogRow {
    const char* answer;
    std::function<void(QColorDialog*)> act;
};

TEST_F(QtColorEditingTest, ColorDialogGivesTheColorUnreducedAndCancelKeepsTheCurrentOne) {
    StartEditor();
    TypeRgb("1", "2", "3");
    const DialogRow rows[] = {
        {"OK",
         [](QColorDialog* dialog) {
             dialog->setCurrentColor(QColor(13, 200, 77));
             dialog->accept();
         }},
        {"Cancel", [](QColorDialog* dialog) { dialog->reject(); }},
    };
    for (const DialogRow& row : rows) {
        SCOPED_TRACE(row.answer);
        answerer.Expect([&](QWidget* shown) {
            auto* dialog = qobject_cast<QColorDialog*>(shown);
            ASSERT_NE(dialog, nullptr);
            row.act(dialog);
        });
        ClickControl(ids::kColorPickButton);
        ASSERT_TRUE(answerer.AllAnswered());
        EXPECT_EQ(RgbBoxes(), (std::vector<std::string>{"13", "200", "77"}));
        EXPECT_EQ(ControlPixelColor(ids::kCurrentSwatch, QPoint(40, 30)), QColor(13, 200, 77));
    }
}

}  // namespace
}  // namespace tintwright::qt::testing
