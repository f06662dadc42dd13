#include "frontends/qt/QtMainWindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionButton>
#include <QUrl>
#include <string>

#include "frontends/qt/QtClientArea.h"
#include "frontends/qt/QtConversions.h"
#include "frontends/qt/QtKeyUpEdit.h"
#include "frontends/qt/QtLocationList.h"
#include "frontends/qt/QtPaletteStrip.h"
#include "frontends/qt/QtPickerPicture.h"
#include "frontends/qt/QtResourceImages.h"
#include "frontends/qt/QtSwatch.h"
#include "window/ControlIds.h"

namespace tintwright::qt {
namespace {

// A trackbar's range before the logic sets its own.
constexpr int kDefaultSliderMaximum = 100;

// Minimise and close, but no maximise: the layout is fixed.
constexpr Qt::WindowFlags kMainWindowFlags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                             Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                             Qt::WindowCloseButtonHint;

Qt::Alignment StaticAlignment(std::uint32_t styles) {
    const Qt::Alignment horizontal = (styles & style::kCentered) != 0 ? Qt::AlignHCenter : Qt::AlignLeft;
    const Qt::Alignment vertical = (styles & style::kCenterImage) != 0 ? Qt::AlignVCenter : Qt::AlignTop;
    return horizontal | vertical;
}

bool IsSwatch(int id) {
    return id == ids::kCurrentSwatch || id == ids::kStoredSwatch;
}

// Below this a caption is no longer worth reading; it is cut instead.
constexpr int kSmallestCaptionPixels = 8;

int CaptionSpace(const QAbstractButton* button) {
    QStyleOptionButton option;
    option.initFrom(button);
    const auto element = qobject_cast<const QCheckBox*>(button) != nullptr ? QStyle::SE_CheckBoxContents
                                                                           : QStyle::SE_PushButtonContents;
    return button->style()->subElementRect(element, &option, button).width();
}

// DejaVu Sans runs wider than the font the layout was drawn for: a caption
// that would be cut off gets a smaller size of the same font.
void FitCaption(QAbstractButton* button) {
    QFont font = button->font();
    const int space = CaptionSpace(button);
    while (font.pixelSize() > kSmallestCaptionPixels &&
           QFontMetrics(font).horizontalAdvance(button->text()) > space) {
        font.setPixelSize(font.pixelSize() - 1);
    }
    button->setFont(font);
}

// The dragged URLs that name local files, as the system's 8-bit file names,
// which the file seam takes unchanged.
std::vector<std::string> LocalFilePaths(const QMimeData& data) {
    std::vector<std::string> paths;
    for (const QUrl& url : data.urls()) {
        if (url.isLocalFile()) paths.push_back(QFile::encodeName(url.toLocalFile()).toStdString());
    }
    return paths;
}

}  // namespace

QtMainWindow::QtMainWindow(MainWindowEvents& events, std::function<void(int)> postCommand)
    : QMainWindow(nullptr, kMainWindowFlags), events_(events), postCommand_(std::move(postCommand)) {
    setWindowTitle(ToQString(kMainWindowCaption));
    setAcceptDrops(true);
    setWindowIcon(ProgramIcon());
    clientArea_ = new QtClientArea(events_, this);
    clientArea_->setMinimumSize(kClientWidthPixels, kClientHeightPixels);
    setCentralWidget(clientArea_);
    BuildMenuBar();
    BuildControls();
    // The menu bar's height depends on the font and style, so it is measured.
    resize(kClientWidthPixels, kClientHeightPixels + menuBar()->sizeHint().height());
}

QWidget* QtMainWindow::Control(int id) const {
    const auto found = controls_.find(id);
    return found == controls_.end() ? nullptr : found->second;
}

QMenu* QtMainWindow::Popup(int index) const {
    if (index < 0 || index >= static_cast<int>(popups_.size())) return nullptr;
    return popups_[static_cast<std::size_t>(index)];
}

// The logic decides what closing means; it destroys the window itself.
void QtMainWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (isEnabled()) events_.OnClose();  // not while a message box of this window is open
}

// Only local files are taken; the logic decides what each one means.
void QtMainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!LocalFilePaths(*event->mimeData()).empty()) event->acceptProposedAction();
}

void QtMainWindow::dragMoveEvent(QDragMoveEvent* event) {
    if (!LocalFilePaths(*event->mimeData()).empty()) event->acceptProposedAction();
}

void QtMainWindow::dropEvent(QDropEvent* event) {
    std::vector<std::string> paths = LocalFilePaths(*event->mimeData());
    if (paths.empty()) return;
    event->acceptProposedAction();
    const QPoint client = clientArea_->mapFrom(this, event->position().toPoint());
    events_.OnFilesDropped(std::move(paths), {client.x(), client.y()});
}

// Tab moves nothing: the window has no dialog keyboard handling.
bool QtMainWindow::focusNextPrevChild(bool) {
    return true;
}

void QtMainWindow::BuildMenuBar() {
    for (const MenuPopupEntry& popup : MenuBar()) popups_.push_back(BuildPopup(popup));
}

