#pragma once

// The preview window's picture: the last frame, each of its pixels a square
// of whole device pixels, drawn from one QImage over the kept pixels.

#include <QWidget>
#include <cstdint>
#include <vector>

#include "window/PreviewFrame.h"

namespace tintwright::qt {

class QtPreviewPicture final : public QWidget {
    Q_OBJECT
public:
    // Black at the size of a 256 × 224 frame until the first frame arrives.
    explicit QtPreviewPicture(QWidget* parent);

    // Keeps a copy of a presentable frame and repaints; false when its size
    // or scale changed, so the window must fit itself again.
    bool Show(const PreviewFrame& frame);
    int Scale() const { return scale_; }  // device pixels per frame pixel

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Fixes the widget's size in logical pixels for the frame at the screen's
    // ratio; false when nothing changed.
    bool FitSize();

    int frameWidth_ = 256;
    int frameHeight_ = 224;
    int scale_ = 0;
    std::vector<std::uint32_t> pixels_;  // 0xFFRRGGBB, as QImage::Format_RGB32 wants them
};

}  // namespace tintwright::qt
