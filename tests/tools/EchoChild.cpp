// Stands in for a program started with pipes (the process seam's StartChild):
//   echo_child            sends back every byte it reads, exits 0 when its input ends
//   echo_child exit N     exits at once with status N
//   echo_child crash      crashes at once
//   echo_child hang       never reads, never ends by itself

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

int ReadSome(char* buffer, unsigned size) {
#ifdef _WIN32
    return _read(0, buffer, size);
#else
    return static_cast<int>(read(0, buffer, size));
#endif
}

bool WriteAll(const char* bytes, int count) {
    while (count > 0) {
#ifdef _WIN32
        const int written = _write(1, bytes, static_cast<unsigned>(count));
#else
        const int written = static_cast<int>(write(1, bytes, static_cast<unsigned>(count)));
#endif
        if (written <= 0) return false;
        bytes += written;
        count -= written;
    }
    return true;
}

#ifdef _WIN32
// Ends with the exception's code, as Windows ends a crashed program, without
// a debugger starting (Wine starts one otherwise).
LONG WINAPI EndWithExceptionCode(EXCEPTION_POINTERS* exception) {
    TerminateProcess(GetCurrentProcess(), exception->ExceptionRecord->ExceptionCode);
    return EXCEPTION_EXECUTE_HANDLER;
}
#endif

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    // A crash ends the process with its exception code, without a dialog.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    SetUnhandledExceptionFilter(EndWithExceptionCode);
    _setmode(0, _O_BINARY);
    _setmode(1, _O_BINARY);
#endif
    if (argc == 3 && std::strcmp(argv[1], "exit") == 0) return std::atoi(argv[2]);
    if (argc == 2 && std::strcmp(argv[1], "crash") == 0) {
#ifdef _WIN32
        *static_cast<volatile int*>(nullptr) = 1;
#else
        // The system's own ending for a segmentation fault, even where a
        // sanitizer would catch the bad store and exit with a status instead.
        std::signal(SIGSEGV, SIG_DFL);
        std::raise(SIGSEGV);
#endif
    }
    if (argc == 2 && std::strcmp(argv[1], "hang") == 0) {
        for (;;) std::this_thread::sleep_for(std::chrono::seconds(1));
    }
    char buffer[65536];
    int got = 0;
    while ((got = ReadSome(buffer, sizeof buffer)) > 0) {
        if (!WriteAll(buffer, got)) return 1;
    }
    return 0;
}
