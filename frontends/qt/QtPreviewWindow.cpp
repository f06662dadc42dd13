#include "frontends/qt/QtPreviewWindow.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <algorithm>

#include "frontends/qt/QtPreviewPicture.h"

namespace tintwright::qt {
namespace {

constexpr quint32 kRightShiftKeySymbol = 0xFFE2;  // XK_Shift_R

}  // namespace

PreviewKey PreviewKeyOf(int qtKey, quint32 nativeVirtualKey) {
    switch (qtKey) {
        case Qt::Key_Up:
            return PreviewKey::Up;
        case Qt::Key_Down:
            return PreviewKey::Down;
        case Qt::Key_Left:
            return PreviewKey::Left;
        case Qt::Key_Right:
            return PreviewKey::Right;
        case Qt::Key_X:
            return PreviewKey::X;
        case Qt::Key_Z:
            return PreviewKey::Z;
        case Qt::Key_S:
            return PreviewKey::S;
        case Qt::Key_A:
            return PreviewKey::A;
        case Qt::Key_Q:
            return PreviewKey::Q;
        case Qt::Key_W:
            return PreviewKey::W;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return PreviewKey::Enter;
        case Qt::Key_Shift:
            return nativeVirtualKey == kRightShiftKeySymbol ? PreviewKey::RightShift : PreviewKey::Other;
        case Qt::Key_Space:
            return PreviewKey::Space;
        case Qt::Key_Backspace:
            return PreviewKey::Backspace;
        case Qt::Key_L:
            return PreviewKey::L;
        default:
            return PreviewKey::Other;
    }
}

// Without a parent the window is top-level and nobody's dialog; it appears
// without taking the keyboard from the main window.
QtPreviewWindow::QtPreviewWindow(MainWindowEvents& events, PreviewHandle handle)
    : events_(events), handle_(handle), picture_(new QtPreviewPicture(this)), status_(new QLabel(this)) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::StrongFocus);
    status_->setContentsMargins(4, 1, 4, 1);
    status_->setTextFormat(Qt::PlainText);
    status_->setWordWrap(true);
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, this, [this] {
        if (!retired_) events_.OnPreviewTimer(handle_);
    });
    FitToPicture();
}

void QtPreviewWindow::Present(const PreviewFrame& frame) {
    if (picture_->Show(frame)) FitToPicture();
}

// A status longer than the picture is wide wraps onto more lines under it,
// never widening the window: every place it names stays readable.
void QtPreviewWindow::SetStatus(const QString& text) {
    status_->setText(text);
    FitToPicture();
}

void QtPreviewWindow::StartTimer(int milliseconds) {
    timer_.start(milliseconds);
}

void QtPreviewWindow::StopTimer() {
    timer_.stop();
}

void QtPreviewWindow::Retire() {
    retired_ = true;
    timer_.stop();
    hide();
}

void QtPreviewWindow::FitToPicture() {
    const int width = picture_->width();
    // At least one line, also while there is no text yet.
    const int statusHeight = std::max(status_->heightForWidth(width), status_->sizeHint().height());
    picture_->move(0, 0);
    status_->setGeometry(0, picture_->height(), width, statusHeight);
    setFixedSize(width, picture_->height() + statusHeight);
}

// Held keys repeat as further presses (and, on X11, releases); only the
// real ones reach the logic.
void QtPreviewWindow::DeliverKey(QKeyEvent* event, bool pressed) {
    if (event->isAutoRepeat() || retired_) return;
    events_.OnPreviewKey(handle_, PreviewKeyOf(event->key(), event->nativeVirtualKey()), pressed);
}

void QtPreviewWindow::keyPressEvent(QKeyEvent* event) {
    DeliverKey(event, true);
}

void QtPreviewWindow::keyReleaseEvent(QKeyEvent* event) {
    DeliverKey(event, false);
}

// The window stays until the logic destroys it, which it may do inside the call.
void QtPreviewWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (!retired_) events_.OnPreviewClose(handle_);
}

}  // namespace tintwright::qt
