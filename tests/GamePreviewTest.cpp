// The editor's game preview against a scripted host: it opens after a drop's
// search, hands the host the working copy and every change of it, plays and
// pauses on the keys, and a host that fails costs the editor nothing.

#include <gtest/gtest.h>

#include <filesystem>

#include "capture/Capture.h"
#include "mainwindow/CaptureSearch.h"
#include "preview/PreviewMapping.h"
#include "tests/support/CaptureFiles.h"
#include "tests/support/EditorFixture.h"
#include "window/ControlIds.h"

namespace tintwright {
namespace {

using testing::EditorFixture;
using testing::FakeChild;
using testing::IndexedRomBytes;

constexpr std::uint32_t kPlanted = 0x1A000;  // where CGRAM row 2 of the state is stored
constexpr Point kOffTheStrip{400, 60};
constexpr int kTicks = 20;
const std::string kCoreSetting = "[Settings]\r\nPreviewCore=/cores/test_libretro.so\r\n";
const FrameMessage kFrame{2, 2, {1, 2, 3, 4}};

std::vector<std::uint8_t> RomWithRow2() {
    std::vector<std::uint8_t> rom = IndexedRomBytes(0x20000);
    const std::vector<std::uint16_t> palette = test::Palette();
    const auto row = test::LittleEndianCgram({palette.begin() + 32, palette.begin() + 48});
    std::copy(row.begin(), row.end(), rom.begin() + kPlanted);
    return rom;
}

std::vector<PreviewMessage> Said(const FakeChild& host) {
    PreviewMessageReader reader;
    reader.Feed(host.input);
    std::vector<PreviewMessage> messages;
    while (auto next = reader.Next()) {
        if (!*next) break;
        messages.push_back(**next);
    }
    return messages;
}

class GamePreviewTest : public EditorFixture {
protected:
    // Drops a state, lets the search finish and answers its box with No.
    void Drop(const std::vector<std::uint8_t>& bytes, const std::string& name = "game.frz") {
        testing::WriteBytes(dir.File(name), bytes);
        fake.ExpectMessageBox(std::string(kPaletteSearchCaption), box::kAnswerNo);
        fake.DropFiles({dir.File(name)}, kOffTheStrip);
        for (int i = 0; i < kTicks; ++i) window->OnTimer();
    }
    PreviewHandle Open() {
        for (const auto& [handle, preview] : fake.previews)
            if (preview.open) return handle;
        return 0;
    }
    std::shared_ptr<FakeChild> Host() { return process.children.back(); }
    // What the host was sent since the last call.
    std::vector<PreviewMessage> Sent() {
        fake.TickPreview(Open());
        std::vector<PreviewMessage> messages = Said(*Host());
        Host()->input.clear();
        return messages;
    }
    std::vector<std::uint8_t> Working() {
        const auto bytes = state.rom.WorkingBytes();
        return {bytes.begin(), bytes.end()};
    }
};

TEST_F(GamePreviewTest, OpensAfterTheSearchAndFollowsEveryChangeOfTheWorkingCopy) {
    StartEditor(RomWithRow2(), kCoreSetting);
    Drop(test::Snes9xState(11));
    const PreviewHandle preview = Open();
    ASSERT_NE(preview, 0);
    EXPECT_EQ(fake.previews[preview].title, "game.frz - Game Preview");
    EXPECT_EQ(fake.previews[preview].status.rfind("row 2 follows the ROM ($1A000)", 0), 0u)
        << fake.previews[preview].status;
    EXPECT_EQ(Host()->file, "/opt/tintwright/tintwright-preview");

    const auto first = Sent();
    ASSERT_EQ(first.size(), 2u);
    const auto& load = std::get<LoadMessage>(first[0]);
    EXPECT_EQ(load.corePath, "/cores/test_libretro.so");
    const auto working = Working();
    EXPECT_EQ(load.rom, std::vector<std::uint8_t>(working.begin(), working.begin() + state.rom.Size()));
    EXPECT_TRUE(load.cgramBigEndian);
    ASSERT_EQ(load.colors.size(), 16u);
    EXPECT_EQ(load.colors.front(), (MappedColor{32, kPlanted}));
    EXPECT_EQ(first[1], PreviewMessage(DrawMessage{1}));

    Host()->Say(EncodePreviewMessage(kFrame));
    fake.TickPreview(preview);
    ASSERT_EQ(fake.previews[preview].frames.size(), 1u);
    EXPECT_EQ(fake.previews[preview].frames[0].pixels, kFrame.pixels);

    // An Apply at the planted row, then its undo: each is sent with a frame asked for.
    GoTo(kPlanted);
    ClickCell(3);
    TypeRgb("255", "0", "0");
    window->OnEditKeyUp(ids::kRedEdit);
    Command(ids::kApplyButton);
    const auto applied = Sent();
    ASSERT_EQ(applied.size(), 2u);
    const auto& change = std::get<RomChangedMessage>(applied[0]);
    EXPECT_EQ(change.offset, kPlanted + 6);
    EXPECT_EQ(change.bytes, (std::vector<std::uint8_t>{0x1F, 0x00}));
    EXPECT_EQ(applied[1], PreviewMessage(DrawMessage{1}));
    fake.ExpectMessageBox("Information");
    Command(ids::kUndoAll);
    const auto reloaded = Sent();
    // Reload Source replaces the working copy: a new host gets it whole.
    EXPECT_EQ(process.children.size(), 2u);
    ASSERT_FALSE(reloaded.empty());
    EXPECT_EQ(std::get<LoadMessage>(reloaded[0]).rom, load.rom);
}

TEST_F(GamePreviewTest, SpacePlaysAndPausesThePadFollowsTheKeysAndBackspaceGoesBack) {
    StartEditor(RomWithRow2(), kCoreSetting);
    Drop(test::Snes9xState(11));
    const PreviewHandle preview = Open();
    Sent();
    fake.PressPreviewKey(preview, PreviewKey::Space, true);
    fake.PressPreviewKey(preview, PreviewKey::Space, false);
    fake.PressPreviewKey(preview, PreviewKey::X, true);
    fake.PressPreviewKey(preview, PreviewKey::Enter, true);
    fake.PressPreviewKey(preview, PreviewKey::X, false);
    fake.PressPreviewKey(preview, PreviewKey::Other, true);  // no pad key: nothing
    fake.PressPreviewKey(preview, PreviewKey::Backspace, true);
    const std::vector<PreviewMessage> expected = {
        PlayMessage{true},    InputMessage{1 << 8}, InputMessage{1 << 8 | 1 << 3},
        InputMessage{1 << 3}, PlayMessage{false},   ResetMessage{}};
    EXPECT_EQ(Sent(), expected);
    // While the game runs an edit is sent without asking for a still frame.
    fake.PressPreviewKey(preview, PreviewKey::Space, true);
    GoTo(kPlanted);
    ClickCell(0);
    TypeRgb("0", "255", "0");
    window->OnEditKeyUp(ids::kRedEdit);
    Command(ids::kApplyButton);
    const auto sent = Sent();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_TRUE(std::holds_alternative<RomChangedMessage>(sent[1]));
}

// L replays the last play as it was, then with every place of each row
// tagged: a row whose tags arrive follows that place from then on, the status
// line says so, and the place can go into the location book.
TEST_F(GamePreviewTest, LReplaysThePlayAndTheRowsThenFollowWhereTheGameLoadsThem) {
    StartEditor(RomWithRow2(), kCoreSetting);
    Drop(test::Snes9xState(11));
    const PreviewHandle preview = Open();
    Sent();
    const std::vector<std::uint16_t> cgram = test::Palette();
    const auto replay = [&](std::vector<std::uint16_t> frames) {
        Host()->Say(EncodePreviewMessage(TraceMessage{cgram, std::move(frames)}));
        fake.TickPreview(preview);
    };
    fake.PressPreviewKey(preview, PreviewKey::L, true);
    EXPECT_EQ(Sent(), (std::vector<PreviewMessage>{PlayMessage{false}, ReplayMessage{}}));
    replay({});  // nothing was played
    EXPECT_EQ(fake.previews[preview].status.rfind("Play the game first (Space)", 0), 0u)
        << fake.previews[preview].status;

    fake.PressPreviewKey(preview, PreviewKey::L, true);
    Sent();
    std::vector<std::uint16_t> frames;
    for (int f = 0; f < 120; ++f) frames.insert(frames.end(), cgram.begin(), cgram.end());
    replay(frames);
    const auto second = Sent();
    ASSERT_EQ(second.size(), 1u);
    const std::vector<std::uint8_t> tagged = std::get<ReplayMessage>(second[0]).rom;
    ASSERT_EQ(tagged.size(), state.rom.Size());
    EXPECT_NE(tagged[kPlanted], Working()[kPlanted]);
    // Row 2 turns into the tags of its place at frame 70.
    for (std::size_t f = 70; f < 120; ++f)
        for (std::size_t i = 0; i < 16; ++i)
            frames[f * 256 + 32 + i] = static_cast<std::uint16_t>(tagged[kPlanted + 2 * i] |
                                                                  (tagged[kPlanted + 2 * i + 1] & 0x7F) << 8);
    fake.ExpectMessageBox("Game Preview", box::kAnswerYes);
    replay(frames);
    EXPECT_EQ(fake.previews[preview].status.rfind("row 2 is loaded from $1A000 (live)", 0), 0u)
        << fake.previews[preview].status;
    const auto remapped = Sent();
    ASSERT_EQ(remapped.size(), 1u);
    const auto& colors = std::get<RemapMessage>(remapped[0]).colors;
    ASSERT_FALSE(colors.empty());
    EXPECT_EQ(colors.front(), (MappedColor{32, kPlanted}));
    const std::vector<std::uint8_t> settings = testing::ReadBytes(state.settingsPath);
    EXPECT_NE(std::string(settings.begin(), settings.end()).find("Live row 2 @1A000=0001A000"),
              std::string::npos);
    EXPECT_EQ(testing::ReadBytes(state.rom.SourcePath()), RomWithRow2()) << "the ROM is untouched";
}

// A replay in which no row was reloaded offers the run from power-on, as
// it is and then tagged, after which the preview goes back to the state.
TEST_F(GamePreviewTest, WithNoReloadInTheReplayTheGameIsRunFromPowerOn) {
    StartEditor(RomWithRow2(), kCoreSetting);
    Drop(test::Snes9xState(11));
    const PreviewHandle preview = Open();
    Sent();
    const std::vector<std::uint16_t> cgram = test::Palette();
    std::vector<std::uint16_t> frames;
    for (int f = 0; f < 60; ++f) frames.insert(frames.end(), cgram.begin(), cgram.end());
    const auto answer = [&](const std::vector<std::uint16_t>& trace) {
        Host()->Say(EncodePreviewMessage(TraceMessage{cgram, trace}));
        fake.TickPreview(preview);
        return Sent();
    };
    const std::vector<std::uint16_t> stillPad(600, 0);
    fake.PressPreviewKey(preview, PreviewKey::L, true);
    Sent();
    answer(frames);  // the untagged replay; the tagged one follows
    fake.ExpectMessageBox("Game Preview", box::kAnswerYes);
    EXPECT_EQ(answer(frames), (std::vector<PreviewMessage>{RunMessage{stillPad, {}, true}}));
    const auto tagged = answer(frames);
    ASSERT_EQ(tagged.size(), 1u);
    const auto& run = std::get<RunMessage>(tagged[0]);
    EXPECT_TRUE(run.fromPowerOn);
    ASSERT_EQ(run.rom.size(), state.rom.Size());
    for (std::size_t i = 0; i < 16; ++i)
        frames[32 + i] = static_cast<std::uint16_t>(run.rom[kPlanted + 2 * i] |
                                                    (run.rom[kPlanted + 2 * i + 1] & 0x7F) << 8);
    fake.ExpectMessageBox("Game Preview", box::kAnswerNo);
    const auto after = answer(frames);
    EXPECT_EQ(fake.previews[preview].status.rfind("row 2 is loaded from $1A000 (live)", 0), 0u)
        << fake.previews[preview].status;
    ASSERT_EQ(after.size(), 2u);
    EXPECT_EQ(after[0], PreviewMessage(ResetMessage{}));
    EXPECT_TRUE(std::holds_alternative<RemapMessage>(after[1]));
}

TEST_F(GamePreviewTest, AFailingHostEndsOnlyThePreviewAndClosingEndsTheHost) {
    StartEditor(RomWithRow2(), kCoreSetting);
    Drop(test::Snes9xState(11));
    const PreviewHandle preview = Open();
    Sent();
    const auto before = Working();
    Host()->ended = "was ended by signal 11 (Segmentation fault)";
    fake.TickPreview(preview);
    EXPECT_EQ(fake.previews[preview].status,
              "The game preview stopped: tintwright-preview was ended by signal 11 (Segmentation fault)");
    EXPECT_FALSE(fake.previews[preview].timerPeriod);
    EXPECT_EQ(Working(), before);
    // Editing goes on as before.
    GoTo(kPlanted);
    ClickCell(1);
    TypeRgb("8", "8", "8");
    window->OnEditKeyUp(ids::kRedEdit);
    Command(ids::kApplyButton);
    EXPECT_NE(Working(), before);

    Drop(test::Snes9xState(11), "again.frz");
    const PreviewHandle second = Open();
    ASSERT_NE(second, 0);
    EXPECT_FALSE(fake.previews[preview].open);
    fake.ClosePreviewBox(second);
    EXPECT_FALSE(fake.previews[second].open);
    EXPECT_TRUE(Host()->destroyed);
}

// tintwright ROM SAVE --state STATE: the state is searched for as if dropped.
TEST_F(GamePreviewTest, AStateFromTheCommandLineIsSearchedAndPreviewed) {
    testing::WriteBytes(dir.File("given.frz"), test::Snes9xState(11));
    state.stateToSearch = dir.File("given.frz");
    fake.ExpectMessageBox(std::string(kPaletteSearchCaption), box::kAnswerNo);
    StartEditor(RomWithRow2(), kCoreSetting);
    for (int i = 0; i < kTicks; ++i) window->OnTimer();
    ASSERT_NE(Open(), 0);
    EXPECT_EQ(fake.previews[Open()].title, "given.frz - Game Preview");
    EXPECT_FALSE(state.stateToSearch);
}

TEST_F(GamePreviewTest, WhenNoPreviewCanOpenTheSearchBoxSaysWhy) {
    const struct {
        const char* what;
        std::string settings;
        std::vector<std::uint8_t> capture;
        std::string hostFailure;
        std::string note;  // empty: the box says nothing of a preview
    } cases[] = {
        {"another emulator's state", kCoreSetting, test::MednafenState(test::MednafenModule::Snes), "",
         "The game preview cannot open: a mednafen state (module snes) cannot be run by a libretro core"},
        {"a palette file", kCoreSetting, test::LittleEndianCgram(test::Palette()), "", ""},
        {"no core named", "", test::Snes9xState(11), "",
         "The game preview cannot open: no libretro core for snes9x states is known: name one as "
         "PreviewCore=PATH in the [Settings] section of "},
        {"no host", kCoreSetting, test::Snes9xState(11), "No such file or directory",
         "The game preview cannot open: cannot start /opt/tintwright/tintwright-preview: No such file or "
         "directory."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fake.boxesShown.clear();
        std::filesystem::remove(state.settingsPath);
        process.startChildFailure = c.hostFailure;
        StartEditor(RomWithRow2(), c.settings);
        Drop(c.capture);
        ASSERT_FALSE(fake.boxesShown.empty());
        const std::string& text = fake.boxesShown.back().text;
        if (c.note.empty())
            EXPECT_EQ(text.find("game preview"), std::string::npos) << text;
        else
            EXPECT_NE(text.find(c.note), std::string::npos) << text;
        EXPECT_EQ(Open(), 0);
    }
}

}  // namespace
}  // namespace tintwright
