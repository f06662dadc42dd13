#include "frontends/win32/Win32WindowSystem.h"

#include <vector>

#include "frontends/win32/CommonDialogs.h"
#include "frontends/win32/EscapedExceptionBox.h"
#include "frontends/win32/WindowDc.h"
#include "window/DialogInteger.h"
#include "window/Layout.h"

namespace tintwright {
namespace {

LPARAM PointParameter(Point point) {
    return MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y));
}

// At most maxChars characters, read into a buffer one longer.
std::string WindowText(HWND window, std::size_t maxChars) {
    std::string text(maxChars + 1, '\0');
    const int length = GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
    text.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return text;
}

std::string ItemText(HWND parent, int id, std::size_t maxChars) {
    if (id == 0) return WindowText(parent, maxChars);
    std::string text(maxChars + 1, '\0');
    const UINT length = GetDlgItemTextA(parent, id, text.data(), static_cast<int>(text.size()));
    text.resize(length);
    return text;
}

void SetItemText(HWND parent, int id, std::string_view text) {
    const std::string terminated(text);
    if (id == 0) {
        SetWindowTextA(parent, terminated.c_str());
    } else {
        SetDlgItemTextA(parent, id, terminated.c_str());
    }
}

}  // namespace

Win32WindowSystem::Win32WindowSystem(HINSTANCE instance)
    : instance_(instance), dialogs_(instance), previews_(instance), mainWindow_(instance) {
    InitCommonControls();
    INITCOMMONCONTROLSEX classes{};
    classes.dwSize = sizeof(classes);
    classes.dwICC = ICC_BAR_CLASSES;  // "msctls_trackbar32"
    InitCommonControlsEx(&classes);
}

Win32WindowSystem::~Win32WindowSystem() = default;

// Every event of the main window and the location dialogs reaches the logic
// through the exception barrier, as in the Qt front end.
int Win32WindowSystem::RunMainWindow(MainWindowEvents& events) {
    guardedEvents_ = std::make_unique<GuardedEvents>(events, win32::ReportEscapedException);
    dialogs_.SetEvents(guardedEvents_.get());
    previews_.SetEvents(guardedEvents_.get());
    const HWND window = mainWindow_.Create(*guardedEvents_);
    if (window == nullptr) {
        // Without a window the message loop would wait for ever.
        ShowBox(nullptr, "The main window could not be created.", kMainWindowCaption, MB_OK | MB_ICONWARNING);
        return -1;
    }
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    // No IsDialogMessage: Tab, Enter and Escape have no dialog meaning here.
    MSG message{};
    for (;;) {
        const BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == 0) return static_cast<int>(message.wParam);
        if (got == -1) return -1;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// The previews are nobody's, but nothing is left open once the editor closes.
void Win32WindowSystem::DestroyMainWindow() {
    previews_.DestroyAll();
    mainWindow_.Destroy();
}

void Win32WindowSystem::PostQuit(int exitCode) {
    PostQuitMessage(exitCode);
}

void Win32WindowSystem::SetText(int id, std::string_view text) {
    SetItemText(MainWindowHandle(), id, text);
}

std::string Win32WindowSystem::GetText(int id, std::size_t maxChars) {
    return ItemText(MainWindowHandle(), id, maxChars);
}

// Rewriting an edit puts its caret back at the start, and the logic rewrites
// a colour box while the user types in it (300 becomes 44): the box with the
// focus keeps its caret at the end of the new number.
void Win32WindowSystem::SetNumber(int id, std::int32_t value, bool isSigned) {
    const std::string text = FormatDialogInteger(value, isSigned);
    const HWND control = Control(id);
    SetDlgItemInt(MainWindowHandle(), id, static_cast<UINT>(value), isSigned);
    if (::GetFocus() == control) {
        const auto end = static_cast<LPARAM>(text.size());
        SendMessageA(control, EM_SETSEL, static_cast<WPARAM>(end), end);
    }
}

std::optional<std::int32_t> Win32WindowSystem::GetSignedNumber(int id) {
    BOOL translated = FALSE;
    const UINT value = GetDlgItemInt(MainWindowHandle(), id, &translated, TRUE);
    if (!translated) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

void Win32WindowSystem::SetSliderRangeMax(int id, int maximum) {
    SendMessageA(Control(id), TBM_SETRANGEMAX, TRUE, maximum);
}

void Win32WindowSystem::SetSliderPosition(int id, int position) {
    SendMessageA(Control(id), TBM_SETPOS, TRUE, position);
}

int Win32WindowSystem::GetSliderPosition(int id) {
    return static_cast<int>(SendMessageA(Control(id), TBM_GETPOS, 0, 0));
}

void Win32WindowSystem::ListReset(int id) {
    SendMessageA(Control(id), LB_RESETCONTENT, 0, 0);
}

void Win32WindowSystem::ListAddString(int id, std::string_view text) {
    const std::string terminated(text);
    SendMessageA(Control(id), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(terminated.c_str()));
}

int Win32WindowSystem::ListSelection(int id) {
    const LRESULT row = SendMessageA(Control(id), LB_GETCURSEL, 0, 0);
    return row == LB_ERR ? -1 : static_cast<int>(row);
}

std::string Win32WindowSystem::ListRowText(int id, int row) {
    const HWND list = Control(id);
    const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(row), 0);
    if (length == LB_ERR) return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const LRESULT copied =
        SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == LB_ERR ? 0 : static_cast<std::size_t>(copied));
    return text;
}

