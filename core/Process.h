#pragma once

// What the program asks of its own process and of other programs: where its
// executable is, starting the emulator, starting a helper it talks to through
// pipes, the current folder, pausing. None of it is a window's business, so it
// has a seam of its own beside the files. Each platform has one
// implementation; tests put a scripted one in front of it with ScopedProcess.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/FileSystem.h"
#include "core/Result.h"

namespace tintwright {

// A program started with its standard input and output connected to us, such
// as the game preview's host. Nothing here waits for the program: a write
// hands over what the pipe takes now, a read gives what has arrived, and the
// caller comes back later for the rest, so a hung program never holds up a
// window. Destroying it closes the pipes and ends the program if it has not
// ended by itself (at once when it does not finish within a moment of its
// input closing), and collects it, so nothing stays running.
class ChildProcess {
public:
    virtual ~ChildProcess() = default;

    // Writes as much of bytes as the pipe takes now, possibly nothing; fails
    // when the program no longer reads its input.
    virtual Result<std::size_t> WriteSome(std::span<const std::uint8_t> bytes) = 0;
    // Reads what has arrived, at most bytes.size(); 0 when nothing has.
    virtual Result<std::size_t> ReadSome(std::span<std::uint8_t> bytes) = 0;
    // Closes the program's standard input, its sign to finish.
    virtual void CloseInput() = 0;
    // How the program ended, in words ("exited with status 3", "was ended by
    // signal 11 (Segmentation fault)"); nothing while it runs.
    virtual std::optional<std::string> Ended() = 0;
    // Ends the program now.
    virtual void Kill() = 0;
};

class Process {
public:
    virtual ~Process() = default;

    virtual std::string ExecutablePath() = 0;
    // Starts file with exactly these arguments, blanks and quotes in them
    // included, in directory, without waiting for it. A program that cannot
    // be started fails with the system's reason.
    virtual FileOutcome StartProgram(const std::string& file, const std::vector<std::string>& arguments,
                                     const std::string& directory) = 0;
    // Starts file with these arguments, its standard input and output
    // connected to the ChildProcess returned and its standard error shared
    // with ours. Fails with the system's reason when it cannot start.
    virtual Result<std::unique_ptr<ChildProcess>> StartChild(const std::string& file,
                                                             const std::vector<std::string>& arguments) = 0;
    virtual bool SetCurrentDirectory(const std::string& directory) = 0;
    virtual void Sleep(int milliseconds) = 0;
};

// The process seam the program uses: the platform's own, or one a test put in
// front of it with ScopedProcess.
Process& ThisProcess();
// The platform's implementation.
Process& SystemProcess();

class ScopedProcess {
public:
    explicit ScopedProcess(Process& process);
    ~ScopedProcess();
    ScopedProcess(const ScopedProcess&) = delete;
    ScopedProcess& operator=(const ScopedProcess&) = delete;

private:
    Process* previous_;
};

}  // namespace tintwright
