// tintwright-palette run as a process, as scripts run it: its exit codes, its
// messages, and that bad input never leaves a file behind.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "core/RomImage.h"
#include "patch/PatchFile.h"
#include "tests/support/TempDir.h"

namespace tintwright {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

struct ProgramRun {
    int exitCode;
    std::string out;
    std::string err;
};

std::string FileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The program in dir with arguments; "$" needs no quoting inside '...'.
class PaletteProgram : public ::testing::Test {
protected:
    PaletteProgram() {
        std::vector<std::uint8_t> rom(0x10000);
        for (std::size_t at = 0; at < rom.size(); ++at)
            rom[at] = static_cast<std::uint8_t>(at * 7 + at / 256);
        WriteBytes(dir_.File("rom.smc"), rom);
        WriteBytes(dir_.File("colours.pal"),
                   {'J', 'A',  'S', 'C', '-', 'P', 'A', 'L',  '\n', '0', '1', '0', '0', '\n',
                    '2', '\n', '0', ' ', '0', ' ', '0', '\n', '8',  ' ', '8', ' ', '8', '\n'});
        std::vector<std::uint8_t> other = rom;
        other[3] ^= 1;
        WriteBytes(dir_.File("other.bps"), *CreatePatch(PatchFormat::Bps, other, rom));
        fs::create_directory(dir_.Path() / "folder.pal");
        WriteBytes(dir_.File("huge.smc"), {});
        fs::resize_file(dir_.File("huge.smc"), kMaxRomFileBytes + 1);  // sparse
        // The smallest snes9x state the readers take: a PPU block with CGRAM.
        const std::string snes9x = "#!s9xsnp:0011\nPPU:000600:";
        std::vector<std::uint8_t> state(snes9x.begin(), snes9x.end());
        state.resize(state.size() + 600, 0x11);
        WriteBytes(dir_.File("snes9x.frz"), state);
    }

    ProgramRun Start(const std::string& arguments) const {
        const std::string command = "cd '" + dir_.Path().string() + "' && '" TINTWRIGHT_PALETTE_PROGRAM "' " +
                                    arguments + " >stdout.txt 2>stderr.txt";
        const int status = std::system(command.c_str());
        ProgramRun run{WIFEXITED(status) ? WEXITSTATUS(status) : -1, FileText(dir_.File("stdout.txt")),
                       FileText(dir_.File("stderr.txt"))};
        fs::remove(dir_.File("stdout.txt"));
        fs::remove(dir_.File("stderr.txt"));
        return run;
    }

    std::set<std::string> Names() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_.Path()))
            names.insert(entry.path().filename().string());
        return names;
    }

    TempDir dir_;
};