void Win32WindowSystem::ListDeleteRow(int id, int row) {
    SendMessageA(Control(id), LB_DELETESTRING, static_cast<WPARAM>(row), 0);
}

// The list's own click handling selects the row and notifies the main window.
void Win32WindowSystem::ListClickAt(int id, Point listClient) {
    const HWND list = Control(id);
    SendMessageA(list, WM_LBUTTONDOWN, 0, PointParameter(listClient));
    SendMessageA(list, WM_LBUTTONUP, 0, PointParameter(listClient));
}

void Win32WindowSystem::Invalidate(int id, bool erase) {
    InvalidateRect(id == 0 ? MainWindowHandle() : Control(id), nullptr, erase);
}

void Win32WindowSystem::SetFocus(int id) {
    ::SetFocus(Control(id));
}

bool Win32WindowSystem::IsChecked(int id) {
    return IsDlgButtonChecked(MainWindowHandle(), id) == BST_CHECKED;
}

int Win32WindowSystem::ShowBox(HWND owner, std::string_view text, std::string_view caption, unsigned style) {
    if (script_ != nullptr) {
        if (const auto answer = script_->AnswerMessageBox(owner, text, caption, style)) return *answer;
    }
    return MessageBoxA(owner, std::string(text).c_str(), std::string(caption).c_str(), style);
}

// Owned by the main window once it exists; at start-up there is none.
int Win32WindowSystem::ShowMessageBox(std::string_view text, std::string_view caption, unsigned style) {
    return ShowBox(MainWindowHandle(), text, caption, style);
}

std::optional<std::string> Win32WindowSystem::ShowFileDialog(const FileDialogRequest& request) {
    if (script_ != nullptr) {
        if (const auto answer = script_->AnswerFileDialog(request)) return answer->path;
    }
    return win32::RunFileDialog(request);
}

std::optional<RgbColor> Win32WindowSystem::ShowColorDialog(const ColorDialogRequest& request) {
    if (script_ != nullptr) {
        if (const auto answer = script_->AnswerColorDialog(request)) return answer->color;
    }
    return win32::RunColorDialog(MainWindowHandle(), instance_, request);
}

void Win32WindowSystem::SetMouseCapture(bool captured) {
    if (captured) {
        SetCapture(MainWindowHandle());
    } else {
        ReleaseCapture();
    }
}

Point Win32WindowSystem::CursorScreenPosition() {
    POINT cursor{};
    GetCursorPos(&cursor);
    return {cursor.x, cursor.y};
}

Point Win32WindowSystem::MapMainClientToControl(int id, Point mainClient) {
    POINT point{mainClient.x, mainClient.y};
    ClientToScreen(MainWindowHandle(), &point);
    ScreenToClient(Control(id), &point);
    return {point.x, point.y};
}

// GetPixel's failure value is the seam's unreadable pixel.
static_assert(CLR_INVALID == kUnreadablePixel);

RgbColor Win32WindowSystem::ScreenPixel(Point screen) {
    return GetPixel(screenDc_.Get(), screen.x, screen.y);
}

