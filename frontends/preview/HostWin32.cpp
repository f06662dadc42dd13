#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

#include "core/Win32SystemError.h"
#include "frontends/preview/HostPlatform.h"

namespace tintwright::host {
namespace {

int output = 1;

// Ends with the exception's code, as Windows ends a crashed program, without
// the error dialog or the debugger Wine would start.
LONG WINAPI EndWithExceptionCode(EXCEPTION_POINTERS* exception) {
    TerminateProcess(GetCurrentProcess(), exception->ExceptionRecord->ExceptionCode);
    return EXCEPTION_EXECUTE_HANDLER;
}

// The machine a PE file is built for (IMAGE_FILE_MACHINE_*), 0 when the file
// is none.
unsigned PeMachine(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return 0;
    unsigned char header[0x40] = {};
    unsigned char pe[6] = {};
    unsigned machine = 0;
    if (std::fread(header, 1, sizeof header, file) == sizeof header && header[0] == 'M' && header[1] == 'Z') {
        const long at = header[0x3C] | header[0x3D] << 8 | header[0x3E] << 16 | header[0x3F] << 24;
        if (std::fseek(file, at, SEEK_SET) == 0 && std::fread(pe, 1, sizeof pe, file) == sizeof pe &&
            pe[0] == 'P' && pe[1] == 'E' && pe[2] == 0 && pe[3] == 0)
            machine = pe[4] | pe[5] << 8;
    }
    std::fclose(file);
    return machine;
}

// Why LoadLibrary refused a file that is no library for this program: the
// usual case on Windows is a 64-bit core under the 32-bit program, or the
// other way round.
std::string BadFormatReason(const std::string& path) {
    const unsigned ours = sizeof(void*) == 4 ? IMAGE_FILE_MACHINE_I386 : IMAGE_FILE_MACHINE_AMD64;
    const char* width = sizeof(void*) == 4 ? "32-bit" : "64-bit";
    const unsigned machine = PeMachine(path);
    if (machine == 0) return "it is not a Windows library (DLL)";
    if (machine != ours)
        return std::string("it is a library for another processor width; this is the ") + width +
               " Tintwright, which needs a " + width + " core";
    return "Windows cannot load it as a library";
}

}  // namespace

void PrepareStreams() {
    _setmode(0, _O_BINARY);
    _setmode(1, _O_BINARY);
    output = _dup(1);
    _dup2(2, 1);
}

std::size_t ReadInput(std::span<std::uint8_t> bytes) {
    const int got = _read(0, bytes.data(), static_cast<unsigned>(bytes.size()));
    return got > 0 ? static_cast<std::size_t>(got) : 0;
}

bool WriteOutput(std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const int written = _write(output, bytes.data(), static_cast<unsigned>(bytes.size()));
        if (written <= 0) return false;
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return true;
}

void EndOnCrash() {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    SetUnhandledExceptionFilter(EndWithExceptionCode);
}

Result<Library> Library::Open(const std::string& path) {
    HMODULE handle = LoadLibraryA(path.c_str());
    if (handle != nullptr) return Library(reinterpret_cast<void*>(handle));
    if (GetLastError() == ERROR_BAD_EXE_FORMAT) return Result<Library>::Failed(BadFormatReason(path));
    return Result<Library>::Failed(FailedWithLastError().Reason());
}

Library::~Library() {
    if (handle_ != nullptr) FreeLibrary(reinterpret_cast<HMODULE>(handle_));
}

void* Library::Symbol(const char* name) const {
    return reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(handle_), name));
}

}  // namespace tintwright::host
