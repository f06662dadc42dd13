#include "tests/qt/QtEditorFixture.h"

#include <QApplication>
#include <QTest>
#include <QWheelEvent>
#include <QWindow>
#include <fstream>

#include "core/RomImage.h"
#include "tests/support/EditorFixture.h"
#include "ui/qt/QtClientArea.h"
#include "ui/qt/QtMainWindow.h"
#include "ui/qt/QtWidgetText.h"
#include "window/ControlIds.h"

namespace tintwright::qt::testing {

void QtEditorFixture::TearDown() {
    windowSystem.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(answerer.AllAnswered());
}

void QtEditorFixture::StartEditor(std::size_t romSize, const std::string& settings) {
    state.settingsPath = dir.File("tintwright.ini");
    state.rom.SourcePath() = dir.File("source.smc");
    state.rom.SavePath() = dir.File("save.smc");
    ::tintwright::testing::WriteBytes(state.rom.SourcePath(),
                                      ::tintwright::testing::IndexedRomBytes(romSize));
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

void QtEditorFixture::Move(QPoint client) {
    QTest::mouseMove(Window(), WindowPoint(client));
}

void QtEditorFixture::Wheel(int angleDelta, QPoint client) {
    const QPointF position = WindowPoint(client);
    QWheelEvent wheel(position, Window()->mapToGlobal(position), QPoint(), QPoint(0, angleDelta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(Window(), &wheel);
}

}  // namespace tintwright::qt::testing
