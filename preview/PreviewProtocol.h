#pragma once

// What the editor and the game preview's host say to each other over the
// host's standard input and output. Every message is its length (4 bytes,
// lowest first, counting the kind and the body), its kind (1 byte) and its
// body; numbers are little-endian. The host runs a core we do not control, so
// the client checks every length before it trusts it, and so does the host.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "core/Result.h"

namespace tintwright {

// Room for the largest ROM a LoROM/ExHiROM can be with a state beside it.
inline constexpr std::uint32_t kMaxPreviewMessageBytes = 64u << 20;
// The largest frame a core may draw; anything bigger is garbage.
inline constexpr int kMaxFrameSide = 1024;

// One CGRAM colour whose word the preview takes from the ROM.
struct MappedColor {
    std::uint8_t index = 0;       // CGRAM colour, 0..255
    std::uint32_t romOffset = 0;  // the word's first byte in the ROM
    bool operator==(const MappedColor&) const = default;
};

// Client to host.
struct LoadMessage {
    std::string corePath;
    std::vector<std::uint8_t> rom;    // the working copy, handed to the core from memory
    std::vector<std::uint8_t> state;  // what retro_unserialize takes
    std::uint32_t cgramAt = 0;        // 512 bytes of CGRAM from here in the state
    bool cgramBigEndian = false;
    std::vector<MappedColor> colors;
    bool operator==(const LoadMessage&) const = default;
};
struct RomChangedMessage {
    std::uint32_t offset = 0;
    std::vector<std::uint8_t> bytes;
    bool operator==(const RomChangedMessage&) const = default;
};
// Draws frames from the dropped state and sends the last one back.
struct DrawMessage {
    std::uint32_t frames = 1;
    bool operator==(const DrawMessage&) const = default;
};
struct PlayMessage {
    bool playing = false;
    bool operator==(const PlayMessage&) const = default;
};
// Bit n set: RetroArch's joypad button n (RETRO_DEVICE_ID_JOYPAD_*) is held.
struct InputMessage {
    std::uint16_t buttons = 0;
    bool operator==(const InputMessage&) const = default;
};
// Back to the dropped state; a frame of it comes back.
struct ResetMessage {
    bool operator==(const ResetMessage&) const = default;
};
// Runs the dropped state as it is, or the game from power-on, one frame per
// entry with those buttons held (InputMessage's bits), on rom (the loaded
// game when empty), and sends CGRAM back after every frame.
struct RunMessage {
    std::vector<std::uint16_t> buttons;
    std::vector<std::uint8_t> rom;
    bool fromPowerOn = false;
    bool operator==(const RunMessage&) const = default;
};
// Replays what the game did while it played, from the oldest of the states
// the host keeps (one a second, for the last 30 seconds) with the pad as it
// was, on rom (the working copy when empty), and sends CGRAM after every
// frame; the game is then where it was. Nothing played: a trace of no frames.
struct ReplayMessage {
    std::vector<std::uint8_t> rom;
    bool operator==(const ReplayMessage&) const = default;
};
// A replay covers the last 30 seconds of play and the second begun.
inline constexpr std::uint32_t kMostReplayFrames = 31 * 60;
// The CGRAM colours that follow the ROM from now on.
struct RemapMessage {
    std::vector<MappedColor> colors;
    bool operator==(const RemapMessage&) const = default;
};

// Host to client. Pixels are 0x00RRGGBB, row after row.
struct FrameMessage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    bool operator==(const FrameMessage&) const = default;
};
struct ErrorMessage {
    std::string text;
    bool operator==(const ErrorMessage&) const = default;
};
// CGRAM's 256 words as the run starts, and after each of its frames.
struct TraceMessage {
    std::vector<std::uint16_t> start;
    std::vector<std::uint16_t> cgram;
    bool operator==(const TraceMessage&) const = default;
};

// The most frames one run or draw may ask for: ten minutes of the game.
inline constexpr std::uint32_t kMostRunFrames = 36000;

using PreviewMessage =
    std::variant<LoadMessage, RomChangedMessage, DrawMessage, PlayMessage, InputMessage, ResetMessage,
                 RunMessage, ReplayMessage, RemapMessage, FrameMessage, ErrorMessage, TraceMessage>;

std::vector<std::uint8_t> EncodePreviewMessage(const PreviewMessage& message);

// Takes bytes as they arrive, in pieces of any size, and hands out whole
// messages. After a failure it stays failed: the stream is out of step.
class PreviewMessageReader {
public:
    void Feed(std::span<const std::uint8_t> bytes);
    // The next whole message, nothing while it is still arriving, or why the
    // bytes are no message.
    Result<std::optional<PreviewMessage>> Next();
    // Bytes received and not yet handed out as a message.
    std::size_t Pending() const { return buffer_.size() - start_; }

private:
    std::vector<std::uint8_t> buffer_;
    std::size_t start_ = 0;
    std::string failure_;
};

// The body of one message, or why it is none.
Result<PreviewMessage> DecodePreviewMessage(std::uint8_t kind, std::span<const std::uint8_t> body);

}  // namespace tintwright
