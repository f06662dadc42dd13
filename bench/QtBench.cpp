// The two things the Linux editor does over and over while a user just looks:
// one tick of the 50 ms screen colour tracker, and one full paint of the
// palette strip. Both run against the real window around the real logic on a
// generated ROM. The tick reads the real screen, so it needs an X server
// (`make bench` starts a virtual one); the paint goes into an image and runs
// on any platform.

#include <benchmark/benchmark.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <string>

#include "app/ProgramState.h"
#include "frontends/qt/QtApplicationSetup.h"
#include "frontends/qt/QtConversions.h"
#include "frontends/qt/QtMainWindow.h"
#include "frontends/qt/QtPaletteStrip.h"
#include "frontends/qt/QtStripCanvas.h"
#include "frontends/qt/QtWindowSystem.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/PaletteStrip.h"
#include "window/ControlIds.h"
#include "window/Layout.h"

namespace {

using tintwright::kNoColor;
using tintwright::kViewCells;
using tintwright::MainWindow;
using tintwright::RgbColor;
using tintwright::qt::QtWindowSystem;

constexpr std::uint32_t kRomBytes = 0x8000;
// The view a user sees after start-up, and one wholly past the end of the file.
constexpr const char* kViewInsideFile = "100";
constexpr const char* kViewOutsideFile = "8000";
constexpr int kLastCell = kViewCells - 1;
constexpr int kScreenWaitMs = 5000;

// Its channels' low bits are set, which no ROM word gives, so no cell matches it.
const QColor kColorOfNoCell(7, 77, 177);

// The word at even offset o is (o / 2) & 0x7FFF, so the 32 cells of any view differ.
tintwright::LoadedRom IndexedRom() {
    tintwright::LoadedRom rom;
    rom.size = kRomBytes;
    rom.bytes.assign(kRomBytes + 1, 0);
    for (std::uint32_t offset = 0; offset < kRomBytes; ++offset) {
        const std::uint16_t word = static_cast<std::uint16_t>((offset / 2) & 0x7FFF);
        rom.bytes[offset] = static_cast<std::uint8_t>(offset % 2 == 0 ? word & 0xFF : word >> 8);
    }
    return rom;
}

// The editor as a user has it after start-up. It is driven only as a user
// drives it: through the offset box, the buttons, the check box and the pointer.
class BenchEditor {
public:
    BenchEditor() {
        // No location book: the list plays no part in a tick or a paint.
        state_.rom.Install(IndexedRom());
        windowSystem_ = std::make_unique<QtWindowSystem>();
        logic_ = std::make_unique<MainWindow>(*windowSystem_, state_);
        windowSystem_->CreateMainWindow(*logic_);
        exposed_ = QTest::qWaitForWindowExposed(windowSystem_->MainWindowWidget(), kScreenWaitMs);
    }
    BenchEditor(const BenchEditor&) = delete;
    BenchEditor& operator=(const BenchEditor&) = delete;

    bool Exposed() const { return exposed_; }
    MainWindow& Logic() { return *logic_; }
    QWidget* Control(int id) const { return windowSystem_->MainWindowWidget()->Control(id); }

    void ShowViewAt(const char* hexOffset) {
        windowSystem_->SetText(tintwright::ids::kOffsetBox, hexOffset);
        Click(tintwright::ids::kGotoButton);
    }
    // "?" is drawn only while the box is ticked; the tick itself ignores it.
    void SetTracking(bool on) {
        if (windowSystem_->IsChecked(tintwright::ids::kTrackCheckBox) != on) {
            Click(tintwright::ids::kTrackCheckBox);
        }
    }

    // Waits until the screen under the pointer shows a colour: until then a
    // new window may not have been painted yet.
    bool PointerOver(const QPoint& screen, RgbColor expected) {
        QCursor::setPos(screen);
        return QTest::qWaitFor(
            [&] { return windowSystem_->ScreenPixel(windowSystem_->CursorScreenPosition()) == expected; },
            kScreenWaitMs);
    }

private:
    void Click(int id) { qobject_cast<QAbstractButton*>(Control(id))->click(); }

