// The main window as the user sees it: its controls and menus where the layout
// puts them, and what clicks, the wheel and the mouse do to the editor.

#include <QApplication>
#include <QCheckBox>
#include <QDropEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QUrl>

#include "core/SnesColor.h"
#include "frontends/qt/QtClientArea.h"
#include "frontends/qt/QtConversions.h"
#include "frontends/qt/QtMainWindow.h"
#include "frontends/qt/QtPickerPicture.h"
#include "frontends/qt/QtWidgetText.h"
#include "mainwindow/PaletteStrip.h"
#include "resources/PickerImage.h"
#include "tests/qt/QtEditorFixture.h"
#include "window/ControlIds.h"
#include "window/Layout.h"

namespace tintwright::qt::testing {
namespace {

using QtMainWindowTest = QtEditorFixture;

// What a widget of each kind of control must be.
bool HasKind(QWidget* widget, ControlKind kind) {
    switch (kind) {
        case ControlKind::ListBox:
            return qobject_cast<QListWidget*>(widget) != nullptr;
        case ControlKind::PushButton:
            return qobject_cast<QPushButton*>(widget) != nullptr;
        case ControlKind::Edit:
            return qobject_cast<QLineEdit*>(widget) != nullptr;
        case ControlKind::Slider:
            return qobject_cast<QSlider*>(widget) != nullptr;
        case ControlKind::CheckBox:
            return qobject_cast<QCheckBox*>(widget) != nullptr;
        case ControlKind::BitmapStatic:
            return qobject_cast<QtPickerPicture*>(widget) != nullptr;
        case ControlKind::Static:
            return widget != nullptr;
    }
    return false;
}

// The focus chain follows the order of creation; controls' own parts (a
// list's scroll bars) are passed over.
std::vector<int> ControlsInCreationOrder(QWidget* clientArea) {
    std::vector<int> order;
    for (QWidget* widget = clientArea->nextInFocusChain(); widget != clientArea;
         widget = widget->nextInFocusChain()) {
        if (widget->parentWidget() == clientArea) order.push_back(widget->objectName().toInt());
    }
    return order;
}

std::vector<int> TemplateOrder() {
    std::vector<int> order;
    for (const ControlEntry& entry : MainWindowControls()) order.push_back(entry.id);
    return order;
}

TEST_F(QtMainWindowTest, WindowHasItsCaptionIconAndFixedClientArea) {
    StartRecorderOnly();
    QtMainWindow* window = windowSystem->MainWindowWidget();
    EXPECT_EQ(window->windowTitle().toStdString(), kMainWindowCaption);
    EXPECT_EQ(window->ClientArea()->size(), QSize(758, 332));
    EXPECT_EQ(window->ClientArea()->y(), window->menuBar()->height());
    EXPECT_EQ(QApplication::focusWidget(), window->ClientArea()) << "no control has the focus at first";
    EXPECT_FALSE(window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowCloseButtonHint));
    const QList<QSize> iconSizes = window->windowIcon().availableSizes();
    EXPECT_TRUE(iconSizes.contains(QSize(16, 16)) && iconSizes.contains(QSize(32, 32)));

