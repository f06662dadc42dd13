#pragma once

// Minimal capture files, built the way each emulator writes them, for the
// readers' tests and the fuzzers' seeds. Every builder puts Palette() into the
// file's CGRAM unless told otherwise.

#include <cstdint>
#include <string_view>
#include <vector>

namespace tintwright::test {

using ByteVector = std::vector<std::uint8_t>;

// 256 distinct colours, each below 0x8000, none a byte-swap of another.
std::vector<std::uint16_t> Palette(std::uint16_t seed = 0x1234);

void AppendLittleEndian(ByteVector& bytes, std::uint64_t value, int count);
void AppendText(ByteVector& bytes, std::string_view text);
void AppendPadded(ByteVector& bytes, std::string_view text, std::size_t size);
ByteVector LittleEndianCgram(const std::vector<std::uint16_t>& colors);

enum class Wrapper { Gzip, Zlib, Raw };
ByteVector Deflate(const ByteVector& bytes, Wrapper wrapper);

enum class MednafenModule { Snes, SnesFaust };
ByteVector MednafenState(MednafenModule module, bool bigEndianHost = false);
ByteVector Snes9xState(int version);
ByteVector MesenRecords(const std::vector<std::uint16_t>& colors);
ByteVector MesenState(bool packed);
ByteVector ZsnesState();
// bsnes v115's serializer blob (fast PPU) and its .bst, .bsz wrappings.
ByteVector BsnesV115Blob(const std::vector<std::uint16_t>& colors, bool fastPpu = true);
ByteVector EncodeBsnesRle(const ByteVector& bytes);
ByteVector BsnesV115File(const std::vector<std::uint16_t>& colors);
// A zip whose members are stored (method 0) or deflated (method 8).
struct ZipEntry {
    std::string_view name;
    ByteVector bytes;
    bool deflated = true;
};
ByteVector Zip(const std::vector<ZipEntry>& entries);
// higan v094 / bsnes-mercury's blob for a profile ("Balanced", "Accuracy").
ByteVector BsnesV094Blob(std::string_view profile);
// RetroArch's wrapper around a core's state: RASTATE version 1, the blocks of
// before (achievements, a replay), MEM holding core, END; each padded to 8 bytes.
struct RetroArchBlock {
    std::string_view id;  // four characters
    ByteVector bytes;
};
ByteVector RetroArchState(const ByteVector& core, const std::vector<RetroArchBlock>& before = {});
// RetroArch's RZIP file of bytes, in chunks of chunkBytes once inflated.
ByteVector Rzip(const ByteVector& bytes, std::uint32_t chunkBytes = 128 * 1024);

}  // namespace tintwright::test
