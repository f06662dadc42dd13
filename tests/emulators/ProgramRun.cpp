#include "tests/emulators/ProgramRun.h"

#include <sys/wait.h>

#include <array>
#include <cstdio>

namespace tintwright::test {

namespace {

// Every argument reaches the program whole, whatever characters it holds.
std::string ShellQuoted(const std::string& argument) {
    std::string quoted = "'";
    for (const char character : argument)
        quoted += character == '\'' ? std::string("'\\''") : std::string(1, character);
    return quoted + "'";
}

}  // namespace

ProgramRun RunProgram(const std::vector<std::string>& arguments) {
    // exec: the shell gives way to the program, so a signal that ends it is
    // reported as that signal and not as the shell's exit status 128 + n.
    std::string command = "exec ";
    for (const std::string& argument : arguments) command += ShellQuoted(argument) + " ";
    ProgramRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    std::array<char, 4096> buffer;
    std::size_t got = 0;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        run.output.append(buffer.data(), got);
    const int status = pclose(pipe);
    if (status != -1 && WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
    if (status != -1 && WIFSIGNALED(status)) run.signal = WTERMSIG(status);
    return run;
}

}  // namespace tintwright::test
