#pragma once

// The one way the Win32 front end includes the platform headers. <windows.h>
// defines SetCurrentDirectory as a macro for SetCurrentDirectoryA, which would
// silently rename the seam's operation of the same name; every file here
// includes this header instead, so the macro is gone wherever the seam is seen.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// After <windows.h>, which it needs.
#include <commctrl.h>
#include <shellapi.h>

#undef SetCurrentDirectory