TEST_F(PaletteProgram, BadInputExitsWithTwoSaysWhyAndWritesNothing) {
    const struct {
        const char* arguments;
        const char* error;
    } cases[] = {
        {"", "Usage:"},
        {"frobnicate", "tintwright-palette: unknown subcommand frobnicate"},
        {"export missing.smc 0 out.pal", "cannot read the ROM missing.smc: there is no such file"},
        {"export huge.smc 0 out.pal",
         "cannot read the ROM huge.smc: the file has 134217729 bytes, more than the 134217728 (128 MiB) "
         "allowed"},
        {"export rom.smc '$10000' out.pal",
         "rom.smc has 65536 bytes: from $10000 it holds 0 colours, not 16"},
        {"export rom.smc zz out.pal", "the offset zz is not a hexadecimal number"},
        {"export rom.smc 100000000 out.pal", "is not a hexadecimal number from $0 to $FFFFFFFF"},
        {"export rom.smc 0 --format jasc -", "the output - would be standard output"},
        {"export rom.smc -- 0 --x.png", "cannot tell which palette format to write"},
        {"export rom.smc 0 out.png", "cannot tell which palette format to write"},
        {"export rom.smc 0 --count 257 out.pal", "--count takes a number of colours from 1 to 256"},
        {"export rom.smc 0 --colours 3 out.pal", "unknown option --colours"},
        {"export rom.smc 0 folder.pal", "cannot write folder.pal: there is a folder of that name"},
        {"import rom.smc 0xFFFD colours.pal --output out.smc", "from $FFFD it holds 1 colours, not 2"},
        {"import rom.smc 0 rom.smc --output out.smc", "rom.smc: not a palette file (65536 bytes)"},
        {"import rom.smc 0 colours.pal", "import needs --output SAVE"},
        {"patch rom.smc rom.smc out.xdelta", "cannot tell which patch to write"},
        {"apply rom.smc other.bps --output out.smc", "the patch was made for another source"},
        {"apply rom.smc colours.pal --output out.smc", "not a patch"},
        {"apply rom.smc other.bps", "apply needs --output OUT"},
        {"preview rom.smc colours.pal", "--output FRAME.png names the picture to write"},
        {"preview rom.smc snes9x.frz --output f.png --frames 0", "--frames must be 1 to 36000, not 0"},
        {"preview rom.smc colours.pal --output f.png", "cannot be run by a libretro core"},
        {"preview rom.smc snes9x.frz --output f.png --core ./missing.so",
         "The game preview stopped: cannot load the core ./missing.so: "},
        {"preview rom.smc snes9x.frz --output f.png --core colours.pal",
         "The game preview stopped: cannot load the core colours.pal: "},
    };
    const std::set<std::string> before = Names();
    const auto rom = ReadBytes(dir_.File("rom.smc"));
    for (const auto& c : cases) {
        const ProgramRun run = Start(c.arguments);
        EXPECT_EQ(run.exitCode, 2) << c.arguments;
        EXPECT_NE(run.err.find(c.error), std::string::npos) << c.arguments << ": " << run.err;
        EXPECT_EQ(run.out, "") << c.arguments;
        EXPECT_EQ(Names(), before) << c.arguments;
    }
    EXPECT_EQ(ReadBytes(dir_.File("rom.smc")), rom);
}

// An output that names an input, directly, through a link or a second name,
// would destroy the input: refused before anything is written.
TEST_F(PaletteProgram, AnOutputThatIsAnInputIsRefusedAndTheInputStaysWhole) {
    fs::create_symlink("rom.smc", dir_.Path() / "link.smc");
    fs::create_hard_link(dir_.Path() / "colours.pal", dir_.Path() / "hard.pal");
    const struct {
        const char* arguments;
        const char* error;
    } cases[] = {
        {"export rom.smc 100 --format bin rom.smc", "the output rom.smc is the same file as the ROM rom.smc"},
        {"export rom.smc 100 --format bin link.smc",
         "the output link.smc is the same file as the ROM rom.smc"},
        {"import rom.smc 0 colours.pal --output ./rom.smc",
         "the output ./rom.smc is the same file as the ROM"},
        {"import rom.smc 0 colours.pal --output hard.pal",
         "the output hard.pal is the same file as the palette file colours.pal"},
        {"patch rom.smc other.bps rom.smc", "the output rom.smc is the same file as the source rom.smc"},
        {"patch rom.smc other.bps --format ips other.bps", "is the same file as the edited file other.bps"},
        {"apply rom.smc other.bps --output link.smc", "the output link.smc is the same file as the source"},
        {"apply rom.smc other.bps --output other.bps", "is the same file as the patch other.bps"},
        {"find rom.smc colours.pal --add-to-book rom.smc", "is the same file as the ROM rom.smc"},
        {"find rom.smc colours.pal --add-to-book hard.pal", "is the same file as the capture colours.pal"},
        {"preview rom.smc snes9x.frz --output link.smc", "the output link.smc is the same file as the ROM"},
    };
    const std::set<std::string> before = Names();
    const auto rom = ReadBytes(dir_.File("rom.smc"));
    const auto palette = ReadBytes(dir_.File("colours.pal"));
    const auto patch = ReadBytes(dir_.File("other.bps"));
    for (const auto& c : cases) {
        const ProgramRun run = Start(c.arguments);
        EXPECT_EQ(run.exitCode, 2) << c.arguments;
        EXPECT_NE(run.err.find(c.error), std::string::npos) << c.arguments << ": " << run.err;
        EXPECT_NE(run.err.find("nothing was written"), std::string::npos) << c.arguments;
        EXPECT_EQ(run.out, "") << c.arguments;
        EXPECT_EQ(Names(), before) << c.arguments;
        EXPECT_EQ(ReadBytes(dir_.File("rom.smc")), rom) << c.arguments;
        EXPECT_EQ(ReadBytes(dir_.File("colours.pal")), palette) << c.arguments;
        EXPECT_EQ(ReadBytes(dir_.File("other.bps")), patch) << c.arguments;
    }
}

