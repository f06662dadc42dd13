#include "frontends/qt/QtWindowSystem.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QImage>
#include <QMenu>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QSignalBlocker>
#include <QSlider>
#include <QThread>
#include <QTimer>
#include <QWindow>
#include <algorithm>

#include "frontends/qt/QtClientArea.h"
#include "frontends/qt/QtColorChoice.h"
#include "frontends/qt/QtConversions.h"
#include "frontends/qt/QtLocationDialog.h"
#include "frontends/qt/QtLocationList.h"
#include "frontends/qt/QtMainWindow.h"
#include "frontends/qt/QtMessageBoxes.h"
#include "frontends/qt/QtPaletteStrip.h"
#include "frontends/qt/QtPickerPicture.h"
#include "frontends/qt/QtPreviewWindow.h"
#include "frontends/qt/QtRomFileDialog.h"
#include "frontends/qt/QtScreenPoints.h"
#include "frontends/qt/QtWidgetText.h"
#include "frontends/qt/X11Screen.h"
#include "window/DialogInteger.h"
#include "window/GuardedEvents.h"
#include "window/Layout.h"

namespace tintwright::qt {
namespace {

// GetDlgItemInt reads numbers of any length the field can hold.
constexpr std::size_t kNumberTextLimit = 1024;

// A box in front of the active window.
void ShowWarning(const std::string& text) {
    ShowOwnedMessageBox(QApplication::activeWindow(), text, "Tintwright", box::kOk | box::kIconWarning);
}

void ReportEscapedException(const char* what) noexcept {
    ShowEscapedException(ShowWarning, what);
}

// To the right of the main window, kept inside the screen's working area.
void PlaceBeside(QWidget* window, const QWidget* mainWindow) {
    const QRect main = mainWindow->frameGeometry();
    QPoint at(main.right() + 9, main.top());
    if (const QScreen* screen = mainWindow->screen()) {
        const QRect area = screen->availableGeometry();
        const QSize size = window->frameGeometry().size();
        at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() + 1 - size.width())));
        at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() + 1 - size.height())));
    }
    window->move(at);
}

}  // namespace

void DeleteLater::operator()(QObject* object) const {
    object->deleteLater();
}

QtWindowSystem::QtWindowSystem() = default;

// Nothing runs any more once the window system goes: the windows are deleted
// at once rather than left to a loop that will not come back.
QtWindowSystem::~QtWindowSystem() {
    for (auto& [handle, preview] : previews_) delete preview.release();
    for (auto& [handle, dialog] : dialogs_) delete dialog.release();
    delete mainWindow_.release();
}

QtLocationDialog* QtWindowSystem::LocationDialog(DialogHandle dialog) const {
    const auto found = dialogs_.find(dialog);
    return found == dialogs_.end() ? nullptr : found->second.get();
}

QtPreviewWindow* QtWindowSystem::PreviewWindow(PreviewHandle preview) const {
    const auto found = previews_.find(preview);
    return found == previews_.end() ? nullptr : found->second.get();
}

// --- Process and main window -------------------------------------------------

// Every event reaches the logic through the exception barrier, whichever
// widget, timer or queued call delivers it.
void QtWindowSystem::CreateMainWindow(MainWindowEvents& events) {
    guardedEvents_ = std::make_unique<GuardedEvents>(events, ReportEscapedException);
    events_ = guardedEvents_.get();
    mainWindow_.reset(new QtMainWindow(*events_, [this](int id) { PostCommand(id); }));
    mainWindow_->Strip()->onPainted = [this] {
        if (onStripPainted) onStripPainted();
    };
    events_->OnInitDialog();
    if (mainWindow_) ShowCentered();
}

// Centred on the screen's working area when it first appears, with the
// keyboard focus on the client area itself: no control has it until the user
// or the logic gives it one.
void QtWindowSystem::ShowCentered() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        mainWindow_->move(area.center() - mainWindow_->rect().center());
    }
    mainWindow_->ClientArea()->setFocus(Qt::OtherFocusReason);
    mainWindow_->show();
}

int QtWindowSystem::RunMainWindow(MainWindowEvents& events) {
    CreateMainWindow(events);
    // A quit asked for before the loop runs would otherwise be lost.
    const int exitCode = quitCode_ ? *quitCode_ : QApplication::exec();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return exitCode;
}

