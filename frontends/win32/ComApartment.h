#pragma once

// The window thread's place in a single-threaded COM apartment while the
// program runs. ShellExecuteA can hand a start to a shell extension (an
// emulator given as a shortcut, or a document that starts its own program),
// and such extensions need COM set up on the thread that calls it.

#include "frontends/win32/Win32Api.h"
// After <windows.h>, which it needs.
#include <objbase.h>

namespace tintwright::win32 {

class ComApartment {
public:
    // Dynamic data exchange with OLE 1 applications is off, as the shell's
    // documentation asks of its callers.
    ComApartment()
        : joined_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
    // Every successful call, "already joined" included, is paired with one uninitialisation.
    ~ComApartment() {
        if (joined_) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool joined_;
};

}  // namespace tintwright::win32