// Colours out and back in leave the ROM as it was, and both patches rebuild
// the edited ROM; every step says what it wrote, on standard output.
TEST_F(PaletteProgram, AUsersRoundTripsGiveTheSameBytes) {
    const char* steps[] = {
        "export rom.smc '$1A1' --count 256 out.gpl",
        "import rom.smc 1A1 out.gpl --output same.smc",
        "import rom.smc 0x200 colours.pal --output edited.smc",
        "patch rom.smc edited.smc edited.ips",
        "patch rom.smc edited.smc --format bps edited.patch",
        "apply rom.smc edited.ips --output from-ips.smc",
        "apply rom.smc edited.patch --output from-bps.smc",
        "--version",
        "--help",
        "export --help",
    };
    for (const char* step : steps) {
        const ProgramRun run = Start(step);
        EXPECT_EQ(run.exitCode, 0) << step << ": " << run.err;
        EXPECT_EQ(run.err, "") << step;
        EXPECT_NE(run.out, "") << step;
    }
    EXPECT_EQ(ReadBytes(dir_.File("same.smc")), ReadBytes(dir_.File("rom.smc")));
    const auto edited = ReadBytes(dir_.File("edited.smc"));
    EXPECT_EQ(std::vector<std::uint8_t>(edited.begin() + 0x200, edited.begin() + 0x204),
              (std::vector<std::uint8_t>{0, 0, 0x21, 0x04}));
    EXPECT_EQ(ReadBytes(dir_.File("from-ips.smc")), edited);
    EXPECT_EQ(ReadBytes(dir_.File("from-bps.smc")), edited);
}

// An IPS patch's end size alone can grow a ROM or empty it: applied, and said.
TEST_F(PaletteProgram, APatchThatChangesTheSizeSaysSo) {
    const std::size_t romBytes = ReadBytes(dir_.File("rom.smc")).size();
    const struct {
        const char* patch;
        std::vector<std::uint8_t> bytes;
        std::size_t made;
        const char* said;
    } cases[] = {
        {"grow.ips",
         {'P', 'A', 'T', 'C', 'H', 'E', 'O', 'F', 0x10, 0x00, 0x00},
         0x100000,
         " to 1048576 bytes\n"},
        {"empty.ips", {'P', 'A', 'T', 'C', 'H', 'E', 'O', 'F', 0, 0, 0}, 0, " to 0 bytes (an empty file)\n"},
    };
    for (const auto& c : cases) {
        WriteBytes(dir_.File(c.patch), c.bytes);
        const ProgramRun run = Start(std::string("apply rom.smc ") + c.patch + " --output out.smc");
        EXPECT_EQ(run.exitCode, 0) << c.patch << ": " << run.err;
        EXPECT_EQ(ReadBytes(dir_.File("out.smc")).size(), c.made) << c.patch;
        EXPECT_NE(
            run.err.find("the patch changes the size of rom.smc from " + std::to_string(romBytes) + c.said),
            std::string::npos)
            << run.err;
    }
}

}  // namespace
}  // namespace tintwright