    tintwright::ProgramState state_;
    std::unique_ptr<MainWindow> logic_;
    std::unique_ptr<QtWindowSystem> windowSystem_;  // last: its windows go before what they call
    bool exposed_ = false;
};

BenchEditor* editor = nullptr;  // lives in main, inside the QApplication

constexpr const char* kNeedsX11 = "needs an X server: run under xvfb-run with QT_QPA_PLATFORM=xcb";

bool OnX11() {
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

// The pointer rests on the strip's last cell: the scan passes 31 cells before
// the one that matches, and the marker, already there after the first tick,
// needs no repaint. This is the steady state of a user holding the pointer
// still over a colour.
void TrackerTickOverStripCell(benchmark::State& state) {
    if (!OnX11()) return state.SkipWithError(kNeedsX11);
    editor->ShowViewAt(kViewInsideFile);
    QWidget* strip = editor->Control(tintwright::ids::kStrip);
    const QRect cell = tintwright::qt::ToQRect(tintwright::StripColorArea(kLastCell));
    const RgbColor cellColor = editor->Logic().View().ColorCache()[kLastCell];
    if (!editor->PointerOver(strip->mapToGlobal(cell.center()), cellColor)) {
        return state.SkipWithError("the strip's last cell never showed under the pointer");
    }
    editor->Logic().OnTimer();
    if (editor->Logic().View().TrackingMarker() != kLastCell) {
        return state.SkipWithError("the tracker did not find the cell under the pointer");
    }
    for (auto _ : state) editor->Logic().OnTimer();
}
BENCHMARK(TrackerTickOverStripCell)->Unit(benchmark::kMicrosecond)->Repetitions(5)->DisplayAggregatesOnly();

// The pointer rests on a window that is not the editor's, in a colour no cell
// holds: the whole scan runs and finds nothing.
void TrackerTickOverOtherWindow(benchmark::State& state) {
    if (!OnX11()) return state.SkipWithError(kNeedsX11);
    editor->ShowViewAt(kViewInsideFile);
    QWidget patch(nullptr, Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint);
    patch.setStyleSheet(QStringLiteral("background-color: %1;").arg(kColorOfNoCell.name()));
    patch.setGeometry(10, 10, 60, 40);
    patch.show();
    const RgbColor patchColor = tintwright::qt::FromQColor(kColorOfNoCell);
    if (!QTest::qWaitForWindowExposed(&patch, kScreenWaitMs) ||
        !editor->PointerOver(patch.mapToGlobal(patch.rect().center()), patchColor)) {
        return state.SkipWithError("the other window never showed under the pointer");
    }
    const std::uint32_t markerBefore = editor->Logic().View().TrackingMarker();
    editor->Logic().OnTimer();
    if (editor->Logic().View().TrackingMarker() != markerBefore) {
        return state.SkipWithError("a cell matched a colour no ROM word gives");
    }
    for (auto _ : state) editor->Logic().OnTimer();
}
BENCHMARK(TrackerTickOverOtherWindow)->Unit(benchmark::kMicrosecond)->Repetitions(5)->DisplayAggregatesOnly();

// What the strip's paint event does for the view on show, into an image of
// the strip's size and the pixel format X11 gives a 24-bit window's backing
// store. All three markers are drawn, as while the tracker is on.
void PaintShownStrip(benchmark::State& state) {
    editor->SetTracking(true);
    const tintwright::PixelRect rect =
        tintwright::ControlPixelRect(*tintwright::FindMainWindowControl(tintwright::ids::kStrip));
    QImage image(rect.right - rect.left, rect.bottom - rect.top, QImage::Format_RGB32);
    const QFont glyphFont = tintwright::qt::StripGlyphFont(editor->Control(tintwright::ids::kStrip)->font());
    for (auto _ : state) {
        QPainter painter(&image);
        tintwright::qt::QtStripCanvas canvas(painter, glyphFont);
        tintwright::PaintStrip(editor->Logic().View(), canvas);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetLabel(std::to_string(image.width()) + " x " + std::to_string(image.height()));
    editor->SetTracking(false);
}

void StripPaintInsideFile(benchmark::State& state) {
    editor->ShowViewAt(kViewInsideFile);
    PaintShownStrip(state);
}
BENCHMARK(StripPaintInsideFile)->Unit(benchmark::kMicrosecond)->Repetitions(5)->DisplayAggregatesOnly();

// Every cell outside the file: the crossed empty cells, each drawn row by row.
void StripPaintOutsideFile(benchmark::State& state) {
    editor->ShowViewAt(kViewOutsideFile);
    for (const RgbColor color : editor->Logic().View().ColorCache()) {
        if (color != kNoColor) return state.SkipWithError("a cell of the view lies inside the file");
    }
    PaintShownStrip(state);
}
BENCHMARK(StripPaintOutsideFile)->Unit(benchmark::kMicrosecond)->Repetitions(5)->DisplayAggregatesOnly();

}  // namespace

// The QApplication and the editor must exist before any benchmark runs and go
// only after the last, so the benchmark library's own main does not fit.
int main(int argc, char* argv[]) {
    // The paint needs no screen; without an X server the tick reports itself skipped.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", qEnvironmentVariableIsSet("DISPLAY") ? "xcb" : "offscreen");
    }
    QApplication application(argc, argv);
    tintwright::qt::ConfigureApplication(application);
    BenchEditor benchEditor;
    if (!benchEditor.Exposed()) return 1;
    editor = &benchEditor;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
