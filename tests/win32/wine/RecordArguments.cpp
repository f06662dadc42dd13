// A stand-in emulator for the Save and Run test. It writes down how it was
// started, one item a line: its command line as Windows handed it over, its
// current folder, then the arguments the C run-time split from that line. The
// record goes beside the program, under its name with the extension "txt".

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int main() {
    char program[MAX_PATH] = {};
    const DWORD programLength = GetModuleFileNameA(nullptr, program, MAX_PATH);
    char folder[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, folder);

    std::string record = std::string(GetCommandLineA()) + "\n" + folder + "\n";
    for (int index = 0; index < __argc; ++index) record += std::string(__argv[index]) + "\n";

    std::string recordPath(program, programLength);
    recordPath.replace(recordPath.find_last_of('.'), std::string::npos, ".txt");
    // Written under another name and then renamed, so the test never reads half a record.
    const std::string partialPath = recordPath + ".partial";
    std::FILE* file = std::fopen(partialPath.c_str(), "wb");
    if (file == nullptr) return 1;
    const bool written = std::fwrite(record.data(), 1, record.size(), file) == record.size();
    if (std::fclose(file) != 0 || !written) return 1;
    return MoveFileExA(partialPath.c_str(), recordPath.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
