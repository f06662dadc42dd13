#include "tests/qt/QtEditorFixture.h"

#include <QApplication>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <QWindow>
#include <fstream>
#include <sstream>

#include "core/RomImage.h"
#include "frontends/qt/QtClientArea.h"
#include "frontends/qt/QtLocationDialog.h"
#include "frontends/qt/QtMainWindow.h"
#include "frontends/qt/QtWidgetText.h"
#include "mainwindow/PaletteStrip.h"
#include "tests/support/EditorFixture.h"
#include "window/ControlIds.h"

namespace tintwright::qt::testing {

void QtEditorFixture::TearDown() {
    // Closed as a user closes it, so the logic lets go of what it opened
    // (a game preview) while the window system is still there.
    if (windowSystem) windowSystem->DestroyMainWindow();
    // Closing asks the application to quit, which would end every later
    // test's dialog loops at once; a loop that takes the quit clears it.
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
    windowSystem.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(answerer.AllAnswered());
}

void QtEditorFixture::StartEditor(std::size_t romSize, const std::string& settings) {
    StartEditor(::tintwright::testing::IndexedRomBytes(romSize), settings);
}

void QtEditorFixture::StartEditor(const std::vector<std::uint8_t>& romBytes, const std::string& settings) {
    state.settingsPath = dir.File("tintwright.ini");
    state.rom.SourcePath() = dir.File("source.smc");
    state.rom.SavePath() = dir.File("save.smc");
    ::tintwright::testing::WriteBytes(state.rom.SourcePath(), romBytes);
    if (!settings.empty()) std::ofstream(state.settingsPath, std::ios::binary) << settings;
    auto loaded = LoadRomFile(state.rom.SourcePath());
    ASSERT_TRUE(loaded);
    state.rom.Install(std::move(*loaded));
    windowSystem = std::make_unique<QtWindowSystem>();
    logic = std::make_unique<MainWindow>(*windowSystem, state);
    events = std::make_unique<RecordingEvents>(logic.get());
    windowSystem->CreateMainWindow(*events);
    WaitForActiveWindow();
}

void QtEditorFixture::StartRecorderOnly() {
    windowSystem = std::make_unique<QtWindowSystem>();
    events = std::make_unique<RecordingEvents>();
    windowSystem->CreateMainWindow(*events);
    WaitForActiveWindow();
}

// Focus and keys need the window active, as it is once a user clicks it.
void QtEditorFixture::WaitForActiveWindow() {
    QtMainWindow* window = windowSystem->MainWindowWidget();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
}

QWidget* QtEditorFixture::Control(int id) const {
    QtMainWindow* window = windowSystem->MainWindowWidget();
    return window == nullptr ? nullptr : window->Control(id);
}

QWindow* QtEditorFixture::Window() const {
    return windowSystem->MainWindowWidget()->windowHandle();
}

QPoint QtEditorFixture::WindowPoint(QPoint client) const {
    QtMainWindow* window = windowSystem->MainWindowWidget();
    return window->ClientArea()->mapTo(window, client);
}

std::string QtEditorFixture::StatusLine() const {
    return WidgetText(Control(ids::kStatusLine)).toStdString();
}

void QtEditorFixture::Press(Qt::MouseButton button, QPoint client) {
    QTest::mousePress(Window(), button, Qt::NoModifier, WindowPoint(client));
}

void QtEditorFixture::Release(Qt::MouseButton button, QPoint client) {
    QTest::mouseRelease(Window(), button, Qt::NoModifier, WindowPoint(client));
}

void QtEditorFixture::Click(Qt::MouseButton button, QPoint client) {
    QTest::mouseClick(Window(), button, Qt::NoModifier, WindowPoint(client));
}

void QtEditorFixture::DoubleClick(QPoint client) {
    QTest::mouseDClick(Window(), Qt::LeftButton, Qt::NoModifier, WindowPoint(client));
}

void QtEditorFixture::Move(QPoint client) {
    QTest::mouseMove(Window(), WindowPoint(client));
}

void QtEditorFixture::Wheel(int angleDelta, QPoint client) {
    const QPointF position = WindowPoint(client);
    QWheelEvent wheel(position, Window()->mapToGlobal(position), QPoint(), QPoint(0, angleDelta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(Window(), &wheel);
}

void QtEditorFixture::ClickControl(int id) {
    QTest::mouseClick(Control(id), Qt::LeftButton);
}

void QtEditorFixture::ClickCell(int cell) {
    const int middle = (kStripBandTop + kStripBandBottom) / 2;
    Click(Qt::LeftButton, QPoint(kStripLeft + kStripCellWidth * cell + kStripCellWidth / 2, middle));
}

// Erased with Backspace rather than selected with Ctrl+A: every key release
// rewrites the boxes, which drops a selection.
void QtEditorFixture::TypeInto(int editId, const QString& text) {
    TypeInto(Control(editId), text);
}

void QtEditorFixture::TypeInto(QWidget* edit, const QString& text) {
    edit->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(edit, Qt::Key_End);
    while (!WidgetText(edit).isEmpty()) QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

void QtEditorFixture::TypeRgb(const QString& red, const QString& green, const QString& blue) {
    TypeInto(ids::kRedEdit, red);
    TypeInto(ids::kGreenEdit, green);
    TypeInto(ids::kBlueEdit, blue);
}

std::vector<std::string> QtEditorFixture::RgbBoxes() const {
    std::vector<std::string> boxes;
    for (const int id : {ids::kRedEdit, ids::kGreenEdit, ids::kBlueEdit})
        boxes.push_back(WidgetText(Control(id)).toStdString());
    return boxes;
}

void QtEditorFixture::ChooseMenuItem(int popupIndex, const QString& caption,
                                     std::vector<DialogAnswerer::Answer> then) {
    answerer.Expect([caption](QWidget* shown) { ClickMenuItem(shown, caption); });
    for (DialogAnswerer::Answer& answer : then) answerer.Expect(std::move(answer));
    QMenuBar* bar = windowSystem->MainWindowWidget()->menuBar();
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier,
                      bar->actionGeometry(bar->actions()[popupIndex]).center());
    ASSERT_TRUE(QTest::qWaitFor(
        [this] { return answerer.AllAnswered() && QApplication::activePopupWidget() == nullptr; }, 5000));
    QCoreApplication::processEvents();
}

QtLocationDialog* QtEditorFixture::NewestLocationDialog() const {
    const std::string init = "OnLocationDialogInit ";
    for (auto entry = events->log.rbegin(); entry != events->log.rend(); ++entry) {
        if (entry->rfind(init, 0) != 0) continue;
        DialogHandle handle = 0;
        std::istringstream(entry->substr(init.size())) >> handle;
        return windowSystem->LocationDialog(handle);
    }
    return nullptr;
}

QColor QtEditorFixture::ControlPixelColor(int id, QPoint point) const {
    return Control(id)->grab().toImage().pixelColor(point);
}

QColor QtEditorFixture::StripCellColor(int cell) const {
    return ControlPixelColor(ids::kStrip, QPoint(kStripCellWidth * cell + kStripCellWidth / 2, 37));
}

std::uint16_t QtEditorFixture::WorkingWord(std::uint32_t offset) const {
    const auto bytes = state.rom.WorkingBytes();
    return static_cast<std::uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

}  // namespace tintwright::qt::testing
