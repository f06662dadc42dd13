#include "tests/support/CaptureFiles.h"

#include <zlib.h>

#include <algorithm>
#include <stdexcept>
#include <string>

namespace tintwright::test {
namespace {

constexpr std::uint32_t kNtscCpuFrequency = 21477272;

void AppendZeros(ByteVector& bytes, std::size_t count) {
    bytes.resize(bytes.size() + count, 0);
}

void AppendBytes(ByteVector& bytes, const ByteVector& more) {
    bytes.insert(bytes.end(), more.begin(), more.end());
}

void PutLittleEndian32(ByteVector& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// An entry of a mednafen section: length byte, name, 32-bit size, data.
void AppendMednafenEntry(ByteVector& section, std::string_view name, const ByteVector& data) {
    section.push_back(static_cast<std::uint8_t>(name.size()));
    AppendText(section, name);
    AppendLittleEndian(section, data.size(), 4);
    AppendBytes(section, data);
}

void AppendMednafenSection(ByteVector& state, std::string_view name, const ByteVector& entries) {
    AppendPadded(state, name, 32);
    AppendLittleEndian(state, entries.size(), 4);
    AppendBytes(state, entries);
}

ByteVector BigEndianCgram(const std::vector<std::uint16_t>& colors) {
    ByteVector bytes;
    for (const std::uint16_t color : colors) {
        bytes.push_back(static_cast<std::uint8_t>(color >> 8));
        bytes.push_back(static_cast<std::uint8_t>(color));
    }
    return bytes;
}

// Thread (frequency, clock) and v094's PPUcounter with a plausible history.
void AppendV094ThreadAndCounter(ByteVector& blob) {
    AppendLittleEndian(blob, kNtscCpuFrequency, 4);
    AppendLittleEndian(blob, 123456, 8);
    AppendText(blob, std::string_view("\0\1", 2));
    AppendLittleEndian(blob, 100, 2);
    AppendLittleEndian(blob, 400, 2);
    for (int i = 0; i < 2048; ++i) blob.push_back(static_cast<std::uint8_t>(i & 1));
    for (int i = 0; i < 2048; ++i) AppendLittleEndian(blob, i % 262, 2);
    for (int i = 0; i < 2048; ++i) AppendLittleEndian(blob, (i * 7) % 1364, 2);
    AppendLittleEndian(blob, 17, 4);
}

void AppendV115ThreadAndCounter(ByteVector& blob) {
    AppendLittleEndian(blob, kNtscCpuFrequency, 4);
    AppendLittleEndian(blob, 99, 8);
    blob.insert(blob.end(), {0, 1});
    for (const std::uint32_t field : {262u, 1364u, 100u, 400u, 262u, 1364u})
        AppendLittleEndian(blob, field, 4);
}

}  // namespace

std::vector<std::uint16_t> Palette(std::uint16_t seed) {
    std::vector<std::uint16_t> colors(256);
    for (std::size_t i = 0; i < colors.size(); ++i)
        colors[i] = static_cast<std::uint16_t>((i * 37 + seed) & 0x7FFF);
    return colors;
}

void AppendLittleEndian(ByteVector& bytes, std::uint64_t value, int count) {
    for (int i = 0; i < count; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void AppendText(ByteVector& bytes, std::string_view text) {
    for (const char c : text) bytes.push_back(static_cast<std::uint8_t>(c));
}

void AppendPadded(ByteVector& bytes, std::string_view text, std::size_t size) {
    AppendText(bytes, text);
    AppendZeros(bytes, size - text.size());
}

ByteVector LittleEndianCgram(const std::vector<std::uint16_t>& colors) {
    ByteVector bytes;
    for (const std::uint16_t color : colors) AppendLittleEndian(bytes, color, 2);
    return bytes;
}

ByteVector Deflate(const ByteVector& bytes, Wrapper wrapper) {
    const int windowBits = wrapper == Wrapper::Gzip ? 31 : wrapper == Wrapper::Zlib ? 15 : -15;
    z_stream stream{};
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
        throw std::runtime_error("deflateInit2");
    }
    ByteVector packed(deflateBound(&stream, static_cast<uLong>(bytes.size())));
    stream.next_in = const_cast<Bytef*>(bytes.data());
    stream.avail_in = static_cast<uInt>(bytes.size());
    stream.next_out = packed.data();
    stream.avail_out = static_cast<uInt>(packed.size());
    const int status = deflate(&stream, Z_FINISH);
    packed.resize(stream.total_out);
    deflateEnd(&stream);
    if (status != Z_STREAM_END) throw std::runtime_error("deflate");
    return packed;
}

ByteVector MednafenState(MednafenModule module, bool bigEndianHost) {
    ByteVector entries;
    if (module == MednafenModule::SnesFaust) {
        AppendMednafenEntry(entries, "CGRAM_Addr", {7});
        const auto cgram = bigEndianHost ? BigEndianCgram(Palette()) : LittleEndianCgram(Palette());
        AppendMednafenEntry(entries, "CGRAM", cgram);
    } else {
        ByteVector blob(263212, 0);
        std::copy_n("BST1", 4, blob.begin());
        AppendBytes(blob, LittleEndianCgram(Palette()));
        AppendZeros(blob, 100);
        AppendMednafenEntry(entries, "OmniCat", blob);
    }
    ByteVector state;
    AppendText(state, "MDFNSVST");
    AppendZeros(state, 8);
    AppendLittleEndian(state, 0x00102900, 4);
    AppendZeros(state, 4);  // total length, written below
    AppendLittleEndian(state, 2, 4);
    AppendLittleEndian(state, 1, 4);
    AppendZeros(state, 6);  // a 2 x 1 preview
    ByteVector other;
    AppendMednafenEntry(other, "Counter", {1, 2, 3, 4});
    AppendMednafenSection(state, "CPU", other);
    AppendMednafenSection(state, module == MednafenModule::SnesFaust ? "PPU" : "DATA", entries);
    PutLittleEndian32(state, 20,
                      static_cast<std::uint32_t>(state.size()) | (bigEndianHost ? 0x80000000u : 0));
    return state;
}

ByteVector Snes9xState(int version) {
    ByteVector state;
    AppendText(state, "#!s9xsnp:00" + std::to_string(version) + "\n");
    AppendText(state, "CPU:000004:");
    AppendZeros(state, 4);
    ByteVector ppu(version >= 11 ? 64 : 63, 0x55);
    AppendBytes(ppu, BigEndianCgram(Palette()));
    AppendZeros(ppu, 40);
    AppendText(state, "PPU:000" + std::to_string(ppu.size()) + ":");
    AppendBytes(state, ppu);
    return state;
}

ByteVector MesenRecords(const std::vector<std::uint16_t>& colors) {
    ByteVector records;
    AppendText(records, std::string_view("cpu.a\0", 6));
    AppendLittleEndian(records, 2, 4);
    AppendLittleEndian(records, 0xBEEF, 2);
    AppendText(records, std::string_view("ppu.cgram\0", 10));
    AppendLittleEndian(records, colors.size() * 2, 4);
    AppendBytes(records, LittleEndianCgram(colors));
    return records;
}

ByteVector MesenState(bool packed) {
    ByteVector state;
    AppendText(state, "MSS");
    AppendLittleEndian(state, 0x00020000, 4);
    AppendLittleEndian(state, 4, 4);  // format version
    AppendLittleEndian(state, 0, 4);  // the SNES
    const ByteVector picture = Deflate(ByteVector(256 * 8, 0x11), Wrapper::Zlib);
    for (const std::uint64_t field :
         {std::uint64_t{256 * 8}, std::uint64_t{256}, std::uint64_t{2}, std::uint64_t{100}}) {
        AppendLittleEndian(state, field, 4);
    }
    AppendLittleEndian(state, picture.size(), 4);
    AppendBytes(state, picture);
    AppendLittleEndian(state, 4, 4);
    AppendText(state, "game");
    const ByteVector records = MesenRecords(Palette());
    state.push_back(packed ? 1 : 0);
    if (!packed) {
        AppendBytes(state, records);
        return state;
    }
    const ByteVector compressed = Deflate(records, Wrapper::Zlib);
    AppendLittleEndian(state, records.size(), 4);
    AppendLittleEndian(state, compressed.size(), 4);
    AppendBytes(state, compressed);
    return state;
}

ByteVector ZsnesState() {
    ByteVector state;
    AppendText(state, "ZSNES Save State File V143\x1A\x8F");
    AppendZeros(state, 0x618 - state.size());
    AppendBytes(state, LittleEndianCgram(Palette()));
    AppendZeros(state, 1000);
    return state;
}

ByteVector BsnesV115Blob(const std::vector<std::uint16_t>& colors, bool fastPpu) {
    // Signature, size (written below), version text, description, synchronize, fastPPU.
    ByteVector blob(4 + 4 + 16 + 512 + 2, 0);
    blob.reserve(300000);
    std::copy_n("BST1", 4, blob.begin());
    std::copy_n("115", 3, blob.begin() + 8);
    blob.back() = fastPpu ? 1 : 0;
    AppendZeros(blob, 8192);  // cartridge RAM, of a size written nowhere
    // The CPU's thread and counter, as the PPU's but without its display fields.
    AppendZeros(blob, 40);
    AppendV115ThreadAndCounter(blob);
    AppendZeros(blob, 131072 + 400);
    // The PPU: display.interlace, display.overscan, display.vdisp, then the rest.
    blob.insert(blob.end(), {0, 0});
    AppendLittleEndian(blob, 225, 4);
    AppendV115ThreadAndCounter(blob);
    AppendZeros(blob, 20 + 209 + 65536);
    AppendBytes(blob, LittleEndianCgram(colors));
    AppendZeros(blob, 1280 + 70000);
    PutLittleEndian32(blob, 4, static_cast<std::uint32_t>(blob.size()));
    return blob;
}

ByteVector EncodeBsnesRle(const ByteVector& bytes) {
    ByteVector coded;
    AppendLittleEndian(coded, bytes.size(), 8);
    std::size_t at = 0;
    while (at < bytes.size()) {
        std::size_t run = 1;
        while (at + run < bytes.size() && bytes[at + run] == bytes[at] && run < 131) ++run;
        if (run >= 4) {
            coded.push_back(static_cast<std::uint8_t>(128 | (run - 4)));
            coded.push_back(bytes[at]);
            at += run;
            continue;
        }
        const std::size_t count = std::min<std::size_t>(run, 128);
        coded.push_back(static_cast<std::uint8_t>(count - 1));
        coded.insert(coded.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at),
                     bytes.begin() + static_cast<std::ptrdiff_t>(at + count));
        at += count;
    }
    return coded;
}

ByteVector BsnesV115File(const std::vector<std::uint16_t>& colors) {
    const ByteVector coded = EncodeBsnesRle(BsnesV115Blob(colors));
    ByteVector file;
    AppendLittleEndian(file, 0x5A220000, 4);
    AppendLittleEndian(file, coded.size(), 4);
    AppendLittleEndian(file, 0, 4);
    AppendBytes(file, coded);
    return file;
}

ByteVector Zip(const std::vector<ZipEntry>& entries) {
    ByteVector archive;
    ByteVector directory;
    for (const ZipEntry& entry : entries) {
        const ByteVector data = entry.deflated ? Deflate(entry.bytes, Wrapper::Raw) : entry.bytes;
        const auto crc = crc32(0L, entry.bytes.data(), static_cast<uInt>(entry.bytes.size()));
        const unsigned method = entry.deflated ? 8u : 0u;
        const std::size_t localAt = archive.size();
        AppendLittleEndian(archive, 0x04034B50, 4);
        for (const unsigned field : {20u, 0u, method, 0u, 0u}) AppendLittleEndian(archive, field, 2);
        AppendLittleEndian(archive, crc, 4);
        AppendLittleEndian(archive, data.size(), 4);
        AppendLittleEndian(archive, entry.bytes.size(), 4);
        AppendLittleEndian(archive, entry.name.size(), 2);
        AppendLittleEndian(archive, 0, 2);
        AppendText(archive, entry.name);
        AppendBytes(archive, data);
        AppendLittleEndian(directory, 0x02014B50, 4);
        for (const unsigned field : {20u, 20u, 0u, method, 0u, 0u}) AppendLittleEndian(directory, field, 2);
        AppendLittleEndian(directory, crc, 4);
        AppendLittleEndian(directory, data.size(), 4);
        AppendLittleEndian(directory, entry.bytes.size(), 4);
        AppendLittleEndian(directory, entry.name.size(), 2);
        AppendZeros(directory, 2 + 2 + 2 + 2 + 4);
        AppendLittleEndian(directory, localAt, 4);
        AppendText(directory, entry.name);
    }
    const std::size_t directoryAt = archive.size();
    AppendBytes(archive, directory);
    AppendLittleEndian(archive, 0x06054B50, 4);
    AppendZeros(archive, 4);
    AppendLittleEndian(archive, entries.size(), 2);
    AppendLittleEndian(archive, entries.size(), 2);
    AppendLittleEndian(archive, directory.size(), 4);
    AppendLittleEndian(archive, directoryAt, 4);
    AppendZeros(archive, 2);
    return archive;
}

ByteVector BsnesV094Blob(std::string_view profile) {
    ByteVector blob;
    AppendText(blob, "BST1");
    AppendLittleEndian(blob, 27, 4);
    AppendText(blob, std::string(64, 'a'));
    AppendZeros(blob, 512);
    AppendPadded(blob, profile, 16);
    AppendZeros(blob, 2048 + 8 + 16);  // cartridge RAM, system, random
    AppendZeros(blob, 20);             // the CPU's registers
    AppendV094ThreadAndCounter(blob);  // the CPU's thread and counter
    AppendZeros(blob, 131072 + 300);   // the rest of the CPU, the SMP
    AppendV094ThreadAndCounter(blob);  // the PPU's
    AppendZeros(blob, profile == "Balanced" ? 131072 : 65536);
    AppendZeros(blob, 544);
    AppendBytes(blob, LittleEndianCgram(Palette()));
    AppendLittleEndian(blob, 1, 4);
    AppendLittleEndian(blob, 3, 4);
    AppendZeros(blob, 5000);
    return blob;
}

namespace {

void AppendRetroArchBlock(ByteVector& state, std::string_view id, const ByteVector& payload) {
    AppendText(state, id);
    AppendLittleEndian(state, payload.size(), 4);
    AppendBytes(state, payload);
    AppendZeros(state, (8 - payload.size() % 8) % 8);
}

}  // namespace

ByteVector RetroArchState(const ByteVector& core, const std::vector<RetroArchBlock>& before) {
    ByteVector state;
    AppendText(state, "RASTATE\x01");
    for (const RetroArchBlock& block : before) AppendRetroArchBlock(state, block.id, block.bytes);
    AppendRetroArchBlock(state, "MEM ", core);
    AppendRetroArchBlock(state, "END ", {});
    return state;
}

ByteVector Rzip(const ByteVector& bytes, std::uint32_t chunkBytes) {
    ByteVector file;
    AppendText(file, "#RZIPv\x01#");
    AppendLittleEndian(file, chunkBytes, 4);
    AppendLittleEndian(file, bytes.size(), 8);
    for (std::size_t at = 0; at < bytes.size(); at += chunkBytes) {
        const auto first = bytes.begin() + static_cast<std::ptrdiff_t>(at);
        const ByteVector chunk(
            first, first + static_cast<std::ptrdiff_t>(std::min<std::size_t>(chunkBytes, bytes.size() - at)));
        const ByteVector packed = Deflate(chunk, Wrapper::Zlib);
        AppendLittleEndian(file, packed.size(), 4);
        AppendBytes(file, packed);
    }
    return file;
}

}  // namespace tintwright::test
