#include "frontends/win32/EscapedExceptionBox.h"

#include <string>

#include "frontends/win32/Win32Api.h"
#include "window/ExceptionBarrier.h"

namespace tintwright::win32 {
namespace {

void ShowWarning(const std::string& text) {
    MessageBoxA(GetActiveWindow(), text.c_str(), "Tintwright", MB_OK | MB_ICONWARNING);
}

}  // namespace

void ReportEscapedException(const char* what) noexcept {
    ShowEscapedException(ShowWarning, what);
}

}  // namespace tintwright::win32