void QtWindowSystem::DestroyMainWindow() {
    if (!mainWindow_) return;
    SetMouseCapture(false);
    for (auto& [handle, dialog] : dialogs_) dialog->hide();
    dialogs_.clear();  // owned windows go with their owner
    // The previews are nobody's, but nothing is left open once the editor closes.
    for (auto& [handle, preview] : previews_) preview->Retire();
    previews_.clear();
    mainWindow_->hide();
    mainWindow_.reset();
    if (events_ != nullptr) events_->OnDestroy();
}

void QtWindowSystem::PostQuit(int exitCode) {
    quitCode_ = exitCode;
    QCoreApplication::exit(exitCode);
}

// --- Control text and numbers ------------------------------------------------

QWidget* QtWindowSystem::Control(int id) const {
    if (!mainWindow_) return nullptr;
    return id == 0 ? mainWindow_.get() : mainWindow_->Control(id);
}

template <typename Widget>
Widget* QtWindowSystem::ControlAs(int id) const {
    return qobject_cast<Widget*>(Control(id));
}

void QtWindowSystem::SetText(int id, std::string_view text) {
    SetWidgetText(Control(id), ToQString(text));
}

std::string QtWindowSystem::GetText(int id, std::size_t maxChars) {
    return ToStdString(WidgetText(Control(id)), maxChars);
}

void QtWindowSystem::SetNumber(int id, std::int32_t value, bool isSigned) {
    SetText(id, FormatDialogInteger(value, isSigned));
}

std::optional<std::int32_t> QtWindowSystem::GetSignedNumber(int id) {
    return ParseDialogInteger(GetText(id, kNumberTextLimit), true);
}

// --- Sliders -------------------------------------------------------------------

// Positions the logic sets do not come back to it as slider moves.
void QtWindowSystem::SetSliderRangeMax(int id, int maximum) {
    if (auto* slider = ControlAs<QSlider>(id)) {
        const QSignalBlocker silent(slider);
        slider->setMaximum(maximum);
    }
}

void QtWindowSystem::SetSliderPosition(int id, int position) {
    if (auto* slider = ControlAs<QSlider>(id)) {
        const QSignalBlocker silent(slider);
        slider->setValue(position);
    }
}

int QtWindowSystem::GetSliderPosition(int id) {
    const auto* slider = ControlAs<QSlider>(id);
    return slider == nullptr ? 0 : slider->value();
}

// --- The location list -----------------------------------------------------------

void QtWindowSystem::ListReset(int id) {
    if (auto* list = ControlAs<QtLocationList>(id)) list->Reset();
}

void QtWindowSystem::ListAddString(int id, std::string_view text) {
    if (auto* list = ControlAs<QtLocationList>(id)) list->AddRow(ToQString(text));
}

int QtWindowSystem::ListSelection(int id) {
    const auto* list = ControlAs<QtLocationList>(id);
    return list == nullptr ? -1 : list->SelectedRow();
}

std::string QtWindowSystem::ListRowText(int id, int row) {
    const auto* list = ControlAs<QtLocationList>(id);
    return list == nullptr ? std::string() : ToStdString(list->RowText(row));
}

void QtWindowSystem::ListDeleteRow(int id, int row) {
    if (auto* list = ControlAs<QtLocationList>(id)) list->DeleteRow(row);
}

void QtWindowSystem::ListClickAt(int id, Point listClient) {
    if (auto* list = ControlAs<QtLocationList>(id)) list->ClickAt(ToQPoint(listClient));
}

// --- Painting, focus, check boxes --------------------------------------------------

void QtWindowSystem::Invalidate(int id, bool) {
    if (QWidget* control = Control(id)) control->update();
}

void QtWindowSystem::SetFocus(int id) {
    if (QWidget* control = Control(id)) control->setFocus(Qt::OtherFocusReason);
}

bool QtWindowSystem::IsChecked(int id) {
    const auto* button = ControlAs<QAbstractButton>(id);
    return button != nullptr && button->isChecked();
}

// --- Boxes and system dialogs --------------------------------------------------------

int QtWindowSystem::ShowMessageBox(std::string_view text, std::string_view caption, unsigned style) {
    return ShowOwnedMessageBox(mainWindow_.get(), text, caption, style);
}

std::optional<std::string> QtWindowSystem::ShowFileDialog(const FileDialogRequest& request) {
    const auto opened = std::chrono::steady_clock::now();
    auto chosen = QtRomFileDialog::Ask(request);
    timeInFileDialogs_ +=
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - opened);
    return chosen;
}

