#include "frontends/win32/CommonDialogs.h"

#include <commdlg.h>

#include <algorithm>
#include <array>

namespace tintwright::win32 {
namespace {

// Paths live in 260-byte buffers, as everywhere in the program.
constexpr std::size_t kPathBufferSize = MAX_PATH;

// "description\0pattern\0...\0\0", the form the dialog reads.
std::string FilterText(const FileDialogRequest& request) {
    std::string text;
    for (const FileFilter& filter : request.filters) {
        text += filter.description;
        text += '\0';
        text += filter.pattern;
        text += '\0';
    }
    text += '\0';
    return text;
}

DWORD FileDialogFlags(const FileDialogRequest& request) {
    DWORD flags = OFN_EXPLORER | OFN_LONGNAMES | OFN_NONETWORKBUTTON;
    if (request.fileMustExist) flags |= OFN_FILEMUSTEXIST;
    if (request.pathMustExist) flags |= OFN_PATHMUSTEXIST;
    if (request.promptOverwrite) flags |= OFN_OVERWRITEPROMPT;
    if (request.hideReadOnly) flags |= OFN_HIDEREADONLY;
    if (request.topmost) flags |= OFN_ENABLEHOOK;
    return flags;
}

// The hook's own window is a child of the dialog frame; the frame is what
// must stay on top.
UINT_PTR CALLBACK TopmostHook(HWND hookWindow, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) {
        SetWindowPos(GetParent(hookWindow), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
    return 0;
}

}  // namespace

std::optional<std::string> RunFileDialog(const FileDialogRequest& request) {
    std::array<char, kPathBufferSize> path{};
    const std::size_t initial = std::min(request.initialPath.size(), path.size() - 1);
    std::copy_n(request.initialPath.begin(), initial, path.begin());
    const std::string filters = FilterText(request);

    OPENFILENAMEA dialog{};
    // The original record size, without the places bar fields.
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    dialog.lpstrFilter = filters.c_str();
    dialog.nFilterIndex = static_cast<DWORD>(request.selectedFilter);
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    dialog.lpstrTitle = request.title.c_str();
    dialog.lpstrDefExt = request.defaultExtension.empty() ? nullptr : request.defaultExtension.c_str();
    dialog.Flags = FileDialogFlags(request);
    if (request.topmost) dialog.lpfnHook = TopmostHook;

    const bool chosen = request.kind == FileDialogRequest::Kind::Open ? GetOpenFileNameA(&dialog) != 0
                                                                      : GetSaveFileNameA(&dialog) != 0;
    if (!chosen) return std::nullopt;
    return std::string(path.data());
}

std::optional<RgbColor> RunColorDialog(HWND owner, HINSTANCE instance, const ColorDialogRequest& request) {
    std::array<COLORREF, 16> customColors{};
    std::copy(request.customColors.begin(), request.customColors.end(), customColors.begin());

    CHOOSECOLORA dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    // The record's field is typed as a window but holds the instance.
    dialog.hInstance = reinterpret_cast<HWND>(instance);
    dialog.lpCustColors = customColors.data();
    dialog.Flags = request.fullOpen ? CC_FULLOPEN : 0;
    if (ChooseColorA(&dialog) == 0) return std::nullopt;
    return static_cast<RgbColor>(dialog.rgbResult);
}

}  // namespace tintwright::win32
