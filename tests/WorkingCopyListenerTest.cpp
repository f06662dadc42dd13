// Every path that writes the working copy tells the image's listeners, once,
// exactly which bytes it wrote, or that the whole copy was replaced; the view
// repaints only for changes that touch its cells.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/StartUp.h"
#include "palette/PaletteFile.h"
#include "tests/support/EditorFixture.h"
#include "window/ControlIds.h"

namespace tintwright {
namespace {

using testing::EditorFixture;
using testing::IndexedRomBytes;

constexpr std::size_t kRomSize = 0x401;  // odd: the last word has one byte in the file
constexpr Point kOntoStrip{70 + 20 * 5, 250};

// Another listener beside the view, as the game preview will be.
class RecordingListener final : public WorkingCopyListener {
public:
    explicit RecordingListener(RomImage& rom) : rom_(rom) { rom_.AddListener(*this); }
    ~RecordingListener() { rom_.RemoveListener(*this); }
    RecordingListener(const RecordingListener&) = delete;
    RecordingListener& operator=(const RecordingListener&) = delete;

    void WorkingCopyChanged(std::uint32_t offset, std::uint32_t count) override {
        heard.push_back("changed " + std::to_string(offset) + " " + std::to_string(count));
    }
    void WorkingCopyReplaced() override { heard.push_back("replaced " + std::to_string(rom_.Size())); }

    std::vector<std::string> heard;

private:
    RomImage& rom_;
};

// The steps of the table below act as the user does, through the fixture.
class WorkingCopyListenerTest : public EditorFixture {
public:
    using EditorFixture::ClickCell;
    using EditorFixture::Command;
    using EditorFixture::dir;
    using EditorFixture::fake;
    using EditorFixture::GoTo;
    using EditorFixture::state;

    void WritePalette(std::size_t colors) {
        const std::vector<std::uint16_t> words(colors, 0x001F);
        testing::WriteBytes(dir.File("colours.pal"), *WritePaletteFile(PaletteFormat::JascPal, words));
    }
};

struct WritePathRow {
    const char* name;
    std::function<void(WorkingCopyListenerTest&)> act;
    std::vector<std::string> heard;
    bool stripRepainted;
};

void PrintTo(const WritePathRow& row, std::ostream* out) {
    *out << row.name;
}

// The view starts at 0x100 (256) with cell 16, 0x120 (288), selected.
const WritePathRow kWritePaths[] = {
    {"Apply", [](auto& t) { t.Command(ids::kApplyButton); }, {"changed 288 2"}, true},
    {"ApplyOnTheLastByte",
     [](auto& t) {
         t.GoTo(kRomSize - 1 - 32);
         t.Command(ids::kApplyButton);
     },
     {"changed 1024 1"},
     true},
    {"ApplyOutsideTheFileTellsNobody",
     [](auto& t) {
         t.GoTo(kRomSize + 1 - 32);
         t.Command(ids::kApplyButton);
     },
     {},
     true},
    {"GradientFill",
     [](auto& t) {
         t.ClickCell(4);
         t.ClickCell(8);
         t.Command(ids::kGradientFill);
     },
     {"changed 264 8"},
     true},
    {"UndoSelected", [](auto& t) { t.Command(ids::kUndoSelected); }, {"changed 288 2"}, true},
    {"UndoViewArea", [](auto& t) { t.Command(ids::kUndoViewArea); }, {"changed 256 64"}, true},
    {"UndoViewAreaOverTheEnd",
     [](auto& t) {
         t.GoTo(kRomSize - 11);
         t.Command(ids::kUndoViewArea);
     },
     {"changed 1014 11"},
     true},
    {"UpdateUndoBufferWritesOnlyTheUndoCopy",
     [](auto& t) {
         t.fake.ExpectMessageBox("Buffer Update", box::kAnswerYes);
         t.Command(ids::kUpdateUndoBuffer);
     },
     {},
     false},
    {"PaletteFileDroppedOnTheStrip",
     [](auto& t) {
         t.WritePalette(3);
         t.fake.ExpectMessageBox("Palette File", box::kAnswerYes);
         t.fake.DropFiles({t.dir.File("colours.pal")}, kOntoStrip);
     },
     {"changed 256 6"},
     true},
    {"ReloadSource",
     [](auto& t) {
         t.fake.ExpectMessageBox("Information");
         t.Command(ids::kReloadSource);
     },
     {"replaced 1025"},
     true},
    {"UndoAll",
     [](auto& t) {
         t.fake.ExpectMessageBox("Information");
         t.Command(ids::kUndoAll);
     },
     {"replaced 1025"},
     true},
    {"Open",
     [](auto& t) {
         testing::WriteBytes(t.dir.File("other.smc"), std::vector<std::uint8_t>(0x800, 0x42));
         t.fake.AnswerFileDialog(t.dir.File("other.smc"));
         t.Command(ids::kOpen);
     },
     {"replaced 2048"},
     true},
    {"AWriteBeyondTheViewIsHeardButNotRepainted",
     [](auto& t) { t.state.rom.WriteColor(0x140, 0); },
     {"changed 320 2"},
     false},
    {"AWriteOfTheByteBeforeTheViewTouchesItsFirstCell",
     [](auto& t) { t.state.rom.WriteColor(0xFF, 0); },
     {"changed 255 2"},
     true},
};

class WritePathTest : public WorkingCopyListenerTest, public ::testing::WithParamInterface<WritePathRow> {};

TEST_P(WritePathTest, TellsTheListenerExactlyWhatItWrote) {
    StartEditor(IndexedRomBytes(kRomSize));
    RecordingListener listener(state.rom);
    const int paints = fake.Control(ids::kStrip).invalidations;
    GetParam().act(*this);
    EXPECT_EQ(listener.heard, GetParam().heard);
    EXPECT_EQ(fake.Control(ids::kStrip).invalidations > paints, GetParam().stripRepainted);
}

INSTANTIATE_TEST_SUITE_P(EveryWritePath, WritePathTest, ::testing::ValuesIn(kWritePaths),
                         [](const auto& info) { return std::string(info.param.name); });

// At start-up the ROM given on the command line replaces the empty copy
// before the main window exists; a listener hears of it, the view does not
// need to, since the window shows the ROM when it opens.
TEST(WorkingCopyListenerStartUp, TheRomFromTheCommandLineIsAReplacement) {
    testing::TempDir dir;
    testing::FakeWindowSystem fake;
    testing::FakeProcess process;
    process.executablePath = dir.File("tintwright.exe");
    ScopedProcess processScope{process};
    ProgramState state;
    MainWindow window{fake, state};
    RecordingListener listener(state.rom);
    testing::WriteBytes(dir.File("game.smc"), IndexedRomBytes(0x400));
    fake.session = [](MainWindowEvents& events) { events.OnCommand(ids::kExit, 0); };
    StartUpOptions options;
    options.sourcePath = dir.File("game.smc");
    options.savePath = dir.File("hack.smc");
    EXPECT_EQ(StartUp(fake, state, window, options), 0);
    EXPECT_EQ(listener.heard, (std::vector<std::string>{"replaced 1024", "replaced 0"}))
        << "closing releases the copies";
}

}  // namespace
}  // namespace tintwright
