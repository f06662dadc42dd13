// The game preview's portable pieces: the host protocol, the colours that
// follow the ROM and the status line, frames, and the state patching.

#include <gtest/gtest.h>

#include "preview/PreviewCore.h"
#include "preview/PreviewFrame.h"
#include "preview/PreviewMapping.h"
#include "preview/PreviewProtocol.h"
#include "preview/StatePatch.h"

namespace tintwright {
namespace {

std::vector<PreviewMessage> EveryKind() {
    return {LoadMessage{"/cores/a.so", {1, 2, 3}, {9, 8}, 7, true, {{3, 0x1A000}, {255, 4}}},
            RomChangedMessage{0x2C000, {0x1F, 0x00}},
            DrawMessage{5},
            PlayMessage{true},
            InputMessage{0x0808},
            ResetMessage{},
            RunMessage{{0, 0x0008, 0x0008}, {}, false},
            RunMessage{{0}, {7, 7}, true},
            ReplayMessage{{1, 2, 3}},
            RemapMessage{{{16, 0x1A1A0}}},
            FrameMessage{2, 1, {0x123456, 0xFFFFFF}},
            ErrorMessage{"the core has no retro_run"},
            TraceMessage{std::vector<std::uint16_t>(256, 0x0421), std::vector<std::uint16_t>(512, 0x7FFF)},
            TraceMessage{std::vector<std::uint16_t>(256, 0x0421), {}}};
}

TEST(PreviewProtocol, EveryMessageComesBackWholeFromPiecesOfAnySize) {
    std::vector<std::uint8_t> stream;
    for (const PreviewMessage& message : EveryKind()) {
        const auto bytes = EncodePreviewMessage(message);
        stream.insert(stream.end(), bytes.begin(), bytes.end());
    }
    for (std::size_t piece : {std::size_t{1}, std::size_t{7}, stream.size()}) {
        PreviewMessageReader reader;
        std::vector<PreviewMessage> back;
        for (std::size_t at = 0; at < stream.size(); at += piece) {
            reader.Feed(std::span(stream).subspan(at, std::min(piece, stream.size() - at)));
            while (true) {
                auto next = reader.Next();
                ASSERT_TRUE(next) << next.Reason();
                if (!*next) break;
                back.push_back(std::move(**next));
            }
        }
        EXPECT_EQ(back, EveryKind()) << "pieces of " << piece;
        EXPECT_EQ(reader.Pending(), 0u);
    }
}

TEST(PreviewProtocol, GarbageIsToldAndStopsTheStream) {
    struct Case {
        std::vector<std::uint8_t> bytes;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {{0, 0, 0, 0}, "a message claims 0 bytes"},
        {{0xFF, 0xFF, 0xFF, 0xFF}, "a message claims 4294967295 bytes"},
        {{1, 0, 0, 0, 99}, "message kind 99 is unknown"},
        {{3, 0, 0, 0, 3, 1, 0}, "a draw message is cut or too long"},
        {{6, 0, 0, 0, 3, 1, 0, 0, 0, 0}, "a draw message is cut or too long"},
        {{5, 0, 0, 0, 2, 9, 0, 0, 0}, "a ROM change message is cut or too long"},
        {{8, 0, 0, 0, 16, 1, 0, 1, 0, 0, 0, 0}, "a frame of 1 × 1 pixels does not hold 3 bytes"},
        {{5, 0, 0, 0, 16, 0, 8, 1, 0}, "a frame of 2048 × 1 pixels does not hold 0 bytes"},
        {{5, 0, 0, 0, 7, 0, 0, 0, 0}, "a run of 0 frames is asked for"},
        {{5, 0, 0, 0, 7, 0xA1, 0x8C, 0, 0}, "a run of 36001 frames is asked for"},
        {{6, 0, 0, 0, 7, 1, 0, 0, 0, 8}, "a run message is cut or too long"},
        {[] {
             std::vector<std::uint8_t> trace = {0x07, 0x02, 0, 0, 18};  // 519 bytes
             trace.resize(5 + 512);
             trace.insert(trace.end(), {2, 0, 0, 0, 1, 0});
             return trace;
         }(),
         "a trace of 2 words does not hold 2 bytes of whole frames"},
    };
    for (const Case& c : cases) {
        PreviewMessageReader reader;
        reader.Feed(c.bytes);
        auto next = reader.Next();
        ASSERT_FALSE(next) << c.reason;
        EXPECT_EQ(next.Reason(), c.reason);
        reader.Feed(EncodePreviewMessage(ResetMessage{}));
        EXPECT_FALSE(reader.Next()) << "still out of step after " << c.reason;
    }
}

PaletteHit Hit(int row, std::vector<PaletteRun> parts, bool uniform = false) {
    PaletteHit hit;
    hit.row = row;
    hit.parts = std::move(parts);
    hit.uniform = uniform;
    return hit;
}

TEST(PreviewMapping, BestNonUniformHitOfEachRowMapsItsMatchedWords) {
    SearchResult result;
    result.rows = 16;
    // Row 2 whole but word 1 mismatched; row 5 in halves; row 7 only uniform.
    result.hits = {Hit(7, {{0x9000, 7, 0, 16, 0xFFFF}}, true), Hit(2, {{0x1A000, 2, 0, 3, 0b101}}),
                   Hit(5, {{0x2C000, 5, 0, 2, 0b11}, {0x2E400, 5, 8, 1, 0b1}}),
                   Hit(2, {{0x5000, 2, 0, 16, 0xFFFF}})};
    const PreviewMapping mapping = MapCaptureToRom(result);
    const std::vector<MappedColor> expected = {
        {32, 0x1A000}, {34, 0x1A004}, {80, 0x2C000}, {81, 0x2C002}, {88, 0x2E400}};
    EXPECT_EQ(mapping.colors, expected);
    EXPECT_EQ(
        mapping.status,
        "rows 2, 5 follow the ROM ($1A000; $2C000 + $2E400); rows 0, 1, 3, 4, 6\u201315 were not found");

    SearchResult one;
    one.rows = 2;
    one.hits = {Hit(1, {{0x10, 1, 0, 1, 1}})};
    EXPECT_EQ(MapCaptureToRom(one).status, "row 1 follows the ROM ($10); row 0 was not found");
    one.hits.clear();
    EXPECT_EQ(MapCaptureToRom(one).status, "no row follows the ROM; rows 0, 1 were not found");
}

TEST(PreviewFrame, EveryFormatAndSizeBecomesOneSquareishFrame) {
    struct Case {
        CorePixelFormat format;
        std::vector<std::uint8_t> pixel;
        std::uint32_t rgb;
    };
    const std::vector<Case> formats = {{CorePixelFormat::Xrgb8888, {0x56, 0x34, 0x12, 0xAB}, 0x123456},
                                       {CorePixelFormat::Rgb565, {0xE0, 0x07}, 0x00FF00},
                                       {CorePixelFormat::Rgb1555, {0x1F, 0x7C}, 0xFF00FF}};
    for (const Case& c : formats) {
        for (auto [width, height, outWidth, outHeight] : {std::array{256, 224, 512, 448},
                                                          {512, 224, 512, 448},
                                                          {256, 478, 512, 478},
                                                          {512, 239, 512, 478}}) {
            const std::size_t pitch = static_cast<std::size_t>(width) * c.pixel.size() + 6;
            std::vector<std::uint8_t> bytes(pitch * static_cast<std::size_t>(height));
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x)
                    std::copy(c.pixel.begin(), c.pixel.end(),
                              bytes.begin() +
                                  static_cast<std::ptrdiff_t>(static_cast<std::size_t>(y) * pitch +
                                                              static_cast<std::size_t>(x) * c.pixel.size()));
            const auto frame = NormaliseFrame(bytes, width, height, pitch, c.format);
            ASSERT_TRUE(frame) << frame.Reason();
            EXPECT_EQ(frame->width, outWidth);
            EXPECT_EQ(frame->height, outHeight);
            EXPECT_EQ(frame->pixels,
                      std::vector<std::uint32_t>(static_cast<std::size_t>(outWidth * outHeight), c.rgb));
        }
    }
    const std::vector<std::uint8_t> line(1024);
    EXPECT_FALSE(NormaliseFrame(line, 256, 2, 600, CorePixelFormat::Rgb565)) << "second line is missing";
    EXPECT_FALSE(NormaliseFrame(line, 256, 1, 100, CorePixelFormat::Rgb565)) << "pitch shorter than a line";
    EXPECT_FALSE(NormaliseFrame(line, 2000, 1, 4000, CorePixelFormat::Rgb565)) << "wider than any SNES frame";
}

TEST(StatePatch, MappedWordsGoIntoCgramAndEveryWramCopyOfTheirRow) {
    const std::vector<std::uint8_t> rom = {0x11, 0x22, 0x33, 0x44, 0x55};
    const std::vector<MappedColor> colors = {{1, 0}, {3, 2}, {20, 4}};  // 20's word runs past the ROM
    std::vector<std::uint16_t> cgram(256, 0);
    cgram[1] = 0x0101;
    cgram[2] = 0x0202;
    cgram[3] = 0x0303;
    std::vector<std::uint8_t> state(600, 0xEE);
    WriteMappedCgram(state, 10, true, colors, rom);
    EXPECT_EQ(state[12], 0x22);
    EXPECT_EQ(state[13], 0x11);
    EXPECT_EQ(state[16], 0x44);
    EXPECT_EQ(state[17], 0x33);
    EXPECT_EQ(std::count(state.begin(), state.end(), 0xEE), 596);
    std::vector<std::uint8_t> shortState(500, 0xEE);
    WriteMappedCgram(shortState, 0, false, colors, rom);
    EXPECT_EQ(std::count(shortState.begin(), shortState.end(), 0xEE), 500);

    // Two copies of colours 1..3 of row 0; row 1 is all zero and matched nowhere.
    std::vector<std::uint8_t> wram(64, 0);
    const std::vector<std::uint8_t> row = {1, 1, 2, 2, 3, 3};
    std::copy(row.begin(), row.end(), wram.begin() + 5);
    std::copy(row.begin(), row.end(), wram.begin() + 40);
    const auto copies = FindWramCopies(wram, cgram, colors);
    ASSERT_EQ(copies.size(), 2u);
    WriteMappedWram(wram, copies, colors, rom);
    const std::vector<std::uint8_t> patched = {0x11, 0x22, 2, 2, 0x33, 0x44};
    EXPECT_TRUE(std::equal(patched.begin(), patched.end(), wram.begin() + 5));
    EXPECT_TRUE(std::equal(patched.begin(), patched.end(), wram.begin() + 40));
}

TEST(PreviewCore, TheSettingElseTheInstalledCoreOfTheStatesProfile) {
    CoreChoice choice;
    choice.howToName = CoreSettingHint("/home/u/.config/tintwright.ini");
    choice.libretroFolders = {"/usr/lib/x86_64-linux-gnu/libretro/", "/usr/lib/libretro/"};
    choice.exists = [](const std::string& path) {
        return path == "/usr/lib/libretro/bsnes_mercury_accuracy_libretro.so";
    };
    struct Case {
        std::string setting, emulator;
        bool windows;
        std::string core, reason;
    };
    const std::vector<Case> cases = {
        {"C:\\cores\\x.dll", "snes9x", true, "C:\\cores\\x.dll", ""},
        {"", "bsnes-mercury Accuracy", false, "/usr/lib/libretro/bsnes_mercury_accuracy_libretro.so", ""},
        {"", "bsnes-mercury Balanced", false, "",
         "the state is bsnes-mercury's balanced profile, and its core bsnes_mercury_balanced_libretro.so is "
         "not "
         "installed (Debian package libretro-bsnes-mercury-balanced)"},
        {"", "snes9x", false, "",
         "no libretro core for snes9x states is known: name one as PreviewCore=PATH in the [Settings] "
         "section of "
         "/home/u/.config/tintwright.ini"},
        {"", "bsnes-mercury Balanced", true, "",
         "no libretro core is named: name a core DLL from RetroArch's cores folder (such as "
         "bsnes_mercury_balanced_libretro.dll, of the same width, 32- or 64-bit, as this program) as "
         "PreviewCore=PATH in the [Settings] section of /home/u/.config/tintwright.ini"},
    };
    for (const Case& c : cases) {
        choice.setting = c.setting;
        choice.emulator = c.emulator;
        choice.windows = c.windows;
        const auto core = ChoosePreviewCore(choice);
        EXPECT_EQ(core ? *core : "", c.core) << c.emulator;
        EXPECT_EQ(core.Reason(), c.reason) << c.emulator;
    }
}

}  // namespace
}  // namespace tintwright