std::optional<RgbColor> QtWindowSystem::ShowColorDialog(const ColorDialogRequest& request) {
    return AskColor(request, mainWindow_.get());
}

// --- Mouse, screen and keyboard --------------------------------------------------------

// While captured, moves and the release arrive even from outside the window.
void QtWindowSystem::SetMouseCapture(bool captured) {
    if (!mainWindow_) return;
    QWidget* area = mainWindow_->ClientArea();
    if (captured && area->isVisible()) {
        area->grabMouse();
    } else if (!captured && QWidget::mouseGrabber() == area) {
        area->releaseMouse();
    }
}

// Asked of the X server when there is one, so the position names the very
// pixel ScreenPixel reads. Qt's own is in logical pixels, rounded: on a scaled
// screen, scaled back it can name the pixel beside the pointer.
Point QtWindowSystem::CursorScreenPosition() {
    if (X11Screen* x11 = Screen()) {
        if (const std::optional<Point> pointer = x11->PointerPosition()) return *pointer;
    }
    return ToPhysicalScreen(QCursor::pos());
}

Point QtWindowSystem::MapMainClientToControl(int id, Point mainClient) {
    QWidget* control = Control(id);
    if (control == nullptr || control == mainWindow_.get()) return mainClient;
    return FromQPoint(control->mapFrom(mainWindow_->ClientArea(), ToQPoint(mainClient)));
}

X11Screen* QtWindowSystem::Screen() {
    if (!screenOpened_) {
        screen_ = X11Screen::OpenForApplication();
        screenOpened_ = true;
    }
    return screen_.get();
}

RgbColor QtWindowSystem::ScreenPixel(Point screen) {
    X11Screen* x11 = Screen();
    return x11 == nullptr ? kUnreadablePixel : x11->PixelAt(screen);
}

// What the control shows at that point, children and all. The picker answers
// from its picture: a grab on a scaled screen holds several device pixels for
// one layout pixel, and at a fractional scale ones of the neighbouring pixel.
RgbColor QtWindowSystem::ControlPixel(int id, Point controlClient) {
    QWidget* control = Control(id);
    const QPoint point = ToQPoint(controlClient);
    if (control == nullptr || !control->rect().contains(point)) return kUnreadablePixel;
    if (const auto* picker = qobject_cast<QtPickerPicture*>(control)) return picker->PixelAt(point);
    const QImage pixel = control->grab(QRect(point, QSize(1, 1))).toImage();
    return pixel.isNull() ? kUnreadablePixel : FromQColor(pixel.pixelColor(0, 0));
}

bool QtWindowSystem::LeftControlPressedSinceLastCall() {
    X11Screen* x11 = Screen();
    return x11 != nullptr && x11->LeftControlPressedSinceLastCall();
}

// --- Menus and posted messages ----------------------------------------------------------

// Returns when the menu has closed; the chosen item follows as a posted
// command (the menu bar's actions post theirs). Qt's menus need no null
// message afterwards to wake the loop.
void QtWindowSystem::ShowPopupMenu(int popupIndex, Point screen) {
    if (!mainWindow_) return;
    mainWindow_->raise();
    mainWindow_->activateWindow();
    if (QMenu* popup = mainWindow_->Popup(popupIndex)) popup->exec(ToLogicalScreen(screen));
}

void QtWindowSystem::Post(std::function<void(MainWindowEvents&)> deliver) {
    QMetaObject::invokeMethod(
        &postingContext_,
        [this, deliver = std::move(deliver)] {
            if (mainWindow_ && events_ != nullptr) deliver(*events_);
        },
        Qt::QueuedConnection);
}

void QtWindowSystem::PostCommand(int id) {
    Post([id](MainWindowEvents& events) { events.OnCommand(id, 0); });
}

void QtWindowSystem::PostListChanged() {
    Post([](MainWindowEvents& events) { events.OnListChanged(); });
}

// --- Timers -------------------------------------------------------------------------------

void QtWindowSystem::StartTimer(int id, int milliseconds) {
    std::unique_ptr<QTimer>& timer = timers_[id];
    if (!timer) {
        timer = std::make_unique<QTimer>();
        QObject::connect(timer.get(), &QTimer::timeout, &postingContext_, [this] {
            if (events_ != nullptr) events_->OnTimer();
        });
    }
    timer->start(milliseconds);
}

void QtWindowSystem::StopTimer(int id) {
    timers_.erase(id);
}

// --- Location dialogs -----------------------------------------------------------------------

