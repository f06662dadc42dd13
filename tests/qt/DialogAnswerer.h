#pragma once

// Answers the dialogs, message boxes and popup menus the program opens, in
// the order the test expects them, by polling from the event loop that the
// dialog itself runs. A dialog nobody expected fails the test and is closed,
// so no test waits for a user who is not there.

#include <QObject>
#include <QSet>
#include <QTimer>
#include <deque>
#include <functional>

class QMessageBox;
class QWidget;

namespace tintwright::qt::testing {

class DialogAnswerer final : public QObject {
    Q_OBJECT
public:
    using Answer = std::function<void(QWidget* shown)>;

    DialogAnswerer();
    ~DialogAnswerer() override;

    void Expect(Answer answer);
    bool AllAnswered() const { return expected_.empty(); }

private:
    void Poll();

    QTimer poll_;
    std::deque<Answer> expected_;
    QSet<QWidget*> answering_;  // windows whose answer is running or queued
};

// The button of a message box or dialog with this text (mnemonics ignored).
void ClickButton(QWidget* shown, const QString& text);
// The item of a popup menu with this caption, clicked with the mouse.
void ClickMenuItem(QWidget* shown, const QString& caption);
// Answers a message box with this caption by clicking the button; whileOpen
// runs first, while the box is still on the screen.
DialogAnswerer::Answer AnswerBox(const QString& caption, const QString& button,
                                 std::function<void(QMessageBox* box)> whileOpen = {});

}  // namespace tintwright::qt::testing
