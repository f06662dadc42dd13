#include "capture/RetroArchState.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bytes/ByteReader.h"
#include "bytes/PrintableText.h"
#include "capture/BsnesSerializerState.h"
#include "capture/Inflate.h"
#include "capture/Snes9xState.h"
#include "core/Result.h"

namespace tintwright {
namespace {

using capture::Bytes;

constexpr std::string_view kRastateMagic = "RASTATE";
constexpr std::uint32_t kRastateVersion = 1;
constexpr std::size_t kBlockAlignment = 8;

constexpr std::string_view kRzipMagic = "#RZIPv";
constexpr std::uint32_t kRzipVersion = 1;
constexpr std::size_t kRzipHeaderBytes = 20;

constexpr std::string_view kFormat = "RetroArch state";

std::string Number(std::uint64_t value) {
    return std::to_string(value);
}

// A block id as the user can read it; a hostile file may put any bytes there.
std::string BlockName(Bytes id) {
    std::string name = PrintableText({reinterpret_cast<const char*>(id.data()), id.size()});
    while (!name.empty() && name.back() == ' ') name.pop_back();
    return name;
}

// --- RASTATE -------------------------------------------------------------------

// The payload of the first MEM block. Blocks of any other id before it are
// skipped, as RetroArch skips what it does not know.
Result<Bytes> MemBlock(Bytes rastate, std::string_view format) {
    ByteReader reader(rastate);
    const std::string prefix = std::string(format) + ": ";
    if (!reader.Expect(kRastateMagic)) return Result<Bytes>::Failed(prefix + "no RASTATE signature");
    const auto version = reader.ReadLittle(1);
    if (!version)
        return Result<Bytes>::Failed(capture::Cut(format, "version", reader.Position(), 1, rastate.size()));
    if (*version != kRastateVersion) {
        return Result<Bytes>::Failed(prefix + "RASTATE version " + Number(*version) + ", only version " +
                                     Number(kRastateVersion) + " is read");
    }
    for (;;) {
        const std::size_t at = reader.Position();
        if (reader.AtEnd())
            return Result<Bytes>::Failed(prefix + "no block MEM before the end at byte " + Number(at));
        const auto id = reader.ReadBytes(4);
        const auto size = reader.ReadLittle(4);
        if (!id || !size)
            return Result<Bytes>::Failed(capture::Cut(format, "block header", at, 8, rastate.size()));
        const std::string name = BlockName(*id);
        if (name == "END")
            return Result<Bytes>::Failed(prefix + "block END at byte " + Number(at) +
                                         " before any block MEM");
        const auto payload = reader.ReadBytes(*size);
        if (!payload)
            return Result<Bytes>::Failed(
                capture::Cut(format, "block " + name, at + 8, *size, rastate.size()));
        if (name == "MEM") return *payload;
        // The padding is computed without adding to the size, which may be
        // close to 2^32 where size_t has 32 bits.
        const std::size_t padding = (kBlockAlignment - *size % kBlockAlignment) % kBlockAlignment;
        (void)reader.ReadBytes(std::min(padding, reader.Remaining()));
    }
}

// --- RZIP ----------------------------------------------------------------------

struct RzipHeader {
    std::uint32_t chunkBytes = 0;
    std::uint64_t totalBytes = 0;
};

Result<RzipHeader> ReadRzipHeader(ByteReader& reader, std::size_t fileBytes, std::string_view format) {
    const std::string prefix = std::string(format) + ": ";
    if (!reader.Expect(kRzipMagic) || reader.Remaining() < kRzipHeaderBytes - kRzipMagic.size())
        return Result<RzipHeader>::Failed(
            capture::Cut(format, "RZIP header", 0, kRzipHeaderBytes, fileBytes));
    const std::uint32_t version = *reader.ReadLittle(1);
    if (version != kRzipVersion) {
        return Result<RzipHeader>::Failed(prefix + "RZIP version " + Number(version) + ", only version " +
                                          Number(kRzipVersion) + " is read");
    }
    if (!reader.Expect("#"))
        return Result<RzipHeader>::Failed(prefix + "RZIP header has no # after its version");
    RzipHeader header;
    header.chunkBytes = *reader.ReadLittle(4);
    const std::uint32_t low = *reader.ReadLittle(4);
    header.totalBytes = std::uint64_t{*reader.ReadLittle(4)} << 32 | low;
    if (header.chunkBytes == 0)
        return Result<RzipHeader>::Failed(prefix + "RZIP header gives chunks of 0 bytes");
    if (header.totalBytes == 0)
        return Result<RzipHeader>::Failed(prefix + "RZIP header gives a total of 0 bytes");
    if (header.totalBytes > capture::kMaxStateBytes) {
        return Result<RzipHeader>::Failed(prefix + "RZIP header gives a total of " +
                                          Number(header.totalBytes) + " bytes, more than a state holds (" +
                                          Number(capture::kMaxStateBytes) + ")");
    }
    return header;
}

using InflatedFile = Result<std::vector<std::uint8_t>>;

// The chunks inflated one after another until the total the header gives;
// a chunk that inflates past its chunk size or past that total is broken.
InflatedFile InflateRzip(Bytes file, std::string_view format) {
    ByteReader reader(file);
    const auto header = ReadRzipHeader(reader, file.size(), format);
    if (!header) return InflatedFile::Failed(header.Reason());
    const std::size_t total = static_cast<std::size_t>(header->totalBytes);
    std::vector<std::uint8_t> inflated;
    for (std::size_t chunk = 1; inflated.size() < total; ++chunk) {
        const std::size_t at = reader.Position();
        const std::string name = "RZIP chunk " + Number(chunk);
        const std::string what = name + " at byte " + Number(at);
        const auto size = reader.ReadLittle(4);
        if (!size) {
            return InflatedFile::Failed(std::string(format) + ": " + what + ": the chunks end after " +
                                        Number(inflated.size()) + " of the " + Number(total) +
                                        " bytes the RZIP header gives");
        }
        const auto data = reader.ReadBytes(*size);
        if (!data) return InflatedFile::Failed(capture::Cut(format, name, at + 4, *size, file.size()));
        const std::size_t room = std::min<std::size_t>(header->chunkBytes, total - inflated.size());
        const auto part = capture::Inflate(*data, capture::DeflateWrapper::Zlib, room);
        if (!part) {
            return InflatedFile::Failed(std::string(format) + ": " + what + " (at most " + Number(room) +
                                        " bytes): " + part.Reason());
        }
        if (part->empty())
            return InflatedFile::Failed(std::string(format) + ": " + what + " inflates to nothing");
        inflated.insert(inflated.end(), part->begin(), part->end());
    }
    return inflated;
}

// --- the core's state ------------------------------------------------------------

std::optional<Result<Capture>> ReadCoreBytes(Bytes core) {
    if (IsBsnesSerializerState(core)) return ReadBsnesSerializerState(core, "bsnes-family state");
    if (IsSnes9xState(core)) return ReadSnes9xState(core);
    return std::nullopt;
}

// The core's reader names the layout; the wrapping goes in front of its words.
Result<Capture> ReadCoreState(Bytes core, std::string_view format, std::string_view where) {
    const std::string prefix = std::string(format) + ": ";
    const auto reading = ReadCoreBytes(core);
    if (!reading) {
        return Result<Capture>::Failed(
            prefix + "the core's state (" + std::string(where) + ", " + Number(core.size()) +
            " bytes) is none of bsnes-mercury, higan v094 or bsnes v115 (BST1) and "
            "snes9x (#!s9xsnp:)");
    }
    if (!*reading) return Result<Capture>::Failed(prefix + reading->Reason());
    Capture capture = reading->Value();
    capture.format = prefix + capture.format;
    return capture;
}

Result<Capture> ReadWrapped(Bytes rastate, std::string_view format) {
    const auto mem = MemBlock(rastate, format);
    if (!mem) return Result<Capture>::Failed(mem.Reason());
    return ReadCoreState(*mem, format, "block MEM");
}

bool IsRastate(Bytes bytes) {
    return capture::StartsWith(bytes, kRastateMagic);
}

bool IsRzip(Bytes bytes) {
    return capture::StartsWith(bytes, kRzipMagic);
}

}  // namespace

bool IsRetroArchState(Bytes bytes) {
    return IsRastate(bytes) || IsRzip(bytes);
}

Result<Capture> ReadRetroArchState(Bytes bytes) {
    if (IsRastate(bytes)) return ReadWrapped(bytes, kFormat);
    if (!IsRzip(bytes)) return Result<Capture>::Failed(std::string(kFormat) + ": neither RASTATE nor RZIP");
    const std::string format = std::string(kFormat) + " (compressed)";
    const auto inflated = InflateRzip(bytes, format);
    if (!inflated) return Result<Capture>::Failed(inflated.Reason());
    if (IsRastate(*inflated)) return ReadWrapped(*inflated, format);
    // RetroArch before 1.9.1 compressed the core's bytes without the wrapper.
    return ReadCoreState(*inflated, std::string(kFormat) + " (compressed, without RASTATE)",
                         "the whole file");
}

}  // namespace tintwright
