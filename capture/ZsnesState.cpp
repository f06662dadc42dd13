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

Result<Capture> ReadZsnesState(capture::Bytes bytes) {
    ByteReader reader(bytes);
    const auto cgram = reader.Seek(kCgramAt) ? reader.ReadWords(256, ByteOrder::LittleEndian) : std::nullopt;
    if (!cgram) {
        return Result<Capture>::Failed(
            capture::Cut(kFormat, "CGRAM", kCgramAt, capture::kCgramBytes, bytes.size()));
    }
    return Capture{std::string(kFormat), *cgram};
}

}  // namespace tintwright
