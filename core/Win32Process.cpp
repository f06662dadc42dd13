// The process seam on Windows. Paths and arguments go to the "A" functions
// unchanged, like every file name.

#include <windows.h>
// After <windows.h>, which it needs.
#include <shellapi.h>

#include <vector>

#include "core/Process.h"
#include "core/Win32SystemError.h"
#include "core/WindowsCommandLine.h"

namespace tintwright {
namespace {

// Long paths included; GetModuleFileNameA cuts the name at this many characters.
constexpr DWORD kModulePathCapacity = 32768;

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
