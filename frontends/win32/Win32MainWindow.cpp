#include "frontends/win32/Win32MainWindow.h"

#include <windowsx.h>

#include <string>

#include "frontends/win32/GdiStripCanvas.h"
#include "frontends/win32/PaintSession.h"
#include "frontends/win32/PixelLayout.h"
#include "window/ControlIds.h"
#include "window/Layout.h"

namespace tintwright::win32 {
namespace {

// Signed, so a captured mouse left of or above the window reports negative numbers.
Point PointOf(LPARAM lParam) {
    return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

WNDPROC ReplaceProcedure(HWND control, WNDPROC replacement) {
    return reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(replacement)));
}

LRESULT PassOn(WNDPROC previous, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return previous != nullptr ? CallWindowProcA(previous, window, message, wParam, lParam)
                               : DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

Win32MainWindow::~Win32MainWindow() {
    // The logic may already be gone; the window must not call into it.
    events_ = nullptr;
    if (window_ != nullptr) DestroyWindow(window_);
}

HWND Win32MainWindow::Create(MainWindowEvents& events) {
    events_ = &events;
    initialised_ = false;
    destroyDelivered_ = false;
    RegisterWindowClass();
    // The class procedure receives every message, WM_INITDIALOG included, and
    // stores the handle there; the dialog procedure is required but never runs.
    // The window carries this object from WM_INITDIALOG on, so each window
    // finds its own state, whatever other top-level windows exist.
    CreateDialogParamA(instance_, MAKEINTRESOURCEA(ids::kMainTemplate), nullptr, UnusedDialogProcedure,
                       reinterpret_cast<LPARAM>(this));
    return window_;
}

Win32MainWindow* Win32MainWindow::FromWindow(HWND window) {
    return reinterpret_cast<Win32MainWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

// The controls' replaced procedures find the main window's object from their parent.
Win32MainWindow* Win32MainWindow::FromControl(HWND control) {
    return FromWindow(GetParent(control));
}

void Win32MainWindow::Destroy() {
    if (window_ != nullptr) DestroyWindow(window_);
}

void Win32MainWindow::RegisterWindowClass() {
    const std::string className(kMainWindowClass);
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    if (GetClassInfoExA(instance_, className.c_str(), &windowClass)) return;  // an earlier window's
    const HICON icon = LoadIconA(instance_, MAKEINTRESOURCEA(ids::kIcon));
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = WindowProcedure;
    // A window of a private class built from a dialog template keeps the
    // dialog manager's data in these bytes.
    windowClass.cbWndExtra = DLGWINDOWEXTRA;
    windowClass.hInstance = instance_;
    windowClass.hIcon = icon;
    windowClass.hIconSm = icon;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszMenuName = MAKEINTRESOURCEA(ids::kMenuBar);
    windowClass.lpszClassName = className.c_str();
    RegisterClassExA(&windowClass);
}

void Win32MainWindow::Initialise(HWND window) {
    window_ = window;
    PlaceControls(window, MainWindowControls());
    SetClientSize(window, kClientWidthPixels, kClientHeightPixels);
    CenterOnWorkArea(window);
    // After the move, so the static grows to the image from its new corner.
    picker_.Reset(LoadBitmapA(instance_, MAKEINTRESOURCEA(ids::kPickerBitmap)));
    SendDlgItemMessageA(window, ids::kPickerImage, STM_SETIMAGE, IMAGE_BITMAP,
                        reinterpret_cast<LPARAM>(picker_.Get()));
    ReplaceControlProcedures();
    // Files dropped on any control arrive here too: the shell hands a drop to
    // the nearest window up the chain that accepts files.
    DragAcceptFiles(window, TRUE);
    initialised_ = true;
}

void Win32MainWindow::ReplaceControlProcedures() {
    listPrevious_ = ReplaceProcedure(Control(ids::kLocationList), ListProcedure);
    stripPrevious_ = ReplaceProcedure(Control(ids::kStrip), StripProcedure);
    for (const int id : {ids::kRedEdit, ids::kGreenEdit, ids::kBlueEdit}) {
        const HWND edit = Control(id);
        const WNDPROC previous = ReplaceProcedure(edit, EditProcedure);
        SetWindowLongPtrA(edit, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(previous));
    }
}

LRESULT CALLBACK Win32MainWindow::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) SetWindowLongPtrA(window, GWLP_USERDATA, lParam);
    Win32MainWindow* self = FromWindow(window);
    if (self == nullptr || self->events_ == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_INITDIALOG) {
        self->Initialise(window);
        self->events_->OnInitDialog();
        return 0;  // no control gets the keyboard focus
    }
    // Controls notify while the template is still being built; the logic
    // hears nothing before its initialisation.
    if (!self->initialised_ || window != self->window_) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    const auto result = self->Route(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
    }
    return result ? *result : DefWindowProcA(window, message, wParam, lParam);
}

std::optional<LRESULT> Win32MainWindow::Route(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_HSCROLL:
            events_->OnHScroll(GetDlgCtrlID(reinterpret_cast<HWND>(lParam)));
            return 0;
        case WM_COMMAND:
            return events_->OnCommand(LOWORD(wParam), HIWORD(wParam));
        case WM_CTLCOLORSTATIC:
            return StaticColors(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_TIMER:
            events_->OnTimer();
            return 0;
        case kListChangedMessage:
            events_->OnListChanged();
            return 0;
        case WM_DROPFILES:
            DeliverDrop(reinterpret_cast<HDROP>(wParam));
            return 0;
        case WM_CLOSE:
            events_->OnClose();
            return 0;
        case WM_DESTROY:
            DeliverDestroy();
            return 0;
        default:
            return RouteMouse(message, wParam, lParam);
    }
}

std::optional<LRESULT> Win32MainWindow::RouteMouse(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONDOWN:
            events_->OnLeftButtonDown(PointOf(lParam));
            return 0;
        case WM_MOUSEMOVE:
            events_->OnMouseMove(PointOf(lParam));
            return 0;
        case WM_LBUTTONUP:
            events_->OnLeftButtonUp(PointOf(lParam));
            return 0;
        case WM_RBUTTONUP:
            events_->OnRightButtonUp(PointOf(lParam));
            return 0;
        case WM_XBUTTONUP:
            events_->OnXButtonUp(HIWORD(wParam));
            return 0;
        case WM_MOUSEWHEEL:
            events_->OnMouseWheel(static_cast<std::int16_t>(HIWORD(wParam)));
            return 0;
        default:
            return std::nullopt;
    }
}