QMenu* QtMainWindow::BuildPopup(const MenuPopupEntry& popup) {
    QMenu* menu = menuBar()->addMenu(ToQString(popup.caption));
    for (const MenuItemEntry& item : popup.items) {
        if (item.IsSeparator()) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(ToQString(item.caption));
        action->setData(item.id);
        connect(action, &QAction::triggered, this, [this, id = item.id] { postCommand_(id); });
    }
    return menu;
}

// Created in template order; each new control goes below the ones before it,
// so where two overlap the earlier one is in front, as in the template.
void QtMainWindow::BuildControls() {
    for (const ControlEntry& entry : MainWindowControls()) {
        QWidget* control = CreateControl(entry);
        if (entry.kind != ControlKind::BitmapStatic) control->setGeometry(ToQRect(ControlPixelRect(entry)));
        if (auto* button = qobject_cast<QAbstractButton*>(control)) FitCaption(button);
        control->setObjectName(QString::number(entry.id));
        control->lower();
        controls_[entry.id] = control;
    }
}

QWidget* QtMainWindow::CreateControl(const ControlEntry& entry) {
    switch (entry.kind) {
        case ControlKind::ListBox:
            return CreateListBox(entry);
        case ControlKind::PushButton:
            return CreatePushButton(entry);
        case ControlKind::Static:
            return CreateStatic(entry);
        case ControlKind::BitmapStatic:
            return CreatePicker(entry);
        case ControlKind::Edit:
            return CreateEdit(entry);
        case ControlKind::Slider:
            return CreateSlider(entry);
        case ControlKind::CheckBox:
            return CreateCheckBox(entry);
    }
    return CreateStatic(entry);
}

QWidget* QtMainWindow::CreateListBox(const ControlEntry& entry) {
    return new QtLocationList(events_, entry.id, clientArea_);
}

QWidget* QtMainWindow::CreatePushButton(const ControlEntry& entry) {
    auto* button = new QPushButton(ToQString(entry.caption), clientArea_);
    button->setFlat((entry.styles & style::kFlat) != 0);
    button->setAutoDefault(false);
    button->setAttribute(Qt::WA_NoMousePropagation);
    button->installEventFilter(clientArea_);
    connect(button, &QPushButton::clicked, this, [this, id = entry.id] { events_.OnCommand(id, 0); });
    return button;
}

// Statics take no mouse input: presses over them belong to the client area.
QWidget* QtMainWindow::CreateStatic(const ControlEntry& entry) {
    if (entry.id == ids::kStrip) return strip_ = new QtPaletteStrip(events_, clientArea_);
    if (IsSwatch(entry.id)) return new QtSwatch(events_, entry.id, clientArea_);
    auto* label = new QLabel(ToQString(entry.caption), clientArea_);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(StaticAlignment(entry.styles));
    label->setWordWrap((entry.styles & style::kCenterImage) == 0);
    if ((entry.styles & style::kSunken) != 0) label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setEnabled((entry.styles & style::kDisabled) == 0);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

// The control takes the picture's size at the layout's place.
QWidget* QtMainWindow::CreatePicker(const ControlEntry& entry) {
    auto* picker = new QtPickerPicture(PickerImage(), clientArea_);
    picker->move(ToQRect(ControlPixelRect(entry)).topLeft());
    return picker;
}

QWidget* QtMainWindow::CreateEdit(const ControlEntry& entry) {
    const bool colorEdit =
        entry.id == ids::kRedEdit || entry.id == ids::kGreenEdit || entry.id == ids::kBlueEdit;
    QLineEdit* edit =
        colorEdit ? new QtKeyUpEdit(events_, entry.id, clientArea_) : new QLineEdit(clientArea_);
    edit->setAttribute(Qt::WA_NoMousePropagation);
    // A file dropped on a box goes to the window, as with the Win32 edits.
    edit->setAcceptDrops(false);
    edit->installEventFilter(clientArea_);
    return edit;
}

// Only the user's moves notify: positions the logic sets are silent, because
// the window system blocks the signal while it sets them.
QWidget* QtMainWindow::CreateSlider(const ControlEntry& entry) {
    auto* slider = new QSlider(Qt::Horizontal, clientArea_);
    slider->setRange(0, kDefaultSliderMaximum);
    slider->setAttribute(Qt::WA_NoMousePropagation);
    connect(slider, &QSlider::valueChanged, this, [this, id = entry.id] { events_.OnHScroll(id); });
    connect(slider, &QSlider::sliderReleased, this, [this, id = entry.id] { events_.OnHScroll(id); });
    return slider;
}

QWidget* QtMainWindow::CreateCheckBox(const ControlEntry& entry) {
    auto* checkBox = new QCheckBox(ToQString(entry.caption), clientArea_);
    checkBox->setAttribute(Qt::WA_NoMousePropagation);
    connect(checkBox, &QCheckBox::clicked, this, [this, id = entry.id] { events_.OnCommand(id, 0); });
    return checkBox;
}

}  // namespace tintwright::qt
