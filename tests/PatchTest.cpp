// IPS and BPS: round trips over random edits where the formats have their
// corners, one hand-worked patch of each to the byte, and the refusals.

#include <gtest/gtest.h>
#include <zlib.h>

#include <functional>
#include <random>
#include <string>

#include "patch/PatchFile.h"

namespace tintwright {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kEofOffset = 0x454F46;

Bytes RandomBytes(std::mt19937& random, std::size_t size) {
    Bytes bytes(size);
    for (auto& byte : bytes) byte = static_cast<std::uint8_t>(random());
    return bytes;
}

// Changes count stretches of up to 40 bytes, half of them to one repeated byte.
void EditRandomly(std::mt19937& random, Bytes& bytes, int count) {
    for (int edit = 0; edit < count; ++edit) {
        const std::size_t start = random() % bytes.size();
        const std::size_t length = std::min<std::size_t>(1 + random() % 40, bytes.size() - start);
        const auto fill = static_cast<std::uint8_t>(random());
        for (std::size_t at = start; at < start + length; ++at)
            bytes[at] = edit % 2 ? fill : static_cast<std::uint8_t>(random());
    }
}

struct EditCase {
    const char* name;
    std::size_t sourceSize;
    std::function<void(std::mt19937&, Bytes&)> edit;
};

const EditCase kEditCases[] = {
    {"scattered edits", 1 << 16, [](std::mt19937& r, Bytes& t) { EditRandomly(r, t, 60); }},
    {"no change", 4096, [](std::mt19937&, Bytes&) {}},
    {"one byte at the end marker's offset", kEofOffset + 64,
     [](std::mt19937&, Bytes& t) { t[kEofOffset] ^= 1; }},
    {"a run from the end marker's offset", kEofOffset + 64,
     [](std::mt19937&, Bytes& t) { std::fill_n(t.begin() + kEofOffset, 40, 0xEE); }},
    {"a literal that would end at the marker", kEofOffset + 64,
     [](std::mt19937&, Bytes& t) {
         for (std::size_t at = kEofOffset - 0xFFFF; at < kEofOffset + 3; ++at)
             t[at] = static_cast<std::uint8_t>(~t[at]);
     }},
    {"the last byte", 4096, [](std::mt19937&, Bytes& t) { t.back() ^= 0x80; }},
    {"growing", 4096,
     [](std::mt19937& r, Bytes& t) {
         EditRandomly(r, t, 5);
         t.resize(t.size() + 3000, 0);
         t.back() = 7;
     }},
    {"shrinking", 4096,
     [](std::mt19937& r, Bytes& t) {
         EditRandomly(r, t, 5);
         t.resize(1000);
     }},
    {"from nothing", 0, [](std::mt19937& r, Bytes& t) { t = RandomBytes(r, 300); }},
    {"to nothing", 300, [](std::mt19937&, Bytes& t) { t.clear(); }},
};

TEST(Patch, ApplyingTheMadePatchGivesTheEditedFileInBothFormats) {
    for (const PatchFormat format : {PatchFormat::Ips, PatchFormat::Bps}) {
        std::mt19937 random(15);
        for (const EditCase& c : kEditCases) {
            const Bytes source = RandomBytes(random, c.sourceSize);
            Bytes target = source;
            c.edit(random, target);
            const auto patch = CreatePatch(format, source, target);
            ASSERT_TRUE(patch) << c.name << ": " << patch.Reason();
            EXPECT_EQ(DetectPatchFormat(*patch), format);
            const auto applied = ApplyPatch(source, *patch);
            ASSERT_TRUE(applied) << PatchFormatName(format) << ", " << c.name << ": " << applied.Reason();
            EXPECT_TRUE(*applied == target) << PatchFormatName(format) << ", " << c.name;
            // Only the changes travel, never the megabytes around them.
            if (c.sourceSize > kEofOffset) {
                EXPECT_LT(patch->size(), 0x10100u) << c.name;
            }
        }
    }
}

// Source 00..0F; the edit changes byte 2, fills 4..13 with 55 and drops the
// last byte.
const Bytes kSource = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
const Bytes kTarget = {0, 1, 0xAA, 3, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x0E};

TEST(Patch, HandWorkedPatchesMatchToTheByte) {
    const Bytes ips = {'P', 'A', 'T', 'C', 'H', 0, 0,  2,    0, 2, 0xAA, 3,  // bytes 2-3
                       0,   0,   4,   0,   0,   0, 10, 0x55,                 // 55 ten times from 4
                       'E', 'O', 'F', 0,   0,   15};                         // new size 15
    const Bytes bps = {'B',  'P',  'S',  '1',  0x90, 0x8F, 0x80,             // sizes 16, 15, 0
                       0x91, 0x00, 0x01, 0xAA, 0x03, 0x55,                   // TargetRead 5
                       0xA3, 0x88,                                           // TargetCopy 9 from 4
                       0x81, 0x0E,                                           // TargetRead 1
                       0x88, 0xE2, 0xCE, 0xCE, 0x66, 0x75, 0x53, 0x0C, 0xB9, 0x8F, 0x43, 0x9D};
    const auto madeIps = CreatePatch(PatchFormat::Ips, kSource, kTarget);
    const auto madeBps = CreatePatch(PatchFormat::Bps, kSource, kTarget);
    ASSERT_TRUE(madeIps && madeBps) << madeIps.Reason() << madeBps.Reason();
    EXPECT_EQ(*madeIps, ips);
    EXPECT_EQ(*madeBps, bps);
}

// Puts the three CRC32s after a hand-made body, as a real patch has them.
Bytes FinishBps(Bytes body, const Bytes& source, const Bytes& target) {
    for (const Bytes* part : {&source, &target}) {
        const auto crc = static_cast<std::uint32_t>(crc32(0, part->data(), static_cast<uInt>(part->size())));
        for (int shift = 0; shift < 32; shift += 8) body.push_back(static_cast<std::uint8_t>(crc >> shift));
    }
    const auto crc = static_cast<std::uint32_t>(crc32(0, body.data(), static_cast<uInt>(body.size())));
    for (int shift = 0; shift < 32; shift += 8) body.push_back(static_cast<std::uint8_t>(crc >> shift));
    return body;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

// Our own patches use no SourceCopy; other tools' do, so every action is
// applied: a copy from the source's end, one back to its start, and a run.
TEST(Patch, EveryBpsActionIsApplied) {
    const Bytes target = {0, 1, 14, 15, 2, 3, 0xAA, 0xAA, 0xAA};
    const Bytes body = {'B',  'P',  'S', '1', 0x90, 0x89, 0x80,
                        0x84,         // SourceRead 2
                        0x86, 0x9C,   // SourceCopy 2 from 0 + 14
                        0x86, 0x9D,   // SourceCopy 2 from 16 - 14
                        0x81, 0xAA,   // TargetRead 1
                        0x87, 0x8C};  // TargetCopy 2 from 0 + 6, reading what it writes
    const auto applied = ApplyPatch(kSource, FinishBps(body, kSource, target));
    ASSERT_TRUE(applied) << applied.Reason();
    EXPECT_EQ(*applied, target);
}

TEST(Patch, RefusesWhatCannotBeMadeOrApplied) {
    const Bytes made = *CreatePatch(PatchFormat::Bps, kSource, kTarget);
    Bytes otherSource = kSource;
    otherSource[5] = 0x50;
    EXPECT_NE(ApplyPatch(otherSource, made)
                  .Reason()
                  .find("BPS: the patch was made for another source: its CRC32 is "
                        "CECEE288"),
              std::string::npos);
    EXPECT_EQ(ApplyPatch(Bytes(kSource.begin(), kSource.end() - 1), made).Reason(),
              "BPS: the patch is for a source of 16 bytes, this one has 15");

    const std::size_t sixteenMiB = 0x1000000;
    const Bytes big(sixteenMiB + 16, 0);
    Bytes bigEdited = big;
    bigEdited[sixteenMiB + 2] = 1;
    EXPECT_EQ(
        CreatePatch(PatchFormat::Ips, big, bigEdited).Reason(),
        "IPS reaches only the first 16 MiB (offsets have three bytes), and a change lies at $1000002: make a "
        ".bps patch instead");
    EXPECT_FALSE(CreatePatch(PatchFormat::Ips, big, Bytes(sixteenMiB, 0))) << "its size needs four bytes";
    const auto bps = CreatePatch(PatchFormat::Bps, big, bigEdited);
    ASSERT_TRUE(bps);
    const auto applied = ApplyPatch(big, *bps);
    EXPECT_TRUE(applied && *applied == bigEdited);
}

TEST(Patch, BrokenPatchesAreRefusedSayingWhereAndWhy) {
    const Bytes ips = {'P', 'A', 'T', 'C', 'H'};
    const Bytes eof = {'E', 'O', 'F'};
    Bytes damaged = *CreatePatch(PatchFormat::Bps, kSource, kTarget);
    damaged[8] ^= 1;
    const Bytes bps = {'B', 'P', 'S', '1'};
    const struct {
        const char* name;
        Bytes source;
        Bytes patch;
        std::string error;
        std::size_t limit = kMaxPatchedBytes;
    } cases[] = {
        {"not a patch", kSource, Bytes(20, 0), "not a patch: expected \"PATCH\" (IPS) or \"BPS1\" (BPS)"},
        {"IPS without end", kSource, ips, "IPS: at byte 5 of the patch: the patch ends without \"EOF\""},
        {"IPS cut header", kSource, Concat({ips, {0, 0}}),
         "at byte 5 of the patch: the patch ends inside a record"},
        {"IPS cut record", kSource, Concat({ips, {0, 0, 1, 0, 5, 0xAA}}),
         "the record needs 5 bytes, the patch has 1 left"},
        {"IPS empty run", kSource, Concat({ips, {0, 0, 1, 0, 0, 0, 0, 0xAA}, eof}),
         "repeats its byte 0 times"},
        {"IPS past the limit", kSource, Concat({ips, {0x0F, 0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 1}, eof}),
         "the record writes past the limit of 1048576 bytes", 1 << 20},
        {"IPS bytes after the end", kSource, Concat({ips, eof, {1, 2}}),
         "at byte 8 of the patch: 2 bytes follow"},
        {"BPS too short", kSource, Concat({bps, {0x80, 0x80, 0x80}}),
         "BPS: the patch is too short to be one"},
        {"BPS damaged", kSource, damaged, "BPS: the patch is damaged: its CRC32 is "},
        {"BPS past the target",
         {},
         FinishBps(Concat({bps, {0x80, 0x81, 0x80, 0x85, 1, 2}}), {}, {}),
         "BPS: at byte 7 of the actions: the action writes past the target's 1 bytes"},
        {"BPS past the source",
         {1, 2},
         FinishBps(Concat({bps, {0x82, 0x84, 0x80, 0x8C}}), {1, 2}, {}),
         "SourceRead reads past the end of the source"},
        {"BPS copy ahead",
         {},
         FinishBps(Concat({bps, {0x80, 0x82, 0x80, 0x87, 0x80}}), {}, {}),
         "TargetCopy starts outside what is made so far"},
        {"BPS short of the target",
         {},
         FinishBps(Concat({bps, {0x80, 0x84, 0x80, 0x81, 9}}), {}, {}),
         "BPS: the actions make 1 bytes, the target has 4"},
        {"BPS huge target",
         {},
         FinishBps(Concat({bps, {0x80, 0x7F, 0x7F, 0x7F, 0x7F, 0x80, 0x80}}), {}, {}),
         "past the limit of 1048576",
         1 << 20},
    };
    for (const auto& c : cases) {
        const auto applied = ApplyPatch(c.source, c.patch, c.limit);
        EXPECT_FALSE(applied) << c.name;
        EXPECT_NE(applied.Reason().find(c.error), std::string::npos) << c.name << ": " << applied.Reason();
    }
}

}  // namespace
}  // namespace tintwright
