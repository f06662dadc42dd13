#include "capture/ZsnesState.h"

#include <string_view>

namespace tintwright {
namespace {

constexpr std::string_view kFormat = "ZSNES state";
constexpr std::size_t kCgramAt = 0x618;

}  // namespace

bool IsZsnesState(capture::Bytes bytes) {
    return capture::StartsWith(bytes, "ZSNES Save State File");
}

CaptureReading ReadZsnesState(capture::Bytes bytes) {
    if (!capture::Fits(bytes.size(), kCgramAt, capture::kCgramBytes)) {
        return CaptureReading::Failed(
            capture::Cut(kFormat, "CGRAM", kCgramAt, capture::kCgramBytes, bytes.size()));
    }
    return CaptureReading::Read(
        {std::string(kFormat), capture::LittleEndianWords(bytes.subspan(kCgramAt, capture::kCgramBytes))});
}

}  // namespace tintwright
