// The editor on a screen scaled by 2 (QT_SCALE_FACTOR=2 on a virtual X server):
// the window is drawn at twice the layout's size without blur, the real
// pointer's device pixels reach the logic as layout pixels, and the screen
// tracker reads the pixel that is really under the pointer. The pointer is
// moved and clicked with xdotool, in the device pixels a mouse works in, so
// every odd device pixel lands half-way into a layout pixel.

#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QSet>
#include <QTest>
#include <cstdio>

#include "core/SnesColor.h"
#include "frontends/qt/QtClientArea.h"
#include "frontends/qt/QtConversions.h"
#include "frontends/qt/QtMainWindow.h"
#include "mainwindow/PaletteStrip.h"
#include "resources/PickerImage.h"
#include "tests/qt/QtEditorFixture.h"
#include "window/ControlIds.h"
#include "window/Layout.h"

namespace tintwright::qt::testing {
namespace {

constexpr int kScale = 2;

// The test ROM's colour of strip cell i at the first view: the word 0x80 + i.
QColor CellColor(int cell) {
    return ToQColor(ToRgbColor(static_cast<SnesColor>(0x80 + cell)));
}

std::vector<std::string> Boxes(const QColor& color) {
    return {std::to_string(color.red()), std::to_string(color.green()), std::to_string(color.blue())};
}

QColor PickerColor(int column, int row) {
    const Rgb8 pixel = PickerPixel(column, row);
    return QColor(pixel.red, pixel.green, pixel.blue);
}

bool RunXdotool(const QStringList& arguments) {
    return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0;
}

// A window of one colour, as another program would show it.
class ColorPatch {
public:
    ColorPatch(const QColor& color, const QRect& logical)
        : widget_(nullptr, Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint) {
        widget_.setStyleSheet(QStringLiteral("background-color: %1;").arg(color.name()));
        widget_.setGeometry(logical);
        widget_.show();
    }
    bool Exposed() { return QTest::qWaitForWindowExposed(&widget_); }

private:
    QWidget widget_;
};

class QtHighDpiTest : public QtEditorFixture {
protected:
    void SetUp() override {
        const QScreen* screen = QGuiApplication::primaryScreen();
        ASSERT_EQ(QGuiApplication::platformName(), "xcb");
        ASSERT_EQ(screen->devicePixelRatio(), kScale) << "run with QT_SCALE_FACTOR=2";
        ASSERT_EQ(screen->geometry().topLeft(), QPoint(0, 0));
        StartEditor();
    }

    // A device pixel of the screen inside a layout pixel of the client area:
    // its top-left one, or with lastOne its bottom-right one.
    QPoint DevicePixel(QPoint client, bool lastOne = false) const {
        const QPoint logical = windowSystem->MainWindowWidget()->ClientArea()->mapToGlobal(client);
        return logical * kScale + (lastOne ? QPoint(kScale - 1, kScale - 1) : QPoint());
    }

    // A left click of the real pointer; returns once the release reached the logic.
    void ClickAt(QPoint device) {
        const int releases = events->CountNamed("OnLeftButtonUp");
        ASSERT_TRUE(RunXdotool(
            {"mousemove", QString::number(device.x()), QString::number(device.y()), "click", "1"}));
        ASSERT_TRUE(QTest::qWaitFor([&] { return events->CountNamed("OnLeftButtonUp") > releases; }, 5000));
    }

    std::string LastRelease() const {
        for (auto entry = events->log.rbegin(); entry != events->log.rend(); ++entry) {
            if (entry->rfind("OnLeftButtonUp", 0) == 0) return *entry;
        }
        return "";
    }

