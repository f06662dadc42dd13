#include "capture/BsnesV115State.h"

#include "capture/BsnesRle.h"
#include "capture/BsnesSerializerState.h"

namespace tintwright {
namespace {

constexpr std::string_view kFormat = "bsnes .bst";
constexpr std::size_t kHeaderBytes = 12;
constexpr std::uint32_t kSignature = 0x5A220000;

}  // namespace

bool IsBsnesV115State(capture::Bytes bytes) {
    return ByteReader(bytes).ReadLittle(4) == kSignature;
}

// The header: signature, the coded state's size, the coded preview's size.
Result<Capture> ReadBsnesV115State(capture::Bytes bytes) {
    ByteReader reader(bytes);
    auto header = reader.ReadPart(kHeaderBytes);
    if (!header)
        return Result<Capture>::Failed(capture::Cut(kFormat, "header", 0, kHeaderBytes, bytes.size()));
    header->Skip(4);
    const std::size_t codedBytes = *header->ReadLittle(4);  // inside the 12 bytes just read
    const auto coded = reader.ReadBytes(codedBytes);
    if (!coded) {
        return Result<Capture>::Failed(
            capture::Cut(kFormat, "state", kHeaderBytes, codedBytes, bytes.size()));
    }
    const auto state = capture::DecodeBsnesRle(*coded, capture::kMaxStateBytes);
    if (!state) return Result<Capture>::Failed(std::string(kFormat) + ": " + state.Reason());
    return ReadBsnesSerializerState(*state, kFormat);
}

}  // namespace tintwright
