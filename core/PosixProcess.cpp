// The process seam on Linux and other POSIX systems.

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
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

// exec's argument list: the program, its arguments, a null; it points into the strings.
std::vector<char*> ArgumentVector(const std::string& file, const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(file.c_str()));
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    return argv;
}

std::string ErrnoText(int error) {
    return std::generic_category().message(error);
}

void SleepMilliseconds(int milliseconds) {
    timespec wait{milliseconds / 1000, static_cast<long>(milliseconds % 1000) * 1000000L};
    while (::nanosleep(&wait, &wait) == -1 && errno == EINTR) {
    }
}

std::string DescribeWaitStatus(int status) {
    if (WIFEXITED(status)) return "exited with status " + std::to_string(WEXITSTATUS(status));
    if (WIFSIGNALED(status)) {
        const int signal = WTERMSIG(status);
        return "was ended by signal " + std::to_string(signal) + " (" + ::strsignal(signal) + ")";
    }
    return "ended with wait status " + std::to_string(status);
}

// Long enough for a program to finish by itself once its input closes.
constexpr int kGraceMilliseconds = 200;
// A whole frame of the game preview fits, so it arrives in one read; the
// system may grant less.
constexpr int kOutputPipeBytes = 1 << 20;

// Input goes through a socket, where a write to a program that has gone fails
// with EPIPE instead of raising SIGPIPE, which would end the caller; output
// comes back through a pipe, which can be made large.
class PosixChild final : public ChildProcess {
public:
    PosixChild(pid_t pid, int input, int output) : pid_(pid), input_(input), output_(output) {}
    PosixChild(const PosixChild&) = delete;
    PosixChild& operator=(const PosixChild&) = delete;

    ~PosixChild() override {
        CloseInput();
        for (int waited = 0; !Ended() && waited < kGraceMilliseconds; waited += 5) SleepMilliseconds(5);
        if (!Ended()) Kill();
        if (output_ != -1) ::close(output_);
    }

    Result<std::size_t> WriteSome(std::span<const std::uint8_t> bytes) override {
        if (input_ == -1) return Result<std::size_t>::Failed("its input is closed");
        ssize_t sent = 0;
        do {
            sent = ::send(input_, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        } while (sent == -1 && errno == EINTR);
        if (sent >= 0) return static_cast<std::size_t>(sent);
        if (errno == EAGAIN || errno == EWOULDBLOCK) return std::size_t{0};
        return Result<std::size_t>::Failed(ErrnoText(errno));
    }

    Result<std::size_t> ReadSome(std::span<std::uint8_t> bytes) override {
        ssize_t got = 0;
        do {
            got = ::read(output_, bytes.data(), bytes.size());
        } while (got == -1 && errno == EINTR);
        if (got >= 0) return static_cast<std::size_t>(got);
        if (errno == EAGAIN || errno == EWOULDBLOCK) return std::size_t{0};
        return Result<std::size_t>::Failed(ErrnoText(errno));
    }

    void CloseInput() override {
        if (input_ == -1) return;
        ::close(input_);
        input_ = -1;
    }

    std::optional<std::string> Ended() override {
        if (!ended_) {
            int status = 0;
            pid_t reaped = 0;
            do {
                reaped = ::waitpid(pid_, &status, WNOHANG);
            } while (reaped == -1 && errno == EINTR);
            if (reaped == pid_) ended_ = DescribeWaitStatus(status);
            if (reaped == -1) ended_ = "is gone (" + ErrnoText(errno) + ")";
        }
        return ended_;
    }

    void Kill() override {
        if (Ended()) return;
        ::kill(pid_, SIGKILL);
        int status = 0;
        pid_t reaped = 0;
        do {
            reaped = ::waitpid(pid_, &status, 0);
        } while (reaped == -1 && errno == EINTR);
        ended_ = reaped == pid_ ? DescribeWaitStatus(status) : "is gone (" + ErrnoText(errno) + ")";
    }

private:
    pid_t pid_;
    int input_;
    int output_;
    std::optional<std::string> ended_;
};

// The child's ends of both channels become its descriptors 0 and 1; our ends
// are close-on-exec, so no other program we start holds them open.
Result<std::unique_ptr<ChildProcess>> SpawnWithChannels(const std::string& file, char* const* argv,
                                                        const int input[2], const int output[2]) {
    using Started = Result<std::unique_ptr<ChildProcess>>;
    posix_spawn_file_actions_t actions;
    if (int error = ::posix_spawn_file_actions_init(&actions); error != 0)
        return Started::Failed(ErrnoText(error));
    ::posix_spawn_file_actions_adddup2(&actions, input[1], 0);
    ::posix_spawn_file_actions_adddup2(&actions, output[1], 1);
    pid_t pid = 0;
    const int error = ::posix_spawn(&pid, file.c_str(), &actions, nullptr, argv, environ);
    ::posix_spawn_file_actions_destroy(&actions);
    ::close(input[1]);
    ::close(output[1]);
    if (error != 0) {
        ::close(input[0]);
        ::close(output[0]);
        return Started::Failed(ErrnoText(error));
    }
    ::fcntl(input[0], F_SETFL, O_NONBLOCK);
    ::fcntl(output[0], F_SETFL, O_NONBLOCK);
    ::fcntl(output[0], F_SETPIPE_SZ, kOutputPipeBytes);
    return std::unique_ptr<ChildProcess>(std::make_unique<PosixChild>(pid, input[0], output[0]));
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
        std::vector<char*> argv = ArgumentVector(file, arguments);
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

    Result<std::unique_ptr<ChildProcess>> StartChild(const std::string& file,
                                                     const std::vector<std::string>& arguments) override {
        using Started = Result<std::unique_ptr<ChildProcess>>;
        if (file.empty()) return Started::Failed("no program is named");
        std::vector<char*> argv = ArgumentVector(file, arguments);
        int input[2];
        int output[2];
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, input) != 0)
            return Started::Failed(ErrnoText(errno));
        if (::pipe2(output, O_CLOEXEC) != 0) {
            const int error = errno;
            ::close(input[0]);
            ::close(input[1]);
            return Started::Failed(ErrnoText(error));
        }
        return SpawnWithChannels(file, argv.data(), input, output);
    }

    bool SetCurrentDirectory(const std::string& directory) override {
        return ::chdir(directory.c_str()) == 0;
    }

    void Sleep(int milliseconds) override { SleepMilliseconds(milliseconds); }
};

}  // namespace

Process& SystemProcess() {
    static PosixProcess process;
    return process;
}

}  // namespace tintwright
