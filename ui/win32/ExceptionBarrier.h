#pragma once

// The shared exception barrier with the Win32 front end's reporter: a message
// box in front of whatever window is active.

#include "window/ExceptionBarrier.h"

namespace tintwright::win32 {

void ReportEscapedException(const char* what) noexcept;

template <typename Call>
void Guarded(Call&& call) noexcept {
    tintwright::Guarded(ReportEscapedException, std::forward<Call>(call));
}

template <typename Result, typename Call>
Result GuardedResult(Result fallback, Call&& call) noexcept {
    return tintwright::GuardedResult(ReportEscapedException, fallback, std::forward<Call>(call));
}

}  // namespace tintwright::win32
