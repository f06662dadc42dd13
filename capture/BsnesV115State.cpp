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
    return bytes.size() >= 4 && capture::LittleEndian32(bytes, 0) == kSignature;
}

CaptureReading ReadBsnesV115State(capture::Bytes bytes) {
    if (bytes.size() < kHeaderBytes) {
        return CaptureReading::Failed(capture::Cut(kFormat, "header", 0, kHeaderBytes, bytes.size()));
    }
    const std::size_t codedBytes = capture::LittleEndian32(bytes, 4);
    if (!capture::Fits(bytes.size(), kHeaderBytes, codedBytes)) {
        return CaptureReading::Failed(capture::Cut(kFormat, "state", kHeaderBytes, codedBytes, bytes.size()));
    }
    const capture::RleDecoded state =
        capture::DecodeBsnesRle(bytes.subspan(kHeaderBytes, codedBytes), capture::kMaxStateBytes);
    if (!state.error.empty()) return CaptureReading::Failed(std::string(kFormat) + ": " + state.error);
    return ReadBsnesSerializerState(state.bytes, kFormat);
}

}  // namespace tintwright