RgbColor Win32WindowSystem::ControlPixel(int id, Point controlClient) {
    const win32::WindowDc dc(Control(id));
    return GetPixel(dc.Get(), controlClient.x, controlClient.y);
}

// The low bit: pressed since the previous query, wherever the focus was.
bool Win32WindowSystem::LeftControlPressedSinceLastCall() {
    return (GetAsyncKeyState(VK_LCONTROL) & 1) != 0;
}

// The window must be in front, or the menu would not close when the user
// clicks elsewhere; the null message afterwards lets the menu's loop finish
// (the documented TrackPopupMenu remark). Flags 0: a chosen item arrives as
// WM_COMMAND, as from the menu bar.
void Win32WindowSystem::ShowPopupMenu(int popupIndex, Point screen) {
    const HWND window = MainWindowHandle();
    SetForegroundWindow(window);
    const HMENU popup = GetSubMenu(GetMenu(window), popupIndex);
    if (popup != nullptr) ::TrackPopupMenu(popup, 0, screen.x, screen.y, 0, window, nullptr);
    PostMessageA(window, WM_NULL, 0, 0);
}

void Win32WindowSystem::PostCommand(int id) {
    PostMessageA(MainWindowHandle(), WM_COMMAND, static_cast<WPARAM>(id), 0);
}

void Win32WindowSystem::PostListChanged() {
    PostMessageA(MainWindowHandle(), win32::kListChangedMessage, 0, 0);
}

void Win32WindowSystem::StartTimer(int id, int milliseconds) {
    SetTimer(MainWindowHandle(), static_cast<UINT_PTR>(id), static_cast<UINT>(milliseconds), nullptr);
}

void Win32WindowSystem::StopTimer(int id) {
    KillTimer(MainWindowHandle(), static_cast<UINT_PTR>(id));
}

DialogHandle Win32WindowSystem::CreateLocationDialog(LocationDialogForm form, std::uint32_t parameter) {
    return dialogs_.Create(MainWindowHandle(), form, parameter);
}

void Win32WindowSystem::SetDialogText(DialogHandle dialog, int id, std::string_view text) {
    if (const HWND window = dialogs_.Window(dialog)) SetItemText(window, id, text);
}

std::string Win32WindowSystem::GetDialogText(DialogHandle dialog, int id, std::size_t maxChars) {
    const HWND window = dialogs_.Window(dialog);
    return window == nullptr ? std::string() : ItemText(window, id, maxChars);
}

void Win32WindowSystem::EnableDialogItem(DialogHandle dialog, int id, bool enabled) {
    if (const HWND window = dialogs_.Window(dialog)) EnableWindow(GetDlgItem(window, id), enabled);
}

void Win32WindowSystem::ShowDialogItem(DialogHandle dialog, int id, bool shown) {
    if (const HWND window = dialogs_.Window(dialog)) {
        ShowWindow(GetDlgItem(window, id), shown ? SW_SHOW : SW_HIDE);
    }
}

int Win32WindowSystem::ShowDialogMessageBox(DialogHandle dialog, std::string_view text,
                                            std::string_view caption, unsigned style) {
    return ShowBox(dialogs_.Window(dialog), text, caption, style);
}

void Win32WindowSystem::EndLocationDialog(DialogHandle dialog) {
    dialogs_.End(dialog);
}

PreviewHandle Win32WindowSystem::CreatePreviewWindow(std::string_view title) {
    return previews_.Create(MainWindowHandle(), title);
}

void Win32WindowSystem::PresentPreviewFrame(PreviewHandle preview, const PreviewFrame& frame) {
    previews_.Present(preview, frame);
}

void Win32WindowSystem::SetPreviewStatus(PreviewHandle preview, std::string_view text) {
    previews_.SetStatus(preview, text);
}

void Win32WindowSystem::SetPreviewTitle(PreviewHandle preview, std::string_view title) {
    previews_.SetTitle(preview, title);
}

void Win32WindowSystem::StartPreviewTimer(PreviewHandle preview, int milliseconds) {
    previews_.StartTimer(preview, milliseconds);
}

void Win32WindowSystem::StopPreviewTimer(PreviewHandle preview) {
    previews_.StopTimer(preview);
}

void Win32WindowSystem::DestroyPreviewWindow(PreviewHandle preview) {
    previews_.Destroy(preview);
}

}  // namespace tintwright
