#pragma once

// The real Qt window around the real MainWindow logic (or around a recorder
// alone), on a generated ROM, with helpers that act as the window system
// would: mouse events enter through the window's native handle at window
// positions, so they are routed exactly as a user's would be.

#include <gtest/gtest.h>

#include <QColor>
#include <QPoint>
#include <QString>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/ProgramState.h"
#include "frontends/qt/QtWindowSystem.h"
#include "mainwindow/MainWindow.h"
#include "tests/qt/DialogAnswerer.h"
#include "tests/support/RecordingEvents.h"
#include "tests/support/TempDir.h"

class QWindow;

namespace tintwright::qt {
class QtLocationDialog;
}

namespace tintwright::qt::testing {

using ::tintwright::testing::RecordingEvents;

class QtEditorFixture : public ::testing::Test {
protected:
    void TearDown() override;

    // A ROM whose word at even offset o is (o / 2) & 0x7FFF, loaded as after start-up.
    void StartEditor(std::size_t romSize = 0x8000, const std::string& settings = "");
    // On these bytes instead; a state set in state.stateToSearch before is
    // searched as `--state` would have it.
    void StartEditor(const std::vector<std::uint8_t>& romBytes, const std::string& settings = "");
    // The window around a recorder with no logic behind it.
    void StartRecorderOnly();

    void WaitForActiveWindow();
    QWidget* Control(int id) const;
    template <typename Widget>
    Widget* ControlAs(int id) const {
        return qobject_cast<Widget*>(Control(id));
    }
    QWindow* Window() const;
    QPoint WindowPoint(QPoint client) const;  // main-window client pixels to window pixels
    std::string StatusLine() const;

    void Press(Qt::MouseButton button, QPoint client);
    void Release(Qt::MouseButton button, QPoint client);
    void Click(Qt::MouseButton button, QPoint client);
    void DoubleClick(QPoint client);  // left button
    void Move(QPoint client);
    void Wheel(int angleDelta, QPoint client);

    // What a user does to the controls, and what they show.
    void ClickControl(int id);
    void ClickCell(int cell);  // a left click in the middle of a strip cell
    // Erases a box and types the text, each key pressed and released.
    void TypeInto(int editId, const QString& text);
    void TypeInto(QWidget* edit, const QString& text);
    void TypeRgb(const QString& red, const QString& green, const QString& blue);
    std::vector<std::string> RgbBoxes() const;
    // Opens a menu-bar popup and clicks the item with this caption, then lets
    // the command it posts arrive. The popup is answered like any other; then
    // answers what the command opens in turn.
    void ChooseMenuItem(int popupIndex, const QString& caption,
                        std::vector<DialogAnswerer::Answer> then = {});
    // The location dialog opened last, found by the handle its set-up carried.
    QtLocationDialog* NewestLocationDialog() const;
    QColor ControlPixelColor(int id, QPoint point) const;
    // A cell's colour where no cursor glyph is drawn.
    QColor StripCellColor(int cell) const;
    std::uint16_t WorkingWord(std::uint32_t offset) const;  // from the working copy, bit 15 included

    ::tintwright::testing::TempDir dir;
    ProgramState state;
    std::unique_ptr<MainWindow> logic;
    std::unique_ptr<RecordingEvents> events;
    DialogAnswerer answerer;
    std::unique_ptr<QtWindowSystem> windowSystem;  // last: its windows go before what they call
};

}  // namespace tintwright::qt::testing
