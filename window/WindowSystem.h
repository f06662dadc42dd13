#pragma once

// The one seam between the portable logic and a window system. Controls and
// commands are named by the numeric ids of the main window (ControlIds.h), so
// the logic never holds a platform handle. Every call runs on the window thread.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/SnesColor.h"
#include "window/PreviewFrame.h"

namespace tintwright {

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// Right and bottom edges are exclusive.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// Message box styles and answers carry the Win32 values so that the Win32
// front end passes them through and tests can name them as users see them.
namespace box {
inline constexpr unsigned kOk = 0x00;
inline constexpr unsigned kYesNo = 0x04;
inline constexpr unsigned kIconQuestion = 0x20;
inline constexpr unsigned kIconWarning = 0x30;
inline constexpr unsigned kIconInformation = 0x40;
inline constexpr int kAnswerOk = 1;
inline constexpr int kAnswerYes = 6;
inline constexpr int kAnswerNo = 7;
}  // namespace box

struct FileFilter {
    std::string description;
    std::string pattern;
    friend bool operator==(const FileFilter&, const FileFilter&) = default;
};

// A file dialog described as data; each front end shows it its own way.
struct FileDialogRequest {
    enum class Kind { Open, Save };
    Kind kind = Kind::Open;
    std::string title;
    std::vector<FileFilter> filters;
    int selectedFilter = 1;  // 1-based, as the system dialogs count
    std::string initialPath;
    std::string defaultExtension;  // appended to a typed name without one
    bool fileMustExist = false;
    bool pathMustExist = false;
    bool promptOverwrite = false;
    bool hideReadOnly = true;
    bool topmost = false;  // the save dialog is kept above other windows
};

struct ColorDialogRequest {
    std::array<RgbColor, 16> customColors{};
    bool fullOpen = true;
};

// The modeless location dialog (template 8000) comes in two forms.
enum class LocationDialogForm { Add, Edit };
using DialogHandle = int;  // 0 never names a dialog

// What a front end paints the palette strip with, in strip client pixels.
class StripCanvas {
public:
    virtual ~StripCanvas() = default;
    virtual void FillRect(const PixelRect& rect, RgbColor color) = 0;
    // One character centred across rect, top-aligned, on a transparent background.
    virtual void DrawGlyph(char glyph, const PixelRect& rect, RgbColor color) = 0;
};

// Events the window system delivers into the logic. Mouse positions are in
// main-window client pixels and may be negative while the mouse is captured.
class MainWindowEvents {
public:
    virtual ~MainWindowEvents() = default;
    virtual void OnInitDialog() = 0;
    // Returns the value the window procedure returns (1 for the list notifications).
    virtual int OnCommand(int id, int notificationCode) = 0;
    virtual void OnHScroll(int controlId) = 0;
    virtual void OnLeftButtonDown(Point client) = 0;
    virtual void OnMouseMove(Point client) = 0;
    virtual void OnLeftButtonUp(Point client) = 0;
    virtual void OnRightButtonUp(Point client) = 0;
    virtual void OnXButtonUp(int button) = 0;  // 1 = back, 2 = forward
    virtual void OnMouseWheel(std::int16_t delta) = 0;
    virtual void OnTimer() = 0;
    virtual void OnListChanged() = 0;  // the posted WM_USER+1
    virtual void OnClose() = 0;
    virtual void OnDestroy() = 0;
    // A key released in edit 1070, 1071 or 1072, before the edit's own handling.
    virtual void OnEditKeyUp(int editId) = 0;
    // A right button released over the location list, in the list's client pixels.
    virtual void OnListRightButtonUp(Point listClient) = 0;
    // Files dropped anywhere on the main window, its controls included: their
    // paths as the system's 8-bit file names (see core/FileSystem.h) and the
    // drop point in main-window client pixels.
    virtual void OnFilesDropped(std::vector<std::string> paths, Point client) = 0;
    virtual void PaintStrip(StripCanvas& canvas) = 0;
    // The colour a swatch static (1076, 1078) is filled with.
    virtual RgbColor SwatchColor(int controlId) = 0;

    // The location dialogs. Init runs inside CreateLocationDialog.
    virtual void OnLocationDialogInit(DialogHandle dialog, LocationDialogForm form,
                                      std::uint32_t parameter) = 0;
    virtual void OnLocationDialogCommand(DialogHandle dialog, int id, int notificationCode) = 0;
    virtual void OnLocationDialogClose(DialogHandle dialog) = 0;

    // The preview windows. A key went down (auto-repeated downs are not
    // delivered) or up while a preview had the keyboard focus.
    virtual void OnPreviewKey(PreviewHandle preview, PreviewKey key, bool pressed) = 0;
    virtual void OnPreviewTimer(PreviewHandle preview) = 0;
    // The user closed the window; it stays until the logic destroys it.
    virtual void OnPreviewClose(PreviewHandle preview) = 0;
};

// What the logic asks of the window system, in six roles. Each front end and
// the test fake implement them all as one WindowSystem; the roles say which
// operations belong together.

// The main window's life, its menus, posted messages and timers.
class MainWindowLoop {
public:
    virtual ~MainWindowLoop() = default;
    // Creates the main window (delivering OnInitDialog inside), shows it, runs the
    // message loop and returns the quit value.
    virtual int RunMainWindow(MainWindowEvents& events) = 0;
    virtual void DestroyMainWindow() = 0;  // delivers OnDestroy before returning
    virtual void PostQuit(int exitCode) = 0;