LRESULT Win32MainWindow::StaticColors(HDC dc, HWND control) {
    const int id = GetDlgCtrlID(control);
    if (id == ids::kCurrentSwatch || id == ids::kStoredSwatch) {
        SetBkColor(dc, RGB(0, 0, 0));
        SetTextColor(dc, RGB(0, 0, 0));
        swatchBrush_.Reset(CreateSolidBrush(events_->SwatchColor(id)));
        return reinterpret_cast<LRESULT>(swatchBrush_.Get());
    }
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

// DestroyWindow sends WM_DESTROY once, but the logic hears of it at most once
// even if a later creation reuses this object.
void Win32MainWindow::DeliverDestroy() {
    if (destroyDelivered_) return;
    destroyDelivered_ = true;
    events_->OnDestroy();
}

// The names come as the "A" calls give them, in the process's code page, which
// the file seam passes on unchanged. The handle is freed before the logic runs,
// since the logic may open boxes that wait for the user.
void Win32MainWindow::DeliverDrop(HDROP drop) {
    std::vector<std::string> paths;
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::string path(DragQueryFileA(drop, i, nullptr, 0) + 1, '\0');
        path.resize(DragQueryFileA(drop, i, path.data(), static_cast<UINT>(path.size())));
        paths.push_back(std::move(path));
    }
    POINT point{};
    // A drop on the caption or the frame carries a screen point.
    if (!DragQueryPoint(drop, &point)) ScreenToClient(window_, &point);
    DragFinish(drop);
    events_->OnFilesDropped(std::move(paths), {point.x, point.y});
}

void Win32MainWindow::PaintStrip(HWND strip) {
    PaintSession paint(strip);
    GdiStripCanvas canvas(paint.Dc(), stripBrushes_);
    events_->PaintStrip(canvas);
}

LRESULT CALLBACK Win32MainWindow::StripProcedure(HWND strip, UINT message, WPARAM wParam, LPARAM lParam) {
    Win32MainWindow* self = FromControl(strip);
    if (self == nullptr) return DefWindowProcA(strip, message, wParam, lParam);
    if (message == WM_PAINT && self->events_ != nullptr) {
        self->PaintStrip(strip);
        return 0;
    }
    return PassOn(self->stripPrevious_, strip, message, wParam, lParam);
}

LRESULT CALLBACK Win32MainWindow::ListProcedure(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    Win32MainWindow* self = FromControl(list);
    if (self == nullptr) return DefWindowProcA(list, message, wParam, lParam);
    if (message == WM_RBUTTONUP && self->events_ != nullptr) {
        self->events_->OnListRightButtonUp(PointOf(lParam));
    }
    return PassOn(self->listPrevious_, list, message, wParam, lParam);
}

// Each edit keeps its previous procedure in its own user data.
LRESULT CALLBACK Win32MainWindow::EditProcedure(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(edit, GWLP_USERDATA));
    Win32MainWindow* self = FromControl(edit);
    if (message == WM_KEYUP && self != nullptr && self->events_ != nullptr) {
        self->events_->OnEditKeyUp(GetDlgCtrlID(edit));
    }
    return PassOn(previous, edit, message, wParam, lParam);
}

}  // namespace tintwright::win32
