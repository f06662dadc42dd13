// The process seam on Windows. Paths and arguments go to the "A" functions
// unchanged, like every file name.

#include <windows.h>
// After <windows.h>, which it needs.
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "core/Process.h"
#include "core/Win32SystemError.h"
#include "core/WindowsCommandLine.h"

namespace tintwright {
namespace {

// Long paths included; GetModuleFileNameA cuts the name at this many characters.
constexpr DWORD kModulePathCapacity = 32768;

// Long enough for a program to finish by itself once its input closes.
constexpr DWORD kGraceMilliseconds = 200;
// A whole frame of the game preview fits in the pipe.
constexpr DWORD kPipeBytes = 1 << 20;
// Written a piece at a time: a pipe that does not wait takes a piece whole or
// not at all, so a large write into a full pipe would never go through.
constexpr DWORD kWritePieceBytes = 4096;

std::string LastErrorText() {
    return FailedWithLastError().Reason();
}

std::string DescribeExitCode(DWORD code) {
    char text[64];
    // Codes from 0xC0000000 on are the exceptions that ended a process.
    if (code >= 0xC0000000u) {
        std::snprintf(text, sizeof text, "crashed (exception 0x%08lX)", static_cast<unsigned long>(code));
    } else {
        std::snprintf(text, sizeof text, "exited with status %lu", static_cast<unsigned long>(code));
    }
    return text;
}

class Win32Child final : public ChildProcess {
public:
    Win32Child(HANDLE process, HANDLE input, HANDLE output)
        : process_(process), input_(input), output_(output) {}
    Win32Child(const Win32Child&) = delete;
    Win32Child& operator=(const Win32Child&) = delete;

    ~Win32Child() override {
        CloseInput();
        if (WaitForSingleObject(process_, kGraceMilliseconds) != WAIT_OBJECT_0) Kill();
        CloseHandle(output_);
        CloseHandle(process_);
    }

    Result<std::size_t> WriteSome(std::span<const std::uint8_t> bytes) override {
        if (input_ == nullptr) return Result<std::size_t>::Failed("its input is closed");
        std::size_t taken = 0;
        while (taken < bytes.size()) {
            const DWORD piece =
                static_cast<DWORD>(std::min<std::size_t>(bytes.size() - taken, kWritePieceBytes));
            DWORD written = 0;
            if (!WriteFile(input_, bytes.data() + taken, piece, &written, nullptr))
                return Result<std::size_t>::Failed(LastErrorText());
            taken += written;
            if (written < piece) break;
        }
        return taken;
    }

    // Asks first how much is there, so that the read never waits.
    Result<std::size_t> ReadSome(std::span<std::uint8_t> bytes) override {
        DWORD available = 0;
        if (!PeekNamedPipe(output_, nullptr, 0, nullptr, &available, nullptr)) {
            if (GetLastError() == ERROR_BROKEN_PIPE) return std::size_t{0};
            return Result<std::size_t>::Failed(LastErrorText());
        }
        if (available == 0 || bytes.empty()) return std::size_t{0};
        const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), available));
        DWORD got = 0;
        if (!ReadFile(output_, bytes.data(), wanted, &got, nullptr))
            return Result<std::size_t>::Failed(LastErrorText());
        return static_cast<std::size_t>(got);
    }

    void CloseInput() override {
        if (input_ == nullptr) return;
        CloseHandle(input_);
        input_ = nullptr;
    }

    std::optional<std::string> Ended() override {
        if (WaitForSingleObject(process_, 0) != WAIT_OBJECT_0) return std::nullopt;
        DWORD code = 0;
        if (!GetExitCodeProcess(process_, &code)) return "is gone (" + LastErrorText() + ")";
        return DescribeExitCode(code);
    }

    void Kill() override {
        if (Ended()) return;
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, INFINITE);
    }

private:
    HANDLE process_;
    HANDLE input_;
    HANDLE output_;
};

// Both ends of a pipe; only the child's end is inherited.
struct PipeEnds {
    HANDLE ours = nullptr;
    HANDLE childs = nullptr;
};

bool MakePipe(PipeEnds& ends, bool childReads) {
    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE read = nullptr;
    HANDLE write = nullptr;
    if (!CreatePipe(&read, &write, &inherited, kPipeBytes)) return false;
    ends.ours = childReads ? write : read;
    ends.childs = childReads ? read : write;
    return SetHandleInformation(ends.ours, HANDLE_FLAG_INHERIT, 0) != 0;
}

