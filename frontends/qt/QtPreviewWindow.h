#pragma once

// A preview window: a top-level window of its own with the frame above a
// one-line status. Keys, its own timer and the close box go to the logic
// with the window's handle; the logic destroys the window itself.

#include <QTimer>
#include <QWidget>

#include "window/WindowSystem.h"

class QLabel;

namespace tintwright::qt {

class QtPreviewPicture;

// The seam's key for a Qt key; Right Shift is told from the left one by the
// X11 key symbol, the only place Qt keeps that difference.
PreviewKey PreviewKeyOf(int qtKey, quint32 nativeVirtualKey);

class QtPreviewWindow final : public QWidget {
    Q_OBJECT
public:
    QtPreviewWindow(MainWindowEvents& events, PreviewHandle handle);

    void Present(const PreviewFrame& frame);
    void SetStatus(const QString& text);
    void StartTimer(int milliseconds);
    void StopTimer();
    // Hidden, and silent until Qt deletes it: events already queued for the
    // window reach nobody.
    void Retire();

    QtPreviewPicture* Picture() const { return picture_; }
    QLabel* StatusLine() const { return status_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // The window's size is the picture's with the status line under it.
    void FitToPicture();
    void DeliverKey(QKeyEvent* event, bool pressed);

    MainWindowEvents& events_;
    PreviewHandle handle_;
    QtPreviewPicture* picture_;  // owned by the window
    QLabel* status_;             // owned by the window
    QTimer timer_;
    bool retired_ = false;
};

}  // namespace tintwright::qt