    // Brings the main window to the front and pops up one of its menu-bar
    // popups with its top-left corner at a screen position; returns when the
    // menu has closed. A chosen item arrives afterwards as OnCommand(itemId, 0),
    // exactly as if it had been chosen from the menu bar.
    virtual void ShowPopupMenu(int popupIndex, Point screen) = 0;
    virtual void PostCommand(int id) = 0;
    virtual void PostListChanged() = 0;

    // Timers; a tick arrives as OnTimer.
    virtual void StartTimer(int id, int milliseconds) = 0;
    virtual void StopTimer(int id) = 0;
};

// The main window's controls, addressed by id; id 0 names the main window itself.
class WindowControls {
public:
    virtual ~WindowControls() = default;
    // maxChars is the longest text taken (a buffer of maxChars + 1 bytes); the
    // rest of the control's text is ignored.
    virtual void SetText(int id, std::string_view text) = 0;
    virtual std::string GetText(int id, std::size_t maxChars) = 0;
    virtual void SetNumber(int id, std::int32_t value, bool isSigned) = 0;
    // The control's text as a signed decimal integer, or nothing when it is not one.
    virtual std::optional<std::int32_t> GetSignedNumber(int id) = 0;

    virtual void SetSliderRangeMax(int id, int maximum) = 0;
    virtual void SetSliderPosition(int id, int position) = 0;
    virtual int GetSliderPosition(int id) = 0;

    // The sorted list box.
    virtual void ListReset(int id) = 0;
    virtual void ListAddString(int id, std::string_view text) = 0;
    virtual int ListSelection(int id) = 0;  // -1 when no row is selected
    virtual std::string ListRowText(int id, int row) = 0;
    virtual void ListDeleteRow(int id, int row) = 0;
    // Acts as a left click at a point of the list: the row there becomes selected,
    // and a change reaches the logic as OnCommand(id, 1).
    virtual void ListClickAt(int id, Point listClient) = 0;

    virtual void Invalidate(int id, bool erase) = 0;
    virtual void SetFocus(int id) = 0;
    virtual bool IsChecked(int id) = 0;
};

// Modal boxes and system dialogs, owned by the main window once it exists.
class WindowDialogs {
public:
    virtual ~WindowDialogs() = default;
    virtual int ShowMessageBox(std::string_view text, std::string_view caption, unsigned style) = 0;
    virtual std::optional<std::string> ShowFileDialog(const FileDialogRequest& request) = 0;
    virtual std::optional<RgbColor> ShowColorDialog(const ColorDialogRequest& request) = 0;
};

// The mouse, the screen's pixels and the left Control key.
class PointerAndScreen {
public:
    virtual ~PointerAndScreen() = default;
    virtual void SetMouseCapture(bool captured) = 0;
    virtual Point CursorScreenPosition() = 0;
    virtual Point MapMainClientToControl(int id, Point mainClient) = 0;
    virtual RgbColor ScreenPixel(Point screen) = 0;  // kUnreadablePixel when unreadable
    virtual RgbColor ControlPixel(int id, Point controlClient) = 0;
    // Whether the left Control key went down since the previous call.
    virtual bool LeftControlPressedSinceLastCall() = 0;
};

// The modeless location dialogs (template 8000); item id 0 names the caption.
class LocationDialogHost {
public:
    virtual ~LocationDialogHost() = default;
    virtual DialogHandle CreateLocationDialog(LocationDialogForm form, std::uint32_t parameter) = 0;
    virtual void SetDialogText(DialogHandle dialog, int id, std::string_view text) = 0;
    virtual std::string GetDialogText(DialogHandle dialog, int id, std::size_t maxChars) = 0;
    virtual void EnableDialogItem(DialogHandle dialog, int id, bool enabled) = 0;
    virtual void ShowDialogItem(DialogHandle dialog, int id, bool shown) = 0;
    virtual int ShowDialogMessageBox(DialogHandle dialog, std::string_view text, std::string_view caption,
                                     unsigned style) = 0;
    virtual void EndLocationDialog(DialogHandle dialog) = 0;
};

// Top-level windows of their own beside the main window, each showing frames
// of pixels above a status line. They take no keyboard focus when they
// appear, closing one does not close the editor, and all of them go with the
// main window. A handle of a window that is gone is ignored.
class PreviewWindowHost {
public:
    virtual ~PreviewWindowHost() = default;
    // 0 when there is no main window or the window could not be made.
    virtual PreviewHandle CreatePreviewWindow(std::string_view title) = 0;
    // One call per frame, copied before the call returns. The window shows it
    // at PreviewScale and fits itself to a frame of another size; a frame
    // that is not IsPresentable is ignored.
    virtual void PresentPreviewFrame(PreviewHandle preview, const PreviewFrame& frame) = 0;
    virtual void SetPreviewStatus(PreviewHandle preview, std::string_view text) = 0;
    virtual void SetPreviewTitle(PreviewHandle preview, std::string_view title) = 0;
    // A timer of the preview's own, apart from the main window's; a tick
    // arrives as OnPreviewTimer. Starting it again changes its period.
    virtual void StartPreviewTimer(PreviewHandle preview, int milliseconds) = 0;
    virtual void StopPreviewTimer(PreviewHandle preview) = 0;
    // Nothing more arrives from the window afterwards.
    virtual void DestroyPreviewWindow(PreviewHandle preview) = 0;
};

class WindowSystem : public MainWindowLoop,
                     public WindowControls,
                     public WindowDialogs,
                     public PointerAndScreen,
                     public LocationDialogHost,
                     public PreviewWindowHost {};

}  // namespace tintwright
