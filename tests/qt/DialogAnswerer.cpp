#include "tests/qt/DialogAnswerer.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QTest>

namespace tintwright::qt::testing {
namespace {

// The window waiting for an answer: a popup menu, the innermost modal dialog,
// or a box that is modal only to its owner.
QWidget* WaitingWindow() {
    if (QWidget* popup = QApplication::activePopupWidget()) return popup;
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && modal->isVisible()) return modal;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && qobject_cast<QMessageBox*>(window) != nullptr) return window;
    }
    return nullptr;
}

}  // namespace

DialogAnswerer::DialogAnswerer() {
    connect(&poll_, &QTimer::timeout, this, &DialogAnswerer::Poll);
    poll_.start(10);
}

DialogAnswerer::~DialogAnswerer() {
    if (!expected_.empty()) ADD_FAILURE() << expected_.size() << " expected dialog(s) never came";
}

void DialogAnswerer::Expect(Answer answer) {
    expected_.push_back(std::move(answer));
}

// The answer runs from the queue, not from the timer: an answer may open a
// nested dialog, and Qt fires no timer again while its own handler still runs.
void DialogAnswerer::Poll() {
    QWidget* waiting = WaitingWindow();
    if (waiting == nullptr || answering_.contains(waiting)) return;
    answering_.insert(waiting);
    if (expected_.empty()) {
        ADD_FAILURE() << "unexpected window \"" << waiting->windowTitle().toStdString() << "\"";
        waiting->close();
        answering_.remove(waiting);
        return;
    }
    Answer answer = std::move(expected_.front());
    expected_.pop_front();
    QMetaObject::invokeMethod(
        this,
        [this, answer = std::move(answer), window = QPointer<QWidget>(waiting), waiting] {
            if (window) answer(window);
            answering_.remove(waiting);
        },
        Qt::QueuedConnection);
}

void ClickButton(QWidget* shown, const QString& text) {
    for (QAbstractButton* button : shown->findChildren<QAbstractButton*>()) {
        if (button->text().remove(QLatin1Char('&')) == text && button->isVisible()) {
            button->click();
            return;
        }
    }
    ADD_FAILURE() << "no button \"" << text.toStdString() << "\" in \"" << shown->windowTitle().toStdString()
                  << "\"";
    shown->close();
}

void ClickMenuItem(QWidget* shown, const QString& caption) {
    if (auto* menu = qobject_cast<QMenu*>(shown)) {
        for (QAction* item : menu->actions()) {
            if (item->text() != caption) continue;
            QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, menu->actionGeometry(item).center());
            return;
        }
    }
    ADD_FAILURE() << "no menu item \"" << caption.toStdString() << "\"";
    shown->close();
}

DialogAnswerer::Answer AnswerBox(const QString& caption, const QString& button,
                                 std::function<void(QMessageBox* box)> whileOpen) {
    return [caption, button, whileOpen = std::move(whileOpen)](QWidget* shown) {
        auto* box = qobject_cast<QMessageBox*>(shown);
        EXPECT_NE(box, nullptr) << "a message box, not \"" << shown->windowTitle().toStdString() << "\"";
        EXPECT_EQ(shown->windowTitle(), caption);
        if (box != nullptr && whileOpen) whileOpen(box);
        ClickButton(shown, button);
    };
}

}  // namespace tintwright::qt::testing
