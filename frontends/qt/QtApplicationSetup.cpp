#include "frontends/qt/QtApplicationSetup.h"

#include <QApplication>
#include <QFont>
#include <QStyleFactory>

#include "frontends/qt/QtResourceImages.h"

namespace tintwright::qt {
namespace {

// Small enough that every caption fits the rectangle the layout gives it.
constexpr int kFontPixelSize = 10;

}  // namespace

// Wayland is the fallback when there is no X server at all: the editor still
// works there, only the screen tracker cannot see the screen.
void PrepareQtPlatform() {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "xcb;wayland");
}

void ConfigureApplication(QApplication& application) {
    application.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(kFontPixelSize);
    application.setFont(font);
    application.setWindowIcon(ProgramIcon());
    application.setQuitOnLastWindowClosed(false);
}

}  // namespace tintwright::qt