    const QRect strip = Control(ids::kStrip)->geometry();
    window->resize(window->width() + 200, window->height() + 100);
    QCoreApplication::processEvents();
    EXPECT_EQ(Control(ids::kStrip)->geometry(), strip) << "a larger window moves nothing";
}

TEST_F(QtMainWindowTest, EveryControlSitsAtItsPixelsWithItsCaptionInTemplateOrder) {
    StartRecorderOnly();
    for (const ControlEntry& entry : MainWindowControls()) {
        SCOPED_TRACE(entry.id);
        QWidget* widget = Control(entry.id);
        ASSERT_TRUE(HasKind(widget, entry.kind));
        QRect expected = ToQRect(ControlPixelRect(entry));
        if (entry.kind == ControlKind::BitmapStatic) expected.setSize(QSize(kPickerWidth, kPickerHeight));
        EXPECT_EQ(widget->geometry(), expected);
        EXPECT_EQ(WidgetText(widget).toStdString(), entry.caption);
        EXPECT_TRUE(widget->isVisible());
    }
    EXPECT_EQ(ControlsInCreationOrder(windowSystem->MainWindowWidget()->ClientArea()), TemplateOrder());
    EXPECT_FALSE(Control(ids::kStatusLine)->isEnabled());
    EXPECT_TRUE(Control(ids::kStrip)->testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_TRUE(Control(ids::kPickerImage)->testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_TRUE(ControlAs<QPushButton>(ids::kCurrentButton)->isFlat());
}

TEST_F(QtMainWindowTest, CaptionsFitTheirControls) {
    StartRecorderOnly();
    EXPECT_LE(Control(ids::kTrackCheckBox)->sizeHint().width(), Control(ids::kTrackCheckBox)->width());
    for (const ControlEntry& entry : MainWindowControls()) {
        QWidget* control = Control(entry.id);
        EXPECT_LE(control->fontMetrics().horizontalAdvance(WidgetText(control)), control->width() - 4)
            << entry.id;
    }
}

TEST_F(QtMainWindowTest, MenuBarFollowsTheMenuTableAndEveryItemSendsItsCommand) {
    StartRecorderOnly();
    const QList<QAction*> popups = windowSystem->MainWindowWidget()->menuBar()->actions();
    const auto table = MenuBar();
    ASSERT_EQ(popups.size(), static_cast<qsizetype>(table.size()));
    for (std::size_t p = 0; p < table.size(); ++p) {
        const QAction* popup = popups[static_cast<qsizetype>(p)];
        EXPECT_EQ(popup->text().toStdString(), table[p].caption);
        const QList<QAction*> items = popup->menu()->actions();
        ASSERT_EQ(items.size(), static_cast<qsizetype>(table[p].items.size()));
        for (std::size_t i = 0; i < table[p].items.size(); ++i) {
            QAction* item = items[static_cast<qsizetype>(i)];
            const MenuItemEntry& entry = table[p].items[i];
            SCOPED_TRACE(std::string(entry.caption));
            EXPECT_EQ(item->isSeparator(), entry.IsSeparator());
            if (entry.IsSeparator()) continue;
            EXPECT_EQ(item->text().toStdString(), entry.caption);
            EXPECT_TRUE(item->shortcut().isEmpty());
            item->trigger();
            EXPECT_EQ(events->Count("OnCommand", {entry.id, 0}), 0) << "delivered later";
            QCoreApplication::processEvents();
            EXPECT_EQ(events->Count("OnCommand", {entry.id, 0}), 1);
        }
    }
}

struct NavigationRow {
    int button;
    const char* status;
};

TEST_F(QtMainWindowTest, NavigationButtonsGotoAndTheWheelMoveTheView) {
    StartEditor();
    EXPECT_EQ(StatusLine(), "Editing Offset : 00000120 - In Snes Rgb 0,0,0");
    const NavigationRow rows[] = {
        {ids::kForwardEightButton, "Editing Offset : 00000130 - In Snes Rgb 0,0,0"},
        {ids::kForwardOneButton, "Editing Offset : 00000132 - In Snes Rgb 0,0,0"},
        {ids::kBackOneButton, "Editing Offset : 00000130 - In Snes Rgb 0,0,0"},
        {ids::kBackEightButton, "Editing Offset : 00000120 - In Snes Rgb 0,0,0"},
    };
    for (const NavigationRow& row : rows) {
        QTest::mouseClick(Control(row.button), Qt::LeftButton);
        EXPECT_EQ(StatusLine(), row.status) << row.button;
    }

    QTest::keyClicks(Control(ids::kOffsetBox), "$1F00");
    QTest::mouseClick(Control(ids::kGotoButton), Qt::LeftButton);
    EXPECT_EQ(StatusLine(), "Editing Offset : 00001F20 - In Snes Rgb 0,0,0");

    const QPoint overStrip(300, 250);
    Wheel(120, overStrip);
    EXPECT_EQ(StatusLine(), "Editing Offset : 00001F22 - In Snes Rgb 0,0,0");
    Wheel(-360, overStrip);
    EXPECT_EQ(StatusLine(), "Editing Offset : 00001F1C - In Snes Rgb 0,0,0");
    // A touchpad's small steps add up to one notch before anything moves.
    Wheel(60, overStrip);
    EXPECT_EQ(StatusLine(), "Editing Offset : 00001F1C - In Snes Rgb 0,0,0");
    Wheel(60, overStrip);
    EXPECT_EQ(StatusLine(), "Editing Offset : 00001F1E - In Snes Rgb 0,0,0");
    Wheel(-120, QPoint(740, 250));  // over ">>", which hands the wheel on
    EXPECT_EQ(StatusLine(), "Editing Offset : 00001F1C - In Snes Rgb 0,0,0");

    Click(Qt::ForwardButton, overStrip);
    EXPECT_EQ(StatusLine(), "Editing Offset : 00001F1E - In Snes Rgb 0,0,0");
    Click(Qt::BackButton, QPoint(700, 10));
    EXPECT_EQ(StatusLine(), "Editing Offset : 00001F1C - In Snes Rgb 0,0,0");
}

struct MouseRow {
    const char* place;
    QPoint client;
    bool reachesTheWindow;
};

TEST_F(QtMainWindowTest, MouseOverStaticsAndEmptySpaceArrivesInClientPixels) {
    StartRecorderOnly();
    const MouseRow rows[] = {
        {"strip cell 0", {60, 229}, true},    {"strip cell 31", {699, 267}, true},
        {"picker image", {277, 2}, true},     {"status line", {300, 300}, true},
        {"empty space", {700, 100}, true},    {"swatch", {350, 150}, true},
        {"button \">>\"", {740, 250}, false}, {"list", {100, 100}, false},
        {"slider", {600, 138}, false},
    };
    for (const MouseRow& row : rows) {
        SCOPED_TRACE(row.place);
        events->log.clear();
        const int x = row.client.x();
        const int y = row.client.y();
        Press(Qt::LeftButton, row.client);
        Release(Qt::LeftButton, row.client);
        Click(Qt::RightButton, row.client);
        EXPECT_EQ(events->Count("OnLeftButtonDown", {x, y}), row.reachesTheWindow ? 1 : 0);
        EXPECT_EQ(events->Count("OnLeftButtonUp", {x, y}), row.reachesTheWindow ? 1 : 0);
        EXPECT_EQ(events->Count("OnRightButtonUp", {x, y}), row.reachesTheWindow ? 1 : 0);
    }
    events->log.clear();
    Move(QPoint(400, 60));
    EXPECT_EQ(events->Count("OnMouseMove", {400, 60}), 1) << "moves arrive without a button held";
}

TEST_F(QtMainWindowTest, CapturedMouseReportsPositionsOutsideTheWindow) {
    StartRecorderOnly();
    Press(Qt::LeftButton, QPoint(300, 50));
    windowSystem->SetMouseCapture(true);
    Move(QPoint(-20, -40));
    Release(Qt::LeftButton, QPoint(-20, -40));
    windowSystem->SetMouseCapture(false);
    EXPECT_EQ(events->Count("OnMouseMove", {-20, -40}), 1);
    EXPECT_EQ(events->Count("OnLeftButtonUp", {-20, -40}), 1);
}

// How many pixels of a cell's colour area above its bottom rows have a colour.
int PixelsOfColor(const QImage& strip, int cell, const QColor& color) {
    int count = 0;
    for (int y = 1; y < 30; ++y) {
        for (int x = 20 * cell + 1; x < 20 * cell + 19; ++x) count += strip.pixelColor(x, y) == color ? 1 : 0;
    }
    return count;
}

TEST_F(QtMainWindowTest, StripPaintsTheRomColorsFramesAndCursor) {
    StartEditor(0x130);  // cells 24 to 31 lie past the end of this file
    const QImage picture = Control(ids::kStrip)->grab().toImage();
    for (int cell = 0; cell < 32; ++cell) {
        SCOPED_TRACE(cell);
        const auto word = static_cast<SnesColor>(0x80 + cell);
        if (cell < 24) {
            EXPECT_EQ(picture.pixelColor(20 * cell + 10, 37), ToQColor(ToRgbColor(word)));
        } else {
            EXPECT_EQ(picture.pixelColor(20 * cell + 10, 37), ToQColor(kNoColorCellFill));
            EXPECT_EQ(picture.pixelColor(20 * cell + 10, 20), ToQColor(kNoColorCellCross))
                << "where the strokes meet";
        }
        EXPECT_EQ(picture.pixelColor(20 * cell, 20), QColor(Qt::black)) << "frame";
    }
    // Cell 16 carries "V" and "*", white glyphs over black shadows; cell 15 none.
    EXPECT_GT(PixelsOfColor(picture, 16, Qt::white), 10);
    EXPECT_GT(PixelsOfColor(picture, 16, Qt::black), 5);
    EXPECT_EQ(PixelsOfColor(picture, 15, Qt::white) + PixelsOfColor(picture, 15, Qt::black), 0);
}

TEST_F(QtMainWindowTest, SwatchesShowTheColorsTheLogicNamesWhenInvalidated) {
    StartRecorderOnly();
    events->swatchColors[ids::kCurrentSwatch] = 0x00336699;  // 0x00BBGGRR
    events->swatchColors[ids::kStoredSwatch] = kNoColor;
    windowSystem->Invalidate(ids::kCurrentSwatch, true);
    windowSystem->Invalidate(ids::kStoredSwatch, true);
    EXPECT_EQ(ControlPixelColor(ids::kCurrentSwatch, QPoint(40, 30)), QColor(0x99, 0x66, 0x33));
    EXPECT_EQ(ControlPixelColor(ids::kStoredSwatch, QPoint(20, 30)), QColor(Qt::white));
}

TEST_F(QtMainWindowTest, InputControlsReportTheUsersActionsOnly) {
    StartRecorderOnly();
    QTest::keyClick(Control(ids::kGreenEdit), Qt::Key_7);
    QTest::keyClick(Control(ids::kOffsetBox), Qt::Key_7);
    QTest::keyRelease(Control(ids::kRedEdit), Qt::Key_8, Qt::NoModifier);
    QKeyEvent repeated(QEvent::KeyRelease, Qt::Key_8, Qt::NoModifier, QStringLiteral("8"), true);
    QCoreApplication::sendEvent(Control(ids::kRedEdit), &repeated);
    EXPECT_EQ(events->Count("OnEditKeyUp", {1071}), 1);
    EXPECT_EQ(events->Count("OnEditKeyUp", {1070}), 1) << "auto-repeat releases are not key-ups";
    EXPECT_EQ(events->Count("OnEditKeyUp", {1008}), 0);

    windowSystem->SetSliderRangeMax(ids::kBlueSlider, 255);
    windowSystem->SetSliderPosition(ids::kBlueSlider, 200);
    EXPECT_EQ(events->Count("OnHScroll", {1013}), 0) << "the logic's own moves are silent";
    QTest::keyClick(Control(ids::kBlueSlider), Qt::Key_End);
    EXPECT_EQ(windowSystem->GetSliderPosition(ids::kBlueSlider), 255);
    EXPECT_EQ(events->Count("OnHScroll", {1013}), 1);

    QTest::mouseClick(Control(ids::kTrackCheckBox), Qt::LeftButton);
    EXPECT_EQ(events->Count("OnCommand", {1016, 0}), 1);
    EXPECT_TRUE(windowSystem->IsChecked(ids::kTrackCheckBox));

    // Tab, Enter and Escape have no dialog meaning.
    Control(ids::kRedEdit)->setFocus();
    for (const Qt::Key key : {Qt::Key_Tab, Qt::Key_Return, Qt::Key_Escape})
        QTest::keyClick(Control(ids::kRedEdit), key);
    EXPECT_TRUE(Control(ids::kRedEdit)->hasFocus());
    EXPECT_EQ(events->Count("OnClose"), 0);
}

TEST_F(QtMainWindowTest, LocationListSortsWithoutCaseAndNotifiesUserSelections) {
    StartRecorderOnly();
    for (const char* name : {"beta", "Alpha", "Gamma"}) windowSystem->ListAddString(ids::kLocationList, name);
    auto* list = ControlAs<QListWidget>(ids::kLocationList);
    EXPECT_EQ(windowSystem->ListRowText(ids::kLocationList, 0), "Alpha");
    EXPECT_EQ(windowSystem->ListRowText(ids::kLocationList, 1), "beta");
    EXPECT_EQ(windowSystem->ListRowText(ids::kLocationList, 2), "Gamma");
    EXPECT_EQ(windowSystem->ListSelection(ids::kLocationList), -1);

    const QPoint betaRow = list->visualItemRect(list->item(1)).center();
    windowSystem->ListClickAt(ids::kLocationList, FromQPoint(betaRow));
    windowSystem->ListClickAt(ids::kLocationList, FromQPoint(betaRow));
    EXPECT_EQ(windowSystem->ListSelection(ids::kLocationList), 1);
    EXPECT_EQ(events->Count("OnCommand", {1099, 1}), 1) << "only a change notifies";

    const QPoint gammaRow = list->visualItemRect(list->item(2)).center();
    QTest::mouseClick(list->viewport(), Qt::RightButton, Qt::NoModifier, gammaRow);
    EXPECT_EQ(events->Count("OnListRightButtonUp", {gammaRow.x(), gammaRow.y()}), 1);
    EXPECT_EQ(windowSystem->ListSelection(ids::kLocationList), 1) << "a right press selects nothing itself";

    // A double click is a click followed by the double-click event.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, gammaRow);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, gammaRow);
    EXPECT_EQ(events->Count("OnCommand", {1099, 2}), 1);
    EXPECT_EQ(windowSystem->ListSelection(ids::kLocationList), 2);

    events->log.clear();
    windowSystem->ListDeleteRow(ids::kLocationList, 2);
    windowSystem->ListReset(ids::kLocationList);
    EXPECT_EQ(list->count(), 0);
    EXPECT_EQ(events->Count("OnCommand", {1099, 1}), 0) << "the logic's own changes are silent";
}

TEST_F(QtMainWindowTest, LocationBookFillsTheListAtStartUp) {
    StartEditor(0x8000, "[Patch]\r\nbeta=0002C000\r\nAlpha=$8000\r\nGamma=0001A000\r\n");
    auto* list = ControlAs<QListWidget>(ids::kLocationList);
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(0)->text(), "Alpha");
    EXPECT_EQ(list->item(2)->text(), "Gamma");
}

// What a file manager's drag does: enter, move and drop, sent to the native
// window at a window point, so Qt finds the widget that takes the drop.
bool DropOnWindow(QWindow* window, QPoint at, const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &enter);
    QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &move);
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &drop);
    return drop.isAccepted();
}

