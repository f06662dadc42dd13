#pragma once

// Nothing may unwind through a window procedure: the system's frames between
// the message loop and the procedure know nothing of C++ exceptions. Each
// procedure runs the logic inside one of these barriers; an escaped exception
// is reported in a box and the message counts as handled.

#include <exception>
#include <utility>

namespace tintwright::win32 {

void ReportEscapedException(const char* what) noexcept;

template <typename Call>
void Guarded(Call&& call) noexcept {
    try {
        std::forward<Call>(call)();
    } catch (const std::exception& error) {
        ReportEscapedException(error.what());
    } catch (...) {
        ReportEscapedException("unknown error");
    }
}

template <typename Result, typename Call>
Result GuardedResult(Result fallback, Call&& call) noexcept {
    try {
        return std::forward<Call>(call)();
    } catch (const std::exception& error) {
        ReportEscapedException(error.what());
    } catch (...) {
        ReportEscapedException("unknown error");
    }
    return fallback;
}

}  // namespace tintwright::win32