    static QImage ScreenShot() { return QGuiApplication::primaryScreen()->grabWindow(0).toImage(); }
};

TEST_F(QtHighDpiTest, WindowIsDrawnAtTwiceTheLayoutSizeWithoutBlur) {
    QtMainWindow* window = windowSystem->MainWindowWidget();
    const QImage windowShot = QGuiApplication::primaryScreen()->grabWindow(window->winId()).toImage();
    const QSize layout(kClientWidthPixels, kClientHeightPixels + window->menuBar()->height());
    EXPECT_EQ(windowShot.size(), layout * kScale) << "the window in device pixels";

    // The picture by pixel repetition: each of its pixels fills 2 x 2 device pixels.
    const QImage shot = ScreenShot();
    const QPoint picker = DevicePixel(Control(ids::kPickerImage)->pos());
    int blurred = 0;
    for (int y = 0; y < kPickerHeight * kScale; ++y) {
        for (int x = 0; x < kPickerWidth * kScale; ++x) {
            if (shot.pixelColor(picker + QPoint(x, y)) != PickerColor(x / kScale, y / kScale)) ++blurred;
        }
    }
    EXPECT_EQ(blurred, 0) << "device pixels of the picker that repeat no pixel of the picture";

    // The strip holds only its frames, the cells' colours and the markers'
    // black and white: smoothed edges would blend them.
    QSet<QRgb> painted{qRgb(0, 0, 0), qRgb(255, 255, 255)};
    for (int cell = 0; cell < kViewCells; ++cell) painted.insert(CellColor(cell).rgb());
    const QRect cells = ToQRect(StripCellRect(0))
                            .united(ToQRect(StripCellRect(kViewCells - 1)))
                            .intersected(Control(ids::kStrip)->rect());
    const QRect strip(DevicePixel(Control(ids::kStrip)->pos() + cells.topLeft()), cells.size() * kScale);
    int blended = 0;
    int white = 0;
    for (int y = strip.top(); y <= strip.bottom(); ++y) {
        for (int x = strip.left(); x <= strip.right(); ++x) {
            const QRgb pixel = shot.pixel(x, y) | 0xFF000000u;
            blended += painted.contains(pixel) ? 0 : 1;
            white += pixel == qRgb(255, 255, 255) ? 1 : 0;
        }
    }
    EXPECT_EQ(blended, 0) << "strip pixels of no colour the strip paints";
    EXPECT_GT(white, 40) << "the markers of cell 16 are drawn";
}

struct HitRow {
    const char* place;
    QPoint client;     // a layout pixel
    int selectedCell;  // afterwards
    QColor current;    // afterwards
};

// Rows that select nothing follow a selection that a position rounded to the
// next layout pixel would change.
TEST_F(QtHighDpiTest, ClicksHitInLayoutPixelsWhicheverDevicePixelIsUnderThePointer) {
    const HitRow rows[] = {
        {"strip, top-left pixel of cell 0", {60, 229}, 0, CellColor(0)},
        {"strip, right column of cell 0", {79, 267}, 0, CellColor(0)},
        {"strip, bottom-right pixel of cell 31", {699, 267}, 31, CellColor(31)},
        {"left of the strip", {59, 250}, 31, CellColor(31)},
        {"the frame row above the band", {300, 228}, 31, CellColor(31)},
        {"picker, pixel 1 of the top row", {277, 2}, 31, PickerColor(1, 0)},
        {"picker, its last pixel", {595, 121}, 31, PickerColor(319, 119)},
    };
    for (const HitRow& row : rows) {
        for (const bool lastOne : {false, true}) {
            SCOPED_TRACE(std::string(row.place) + (lastOne ? ", last device pixel" : ", first device pixel"));
            ClickAt(DevicePixel(row.client, lastOne));
            EXPECT_EQ(LastRelease(),
                      RecordingEvents::Entry("OnLeftButtonUp", {row.client.x(), row.client.y()}));
            char offset[32];
            std::snprintf(offset, sizeof offset, "Editing Offset : %08X", 0x100 + 2 * row.selectedCell);
            EXPECT_EQ(StatusLine().rfind(offset, 0), 0u) << StatusLine();
            EXPECT_EQ(RgbBoxes(), Boxes(row.current));
        }
    }
}

struct PointerRow {
    const char* place;
    QPoint device;
    QColor seen;
};

// Two patches side by side above the centred editor, 80 x 80 device pixels
// each: the tracker must read the pixel the pointer is on, not the one of the
// nearest layout pixel. Left Control makes the colour it reads current.
TEST_F(QtHighDpiTest, TrackerReadsThePixelReallyUnderThePointer) {
    ColorPatch left(CellColor(5), QRect(0, 0, 40, 40));
    ColorPatch right(CellColor(9), QRect(40, 0, 40, 40));
    ASSERT_TRUE(left.Exposed() && right.Exposed());
    QTest::qWait(100);
    const PointerRow rows[] = {
        {"last device pixel of the left patch", {79, 41}, CellColor(5)},
        {"first device pixel of the right patch", {80, 41}, CellColor(9)},
        {"back on the left patch", {78, 40}, CellColor(5)},
    };
    for (const PointerRow& row : rows) {
        SCOPED_TRACE(row.place);
        ASSERT_TRUE(RunXdotool({"mousemove", QString::number(row.device.x()), QString::number(row.device.y()),
                                "key", "Control_L"}));
        EXPECT_TRUE(QTest::qWaitFor([&] { return RgbBoxes() == Boxes(row.seen); }, 3000))
            << RgbBoxes()[0] << "," << RgbBoxes()[1] << "," << RgbBoxes()[2];
    }
}

// The Tools menu opens with its first pixel under the pointer, as a menu
// opened at a point does on Windows, also when the pointer's device pixel is
// the last one of a layout pixel.
TEST_F(QtHighDpiTest, ToolsMenuOpensUnderThePointer) {
    const QPoint device = DevicePixel(QPoint(301, 251), true);
    answerer.Expect([&](QWidget* shown) {
        auto* menu = qobject_cast<QMenu*>(shown);
        ASSERT_NE(menu, nullptr);
        const QRect firstPixel(menu->pos() * kScale, QSize(kScale, kScale));
        EXPECT_TRUE(firstPixel.contains(device)) << menu->pos().x() << "," << menu->pos().y();
        menu->close();
    });
    ASSERT_TRUE(
        RunXdotool({"mousemove", QString::number(device.x()), QString::number(device.y()), "click", "3"}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return answerer.AllAnswered(); }, 5000));
}

}  // namespace
}  // namespace tintwright::qt::testing