TEST_F(QtMainWindowTest, FilesDroppedOnTheStripOrABoxReachTheLogicAsFileNamesAndClientPixels) {
    StartRecorderOnly();
    const std::string accented = "/tmp/\xC3\xA9tat du jeu.mc0";  // the UTF-8 file-name bytes
    const QPoint onStrip(165, 250);
    const QPoint onOffsetBox = Control(ids::kOffsetBox)->geometry().center();
    const QList<QUrl> urls{QUrl::fromLocalFile(QString::fromUtf8(accented.c_str())),
                           QUrl::fromLocalFile("/tmp/b.pal")};
    events->log.clear();
    EXPECT_TRUE(DropOnWindow(Window(), WindowPoint(onStrip), urls));
    EXPECT_TRUE(DropOnWindow(Window(), WindowPoint(onOffsetBox), {QUrl::fromLocalFile("/tmp/b.pal")}));
    EXPECT_FALSE(DropOnWindow(Window(), WindowPoint(onStrip), {QUrl("https://example.org/a.pal")}))
        << "only local files are taken";
    EXPECT_EQ(events->WithoutTicks(),
              (std::vector<std::string>{
                  RecordingEvents::DropEntry({accented, "/tmp/b.pal"}, {onStrip.x(), onStrip.y()}),
                  RecordingEvents::DropEntry({"/tmp/b.pal"}, {onOffsetBox.x(), onOffsetBox.y()})}));
    EXPECT_TRUE(ControlAs<QLineEdit>(ids::kOffsetBox)->text().isEmpty()) << "the box took no text";
}

}  // namespace
}  // namespace tintwright::qt::testing
