#include "ui/win32/ExceptionBarrier.h"

#include <string>

#include "ui/win32/Win32Api.h"

namespace tintwright::win32 {

void ReportEscapedException(const char* what) noexcept {
    // The box runs its own message loop; a timer tick that fails again while
    // it is open must not stack a second box on top of it.
    static bool reporting = false;
    if (reporting) return;
    reporting = true;
    try {
        const std::string text = std::string(kEscapedExceptionIntro) + what;
        MessageBoxA(GetActiveWindow(), text.c_str(), "Tintwright", MB_OK | MB_ICONWARNING);
    } catch (...) {
        // Out of memory while reporting: nothing more can be said.
    }
    reporting = false;
}

}  // namespace tintwright::win32
