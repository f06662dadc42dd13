#pragma once

// What the program asks of its own process and of other programs: where its
// executable is, starting the emulator, the current folder, pausing. None of
// it is a window's business, so it has a seam of its own beside the files.
// Each platform has one implementation; tests put a scripted one in front of
// it with ScopedProcess.

#include <string>
#include <vector>

#include "core/FileSystem.h"

namespace tintwright {

class Process {
public:
    virtual ~Process() = default;

    virtual std::string ExecutablePath() = 0;
    // Starts file with exactly these arguments, blanks and quotes in them
    // included, in directory, without waiting for it. A program that cannot
    // be started fails with the system's reason.
    virtual FileOutcome StartProgram(const std::string& file, const std::vector<std::string>& arguments,
                                     const std::string& directory) = 0;
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
