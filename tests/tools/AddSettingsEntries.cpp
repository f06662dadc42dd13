// Adds entries to a settings file one write at a time, as an editor's location
// dialog does: add_settings_entries FILE PREFIX COUNT. Two of these running at
// once stand in for two editors sharing one settings file.

#include <cstdio>
#include <cstdlib>
#include <string>

#include "settings/ProfileFile.h"

int main(int argc, char* argv[]) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s FILE PREFIX COUNT\n", argv[0]);
        return 2;
    }
    const std::string path = argv[1];
    const std::string prefix = argv[2];
    const int count = std::atoi(argv[3]);
    for (int i = 0; i < count; ++i) {
        const tintwright::FileOutcome written =
            tintwright::WriteProfileString(path, "Patch", prefix + std::to_string(i), std::to_string(i));
        if (!written) {
            std::fprintf(stderr, "write %d failed: %s\n", i, written.Reason().c_str());
            return 1;
        }
    }
    return 0;
}
