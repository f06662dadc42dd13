// The process seam on Linux and other POSIX systems.

#include <fcntl.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <system_error>

#include "core/Process.h"

namespace tintwright {
namespace {

FileOutcome FromErrno(int error) {
    return FileOutcome::Failed(std::generic_category().message(error));
}

// The grandchild's side: a failed exec writes its errno into the pipe, a
// successful one closes the pipe unwritten (it is close-on-exec). Only
// async-signal-safe calls here: the parent may have other threads.
[[noreturn]] void ExecInFolder(int reportPipe, const char* directory, char* const* argv) {
    int error = 0;
    if (directory[0] != '\0' && ::chdir(directory) != 0) {
        error = errno;
    } else {
        ::execvp(argv[0], argv);
        error = errno;
    }
    [[maybe_unused]] const ssize_t written = ::write(reportPipe, &error, sizeof error);
    ::_exit(127);
}

// What the started program reported before it became the emulator: nothing
// when exec succeeded.
FileOutcome ReadExecReport(int reportPipe) {
    int error = 0;
    ssize_t got = 0;
    do {
        got = ::read(reportPipe, &error, sizeof error);
    } while (got == -1 && errno == EINTR);
    return got == static_cast<ssize_t>(sizeof error) ? FromErrno(error) : FileOutcome::Done();
}

class PosixProcess final : public Process {
public:
    std::string ExecutablePath() override {
        char path[PATH_MAX];
        const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path);
        return length > 0 && length < static_cast<ssize_t>(sizeof path) ? std::string(path, length)
                                                                        : std::string();
    }

    // Started through a child that exits at once, so the emulator is adopted
    // by init and never stays behind as a zombie of ours.
    FileOutcome StartProgram(const std::string& file, const std::vector<std::string>& arguments,
                             const std::string& directory) override {
        if (file.empty()) return FileOutcome::Failed("no program is named");
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(file.c_str()));
        for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        int report[2];
        if (::pipe2(report, O_CLOEXEC) != 0) return FromErrno(errno);
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(report[0]);
            const pid_t grandchild = ::fork();
            if (grandchild == 0) ExecInFolder(report[1], directory.c_str(), argv.data());
            if (grandchild == -1) {
                const int error = errno;
                [[maybe_unused]] const ssize_t written = ::write(report[1], &error, sizeof error);
            }
            ::_exit(0);
        }
        const int forkError = errno;
        ::close(report[1]);
        FileOutcome outcome = child == -1 ? FromErrno(forkError) : ReadExecReport(report[0]);
        ::close(report[0]);
        if (child != -1) {
            while (::waitpid(child, nullptr, 0) == -1 && errno == EINTR) {
            }
        }
        return outcome;
    }

    bool SetCurrentDirectory(const std::string& directory) override {
        return ::chdir(directory.c_str()) == 0;
    }

    void Sleep(int milliseconds) override {
        timespec wait{milliseconds / 1000, static_cast<long>(milliseconds % 1000) * 1000000L};
        while (::nanosleep(&wait, &wait) == -1 && errno == EINTR) {
        }
    }
};

}  // namespace

Process& SystemProcess() {
    static PosixProcess process;
    return process;
}

}  // namespace tintwright