void ClosePipe(PipeEnds& ends) {
    if (ends.ours != nullptr) CloseHandle(ends.ours);
    if (ends.childs != nullptr) CloseHandle(ends.childs);
    ends = {};
}

// Our standard error, as a handle the child can inherit; nothing when we have none.
HANDLE InheritableStandardError() {
    HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    HANDLE copy = nullptr;
    if (error == nullptr || error == INVALID_HANDLE_VALUE ||
        !DuplicateHandle(GetCurrentProcess(), error, GetCurrentProcess(), &copy, 0, TRUE,
                         DUPLICATE_SAME_ACCESS))
        return nullptr;
    return copy;
}

Result<std::unique_ptr<ChildProcess>> CreateWithPipes(const std::string& file,
                                                      const std::vector<std::string>& arguments,
                                                      PipeEnds& input, PipeEnds& output) {
    std::vector<std::string> words{file};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::string commandLine = QuoteWindowsCommandLine(words);
    STARTUPINFOA start{};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdInput = input.childs;
    start.hStdOutput = output.childs;
    start.hStdError = InheritableStandardError();
    PROCESS_INFORMATION started{};
    // No console window of its own when a window program starts it.
    const BOOL created = CreateProcessA(file.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                                        CREATE_NO_WINDOW, nullptr, nullptr, &start, &started);
    const std::string reason = created ? std::string() : LastErrorText();
    if (start.hStdError != nullptr) CloseHandle(start.hStdError);
    CloseHandle(input.childs);
    CloseHandle(output.childs);
    if (!created) {
        CloseHandle(input.ours);
        CloseHandle(output.ours);
        return Result<std::unique_ptr<ChildProcess>>::Failed(reason);
    }
    CloseHandle(started.hThread);
    // Writes into a full pipe return at once instead of waiting for the reader.
    DWORD mode = PIPE_READMODE_BYTE | PIPE_NOWAIT;
    SetNamedPipeHandleState(input.ours, &mode, nullptr, nullptr);
    return std::unique_ptr<ChildProcess>(
        std::make_unique<Win32Child>(started.hProcess, input.ours, output.ours));
}

class Win32Process final : public Process {
public:
    std::string ExecutablePath() override {
        std::vector<char> path(kModulePathCapacity);
        const DWORD length = GetModuleFileNameA(nullptr, path.data(), kModulePathCapacity);
        return std::string(path.data(), length < kModulePathCapacity ? length : 0);
    }

    FileOutcome StartProgram(const std::string& file, const std::vector<std::string>& arguments,
                             const std::string& directory) override {
        // Without a name the shell would open the folder instead.
        if (file.empty()) return FileOutcome::Failed("no program is named");
        const std::string parameters = QuoteWindowsCommandLine(arguments);
        SHELLEXECUTEINFOA start{};
        start.cbSize = sizeof start;
        start.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
        start.lpVerb = "open";
        start.lpFile = file.c_str();
        start.lpParameters = parameters.c_str();
        start.lpDirectory = directory.c_str();
        start.nShow = SW_SHOWDEFAULT;
        if (!ShellExecuteExA(&start)) return FailedWithLastError();
        if (start.hProcess != nullptr) CloseHandle(start.hProcess);
        return FileOutcome::Done();
    }

    Result<std::unique_ptr<ChildProcess>> StartChild(const std::string& file,
                                                     const std::vector<std::string>& arguments) override {
        if (file.empty()) return Result<std::unique_ptr<ChildProcess>>::Failed("no program is named");
        PipeEnds input;
        PipeEnds output;
        if (!MakePipe(input, true) || !MakePipe(output, false)) {
            const std::string reason = LastErrorText();
            ClosePipe(input);
            ClosePipe(output);
            return Result<std::unique_ptr<ChildProcess>>::Failed(reason);
        }
        return CreateWithPipes(file, arguments, input, output);
    }

    // <windows.h> makes SetCurrentDirectory a macro for SetCurrentDirectoryA,
    // which renames this member too: without the "::" the call below found
    // the member itself and recursed until the stack ran out.
    bool SetCurrentDirectory(const std::string& directory) override {
        return ::SetCurrentDirectoryA(directory.c_str()) != 0;
    }

    void Sleep(int milliseconds) override { ::Sleep(static_cast<DWORD>(milliseconds)); }
};

}  // namespace

Process& SystemProcess() {
    static Win32Process process;
    return process;
}

}  // namespace tintwright
