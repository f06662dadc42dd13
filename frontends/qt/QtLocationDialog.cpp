#include "frontends/qt/QtLocationDialog.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QValidator>

#include "frontends/qt/QtConversions.h"
#include "frontends/qt/QtWidgetText.h"

namespace tintwright::qt {
namespace {

// The fields hold what the logic reads with its 256-byte buffers.
constexpr int kFieldMaxLength = 255;

// The logic's characters are bytes, and the text crosses the seam as UTF-8,
// so a field stops taking keys at 255 bytes rather than 255 letters: what the
// user sees in it is all that gets written.
class FieldByteLimit final : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int&) const override {
        return input.toUtf8().size() <= kFieldMaxLength ? Acceptable : Invalid;
    }
};

constexpr Qt::WindowFlags kDialogFlags =
    Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

}  // namespace

QtLocationDialog::QtLocationDialog(MainWindowEvents& events, DialogHandle handle)
    : QWidget(nullptr, kDialogFlags), events_(events), handle_(handle) {
    setWindowTitle(ToQString(kLocationDialogCaption));
    resize(HorizontalUnitsToPixels(kLocationDialogUnits.width),
           VerticalUnitsToPixels(kLocationDialogUnits.height));
    for (const ControlEntry& entry : LocationDialogControls()) {
        QWidget* item = CreateItem(entry);
        item->setGeometry(ToQRect(ControlPixelRect(entry)));
        item->setObjectName(QString::number(entry.id));
        items_[entry.id] = item;
    }
}

QWidget* QtLocationDialog::CreateItem(const ControlEntry& entry) {
    if (entry.kind == ControlKind::Edit) {
        auto* field = new QLineEdit(this);
        field->setMaxLength(kFieldMaxLength);
        field->setValidator(new FieldByteLimit(field));
        return field;
    }
    auto* button = new QPushButton(ToQString(entry.caption), this);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this,
            [this, id = entry.id] { events_.OnLocationDialogCommand(handle_, id, 0); });
    return button;
}

QWidget* QtLocationDialog::Item(int id) const {
    const auto found = items_.find(id);
    return found == items_.end() ? nullptr : found->second;
}

void QtLocationDialog::SetItemText(int id, const QString& text) {
    SetWidgetText(id == 0 ? this : Item(id), text);
}

std::string QtLocationDialog::ItemText(int id, std::size_t maxChars) const {
    return ToStdString(WidgetText(id == 0 ? this : Item(id)), maxChars);
}

void QtLocationDialog::EnableItem(int id, bool enabled) {
    if (QWidget* item = Item(id)) item->setEnabled(enabled);
}

void QtLocationDialog::ShowItem(int id, bool shown) {
    if (QWidget* item = Item(id)) item->setVisible(shown);
}

// The logic ends the dialog; not while one of its message boxes is open.
void QtLocationDialog::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (isEnabled()) events_.OnLocationDialogClose(handle_);
}

// Tab, like Enter and Escape, has no dialog meaning here.
bool QtLocationDialog::focusNextPrevChild(bool) {
    return true;
}

}  // namespace tintwright::qt
