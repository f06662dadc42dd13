#pragma once

// Reads fields out of untrusted bytes one after another. Every read first
// checks that enough bytes are left, and a read that cannot be done consumes
// nothing, so a cut file ends in an error the caller words, never past the end.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace tintwright {

enum class ByteOrder { LittleEndian, BigEndian };

class ByteReader {
public:
    // origin is where the bytes start in the file they were cut from, so that
    // a reader of one part still names places the user can find in the file.
    explicit ByteReader(std::span<const std::uint8_t> bytes, std::size_t origin = 0)
        : bytes_(bytes), origin_(origin) {}

    std::size_t Position() const { return position_; }
    std::size_t Size() const { return bytes_.size(); }
    std::size_t Remaining() const { return bytes_.size() - position_; }
    bool AtEnd() const { return position_ == bytes_.size(); }
    // The position and the end as offsets in the whole file, for messages.
    std::size_t FileOffset() const { return origin_ + position_; }
    std::size_t FileEnd() const { return origin_ + bytes_.size(); }

    // An unsigned number of width bytes (1 to 4), lowest byte first or highest first.
    std::optional<std::uint32_t> ReadLittle(std::size_t width);
    std::optional<std::uint32_t> ReadBig(std::size_t width);
    std::optional<std::uint64_t> ReadLittle64();
    std::optional<std::span<const std::uint8_t>> ReadBytes(std::size_t count);
    // count 16-bit words in the given order.
    std::optional<std::vector<std::uint16_t>> ReadWords(std::size_t count, ByteOrder order);
    // The next count bytes as a reader of their own, whose file offsets go on
    // from this one's.
    std::optional<ByteReader> ReadPart(std::size_t count);
    // The text before the next zero byte, and the zero byte; nothing when no
    // zero byte is left.
    std::optional<std::string_view> ReadZeroEnded();
    // Consumes text when the bytes at the position are exactly that text.
    bool Expect(std::string_view text);
    // To a position from the start, up to the end itself; past it, no move.
    bool Seek(std::size_t position);
    bool Skip(std::size_t count);

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t origin_ = 0;
    std::size_t position_ = 0;
};

}  // namespace tintwright
