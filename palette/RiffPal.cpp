#include "palette/RiffPal.h"

#include <string>

#include "bytes/ByteReader.h"
#include "core/LittleEndian.h"
#include "palette/ColorChannels.h"

namespace tintwright {
namespace {

constexpr std::uint32_t kPaletteVersion = 0x0300;
constexpr std::size_t kRiffHeaderSize = 12;  // "RIFF", size, "PAL "

Result<PaletteFile> Failure(std::size_t at, const std::string& why) {
    return Result<PaletteFile>::Failed("RIFF PAL: at byte " + std::to_string(at) + ": " + why);
}

Result<PaletteFile> ReadDataChunk(std::span<const std::uint8_t> chunk, std::size_t chunkStart) {
    ByteReader reader(chunk);
    const auto version = reader.ReadLittle(2);
    const auto count = reader.ReadLittle(2);
    if (!count) return Failure(chunkStart, "the data chunk is too short for its version and count");
    if (*version != kPaletteVersion) return Failure(chunkStart, "expected the version 0x0300");
    if (*count == 0) return Failure(chunkStart + 2, "the palette holds no colours");
    if (reader.Remaining() / 4 < *count)
        return Failure(chunkStart, "the data chunk holds " + std::to_string(reader.Remaining() / 4) +
                                       " colours, its count says " + std::to_string(*count));
    PaletteFile palette{PaletteFormat::RiffPal, {}};
    for (std::uint32_t index = 0; index < *count; ++index) {
        const auto entry = *reader.ReadBytes(4);
        palette.colors.push_back(FromRgb8({entry[0], entry[1], entry[2]}));
    }
    return palette;
}

}  // namespace

bool LooksLikeRiffPal(std::span<const std::uint8_t> bytes) {
    ByteReader reader(bytes);
    return reader.Expect("RIFF") && reader.ReadLittle(4) && reader.Expect("PAL ");
}

Result<PaletteFile> ReadRiffPal(std::span<const std::uint8_t> bytes) {
    ByteReader header(bytes);
    const bool riff = header.Expect("RIFF");
    const auto riffSize = header.ReadLittle(4);
    if (!riff || !riffSize || !header.Expect("PAL "))
        return Failure(0, "expected \"RIFF\", a size and \"PAL \"");
    if (*riffSize < 4) return Failure(4, "the size is too small to hold \"PAL \"");
    if (*riffSize > bytes.size() - 8)
        return Failure(4, "the file says it has " + std::to_string(*riffSize + 8ull) + " bytes, it has " +
                              std::to_string(bytes.size()));
    ByteReader chunks(bytes.subspan(kRiffHeaderSize, *riffSize - 4));
    while (!chunks.AtEnd()) {
        const std::size_t start = kRiffHeaderSize + chunks.Position();
        const auto id = chunks.ReadBytes(4);
        const auto size = chunks.ReadLittle(4);
        if (!size) return Failure(start, "a chunk header is cut short");
        const auto body = chunks.ReadBytes(*size);
        if (!body)
            return Failure(start, "the chunk needs " + std::to_string(*size) + " bytes, " +
                                      std::to_string(chunks.Remaining()) + " are left");
        if (std::string_view(reinterpret_cast<const char*>(id->data()), 4) == "data")
            return ReadDataChunk(*body, start + 8);
        if (*size % 2 != 0) chunks.ReadBytes(1);  // chunks start at even offsets
    }
    return Failure(kRiffHeaderSize, "there is no \"data\" chunk");
}

std::vector<std::uint8_t> WriteRiffPal(std::span<const std::uint16_t> colors) {
    const auto dataSize = static_cast<std::uint32_t>(4 + 4 * colors.size());
    std::vector<std::uint8_t> out = {'R', 'I', 'F', 'F'};
    PutU32(out, dataSize + 12);
    out.insert(out.end(), {'P', 'A', 'L', ' ', 'd', 'a', 't', 'a'});
    PutU32(out, dataSize);
    PutU16(out, kPaletteVersion);
    PutU16(out, static_cast<std::uint32_t>(colors.size()));
    for (const std::uint16_t word : colors) {
        const Rgb8 color = ToRgb8(word);
        out.insert(out.end(), {color.red, color.green, color.blue, 0});
    }
    return out;
}

}  // namespace tintwright
