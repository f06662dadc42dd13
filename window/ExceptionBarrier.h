#pragma once

// Nothing may unwind out of the logic into a window system: Win32's frames
// between the message loop and a window procedure know nothing of C++
// exceptions, and Qt ends the program when a slot throws. Both front ends run
// every event inside this barrier; an escaped exception (an allocation that
// failed, a bug in one command) is handed to the front end's reporter, which
// shows it, and the editor goes on.

#include <exception>
#include <string>
#include <utility>

namespace tintwright {

using ExceptionReporter = void (*)(const char* what) noexcept;

template <typename Result, typename Call>
Result GuardedResult(ExceptionReporter report, Result fallback, Call&& call) noexcept {
    try {
        return std::forward<Call>(call)();
    } catch (const std::exception& error) {
        report(error.what());
    } catch (...) {
        report("unknown error");
    }
    return fallback;
}

template <typename Call>
void Guarded(ExceptionReporter report, Call&& call) noexcept {
    GuardedResult(report, 0, [&] {
        std::forward<Call>(call)();
        return 0;
    });
}

// The text every front end shows for an escaped exception.
inline constexpr const char* kEscapedExceptionIntro = "Tintwright could not finish this action:\r\n";

// Hands the text for an escaped exception to a front end's box, unless one is
// showing already: the box runs its own loop, in which a timer tick that fails
// again must not stack a second box on top of it.
inline void ShowEscapedException(void (*showWarning)(const std::string& text), const char* what) noexcept {
    static bool reporting = false;
    if (reporting) return;
    reporting = true;
    try {
        showWarning(std::string(kEscapedExceptionIntro) + what);
    } catch (...) {
        // Out of memory while reporting: nothing more can be said.
    }
    reporting = false;
}

}  // namespace tintwright
