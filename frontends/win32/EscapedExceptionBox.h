#pragma once

// The Win32 front end's reporter for an exception that escaped the logic: a
// message box in front of whatever window is active. Every event reaches the
// logic through GuardedEvents with this reporter.

namespace tintwright::win32 {

void ReportEscapedException(const char* what) noexcept;

}  // namespace tintwright::win32