DialogHandle QtWindowSystem::CreateLocationDialog(LocationDialogForm form, std::uint32_t parameter) {
    if (!mainWindow_ || events_ == nullptr) return 0;
    const DialogHandle handle = nextDialog_++;
    auto* dialog = new QtLocationDialog(*events_, handle);
    dialogs_[handle].reset(dialog);
    const QPoint offset(HorizontalUnitsToPixels(kLocationDialogUnits.x),
                        VerticalUnitsToPixels(kLocationDialogUnits.y));
    dialog->move(mainWindow_->ClientArea()->mapToGlobal(offset));
    dialog->winId();  // native now, so it can be kept in front of the main window
    if (dialog->windowHandle() != nullptr && mainWindow_->windowHandle() != nullptr) {
        dialog->windowHandle()->setTransientParent(mainWindow_->windowHandle());
    }
    events_->OnLocationDialogInit(handle, form, parameter);
    if (QtLocationDialog* stillOpen = LocationDialog(handle)) stillOpen->show();
    return handle;
}

void QtWindowSystem::SetDialogText(DialogHandle dialog, int id, std::string_view text) {
    if (QtLocationDialog* found = LocationDialog(dialog)) found->SetItemText(id, ToQString(text));
}

std::string QtWindowSystem::GetDialogText(DialogHandle dialog, int id, std::size_t maxChars) {
    const QtLocationDialog* found = LocationDialog(dialog);
    return found == nullptr ? std::string() : found->ItemText(id, maxChars);
}

void QtWindowSystem::EnableDialogItem(DialogHandle dialog, int id, bool enabled) {
    if (QtLocationDialog* found = LocationDialog(dialog)) found->EnableItem(id, enabled);
}

void QtWindowSystem::ShowDialogItem(DialogHandle dialog, int id, bool shown) {
    if (QtLocationDialog* found = LocationDialog(dialog)) found->ShowItem(id, shown);
}

int QtWindowSystem::ShowDialogMessageBox(DialogHandle dialog, std::string_view text, std::string_view caption,
                                         unsigned style) {
    QWidget* owner = LocationDialog(dialog);
    return ShowOwnedMessageBox(owner != nullptr ? owner : mainWindow_.get(), text, caption, style);
}

void QtWindowSystem::EndLocationDialog(DialogHandle dialog) {
    const auto found = dialogs_.find(dialog);
    if (found == dialogs_.end()) return;
    found->second->hide();
    dialogs_.erase(found);
}

// --- Preview windows -------------------------------------------------------------------------

PreviewHandle QtWindowSystem::CreatePreviewWindow(std::string_view title) {
    if (!mainWindow_ || events_ == nullptr) return 0;
    const PreviewHandle handle = nextPreview_++;
    auto* preview = new QtPreviewWindow(*events_, handle);
    previews_[handle].reset(preview);
    preview->setWindowTitle(ToQString(title));
    preview->setWindowIcon(mainWindow_->windowIcon());
    PlaceBeside(preview, mainWindow_.get());
    preview->show();
    return handle;
}

void QtWindowSystem::PresentPreviewFrame(PreviewHandle preview, const PreviewFrame& frame) {
    QtPreviewWindow* found = PreviewWindow(preview);
    if (found != nullptr && IsPresentable(frame)) found->Present(frame);
}

void QtWindowSystem::SetPreviewStatus(PreviewHandle preview, std::string_view text) {
    if (QtPreviewWindow* found = PreviewWindow(preview)) found->SetStatus(ToQString(text));
}

void QtWindowSystem::SetPreviewTitle(PreviewHandle preview, std::string_view title) {
    if (QtPreviewWindow* found = PreviewWindow(preview)) found->setWindowTitle(ToQString(title));
}

void QtWindowSystem::StartPreviewTimer(PreviewHandle preview, int milliseconds) {
    if (QtPreviewWindow* found = PreviewWindow(preview)) found->StartTimer(milliseconds);
}

void QtWindowSystem::StopPreviewTimer(PreviewHandle preview) {
    if (QtPreviewWindow* found = PreviewWindow(preview)) found->StopTimer();
}

// Deleted later: the logic may destroy the window from its own close or key event.
void QtWindowSystem::DestroyPreviewWindow(PreviewHandle preview) {
    const auto found = previews_.find(preview);
    if (found == previews_.end()) return;
    found->second->Retire();
    previews_.erase(found);
}

}  // namespace tintwright::qt
