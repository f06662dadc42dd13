#pragma once

// Reads fields out of untrusted bytes one after another. Every read first
// checks that enough bytes are left, and a read that cannot be done consumes
// nothing, so a cut file ends in an error the caller words, never past the end.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace tintwright {

class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t Position() const { return position_; }
    std::size_t Remaining() const { return bytes_.size() - position_; }
    bool AtEnd() const { return position_ == bytes_.size(); }

    // An unsigned number of width bytes (1 to 4), lowest byte first or highest first.
    std::optional<std::uint32_t> ReadLittle(std::size_t width);
    std::optional<std::uint32_t> ReadBig(std::size_t width);
    std::optional<std::span<const std::uint8_t>> ReadBytes(std::size_t count);
    // Consumes text when the bytes at the position are exactly that text.
    bool Expect(std::string_view text);

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
};

}  // namespace tintwright
