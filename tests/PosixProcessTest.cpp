#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "core/Process.h"
#include "tests/support/TempDir.h"

namespace tintwright {
namespace {

using testing::TempDir;

bool AwaitFile(const std::string& path) {
    for (int i = 0; i < 500; ++i) {
        if (std::filesystem::exists(path)) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

TEST(PosixProcess, ProgramsStartInTheirFolderWithEachArgumentWhole) {
    TempDir dir;
    const std::string script = dir.File("emulator.sh");
    std::ofstream(script)
        << "#!/bin/sh\n{ echo \"$# $(pwd)\"; for a in \"$@\"; do echo \"[$a]\"; done; } > \"$0.part\"\n"
           "mv \"$0.part\" \"$0.out\"\n";
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    const std::string folder = dir.Path().string();
    EXPECT_TRUE(SystemProcess().StartProgram(script, {"/roms/my game.smc", "say \"hi\" \\"}, folder));
    ASSERT_TRUE(AwaitFile(script + ".out"));
    std::ifstream out(script + ".out");
    std::string line;
    std::vector<std::string> lines;
    while (std::getline(out, line)) lines.push_back(line);
    const std::string canonical = std::filesystem::canonical(folder).string();
    EXPECT_EQ(lines, (std::vector<std::string>{"2 " + canonical, "[/roms/my game.smc]", "[say \"hi\" \\]"}));
    const FileOutcome missing = SystemProcess().StartProgram(dir.File("no-such-program"), {}, folder);
    EXPECT_FALSE(missing);
    EXPECT_EQ(missing.Reason(), "No such file or directory");

    const auto before = std::filesystem::current_path();
    EXPECT_TRUE(SystemProcess().SetCurrentDirectory(folder));
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::canonical(folder));
    EXPECT_FALSE(SystemProcess().SetCurrentDirectory(dir.File("missing")));
    std::filesystem::current_path(before);
}

}  // namespace
}  // namespace tintwright
