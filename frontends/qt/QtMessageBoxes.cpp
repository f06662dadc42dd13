#include "frontends/qt/QtMessageBoxes.h"

#include <QEventLoop>
#include <QMessageBox>
#include <QPointer>
#include <QWindow>

#include "frontends/qt/QtConversions.h"
#include "window/WindowSystem.h"

namespace tintwright::qt {
namespace {

constexpr unsigned kIconMask = 0xF0;
constexpr unsigned kButtonMask = 0x0F;

QMessageBox::Icon BoxIcon(unsigned style) {
    switch (style & kIconMask) {
        case box::kIconWarning:
            return QMessageBox::Warning;
        case box::kIconInformation:
            return QMessageBox::Information;
        case box::kIconQuestion:
            return QMessageBox::Question;
        default:
            return QMessageBox::NoIcon;
    }
}

bool IsYesNo(unsigned style) {
    return (style & kButtonMask) == box::kYesNo;
}

// The logic writes line breaks as "\r\n".
QString BoxText(std::string_view text) {
    return ToQString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// Closing a Yes/No box counts as No, as its escape button.
int Answer(const QMessageBox& box, unsigned style) {
    if (!IsYesNo(style)) return box::kAnswerOk;
    return box.clickedButton() == box.button(QMessageBox::Yes) ? box::kAnswerYes : box::kAnswerNo;
}

void RunOwnedBy(QMessageBox& box, QWidget* owner) {
    box.winId();  // a native window now, so it can be kept in front of its owner
    if (box.windowHandle() != nullptr && owner->windowHandle() != nullptr) {
        box.windowHandle()->setTransientParent(owner->windowHandle());
    }
    // A message box is application-modal by default, which would block every
    // window; disabling the owner alone is what keeps the others usable.
    box.setWindowModality(Qt::NonModal);
    QPointer<QWidget> guardedOwner(owner);
    owner->setEnabled(false);
    QEventLoop loop;
    QObject::connect(&box, &QDialog::finished, &loop, &QEventLoop::quit);
    QObject::connect(owner, &QObject::destroyed, &loop, &QEventLoop::quit);
    box.adjustSize();
    box.move(owner->frameGeometry().center() - box.rect().center());
    box.show();
    loop.exec();
    if (guardedOwner) guardedOwner->setEnabled(true);
}

}  // namespace

int ShowOwnedMessageBox(QWidget* owner, std::string_view text, std::string_view caption, unsigned style) {
    const auto buttons = IsYesNo(style) ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok;
    QMessageBox box(BoxIcon(style), ToQString(caption), BoxText(text), buttons);
    box.setTextFormat(Qt::PlainText);
    if (IsYesNo(style)) box.setEscapeButton(QMessageBox::No);
    if (owner == nullptr) {
        box.exec();
    } else {
        RunOwnedBy(box, owner);
    }
    return Answer(box, style);
}

}  // namespace tintwright::qt
