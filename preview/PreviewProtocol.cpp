#include "preview/PreviewProtocol.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <type_traits>

#include "bytes/ByteReader.h"

namespace tintwright {
namespace {

enum Kind : std::uint8_t {
    kLoad = 1,
    kRomChanged = 2,
    kDraw = 3,
    kPlay = 4,
    kInput = 5,
    kReset = 6,
    kRun = 7,
    kReplay = 8,
    kRemap = 9,
    kFrame = 16,
    kError = 17,
    kTrace = 18,
};

class Writer {
public:
    void Number(std::uint32_t value, int width = 4) {
        for (int i = 0; i < width; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
    void Blob(std::span<const std::uint8_t> blob) {
        Number(static_cast<std::uint32_t>(blob.size()));
        bytes.insert(bytes.end(), blob.begin(), blob.end());
    }
    void Text(const std::string& text) {
        Blob(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    }
    // A frame's pixels in one go: they are nearly all the host ever sends,
    // sixty times a second.
    void Words(std::span<const std::uint32_t> words) {
        const std::size_t at = bytes.size();
        bytes.resize(at + 4 * words.size());
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(bytes.data() + at, words.data(), 4 * words.size());
        } else {
            for (std::size_t i = 0; i < words.size(); ++i)
                for (int b = 0; b < 4; ++b)
                    bytes[at + 4 * i + static_cast<std::size_t>(b)] =
                        static_cast<std::uint8_t>(words[i] >> (8 * b));
        }
    }
    std::vector<std::uint8_t> bytes;
};

void Colors(Writer& out, const std::vector<MappedColor>& colors) {
    out.Number(static_cast<std::uint32_t>(colors.size()), 2);
    for (const MappedColor& color : colors) {
        out.Number(color.index, 1);
        out.Number(color.romOffset);
    }
}
void Body(Writer& out, const LoadMessage& m) {
    out.Text(m.corePath);
    out.Blob(m.rom);
    out.Blob(m.state);
    out.Number(m.cgramAt);
    out.Number(m.cgramBigEndian ? 1 : 0, 1);
    Colors(out, m.colors);
}
void Body(Writer& out, const RomChangedMessage& m) {
    out.Number(m.offset);
    out.Blob(m.bytes);
}
void Body(Writer& out, const DrawMessage& m) {
    out.Number(m.frames);
}
void Body(Writer& out, const PlayMessage& m) {
    out.Number(m.playing ? 1 : 0, 1);
}
void Body(Writer& out, const InputMessage& m) {
    out.Number(m.buttons, 2);
}
void Body(Writer&, const ResetMessage&) {}
void Body(Writer& out, const RunMessage& m) {
    out.Number(static_cast<std::uint32_t>(m.buttons.size()));
    for (const std::uint16_t buttons : m.buttons) out.Number(buttons, 2);
    out.Blob(m.rom);
    out.Number(m.fromPowerOn ? 1 : 0, 1);
}
void Body(Writer& out, const ReplayMessage& m) {
    out.Blob(m.rom);
}
void Body(Writer& out, const RemapMessage& m) {
    Colors(out, m.colors);
}
void Body(Writer& out, const TraceMessage& m) {
    for (std::size_t i = 0; i < 256; ++i) out.Number(i < m.start.size() ? m.start[i] : 0, 2);
    out.Number(static_cast<std::uint32_t>(m.cgram.size()));
    for (const std::uint16_t word : m.cgram) out.Number(word, 2);
}
void Body(Writer& out, const FrameMessage& m) {
    out.Number(static_cast<std::uint32_t>(m.width), 2);
    out.Number(static_cast<std::uint32_t>(m.height), 2);
    out.Words(m.pixels);
}
void Body(Writer& out, const ErrorMessage& m) {
    out.Text(m.text);
}

template <typename T>
constexpr Kind KindOf() {
    if constexpr (std::is_same_v<T, LoadMessage>) return kLoad;
    if constexpr (std::is_same_v<T, RomChangedMessage>) return kRomChanged;
    if constexpr (std::is_same_v<T, DrawMessage>) return kDraw;
    if constexpr (std::is_same_v<T, PlayMessage>) return kPlay;
    if constexpr (std::is_same_v<T, InputMessage>) return kInput;
    if constexpr (std::is_same_v<T, ResetMessage>) return kReset;
    if constexpr (std::is_same_v<T, RunMessage>) return kRun;
    if constexpr (std::is_same_v<T, ReplayMessage>) return kReplay;
    if constexpr (std::is_same_v<T, RemapMessage>) return kRemap;
    if constexpr (std::is_same_v<T, TraceMessage>) return kTrace;
    if constexpr (std::is_same_v<T, FrameMessage>) return kFrame;
    return kError;
}

// Reads a body's fields; the first one missing makes the whole body fail.
class Fields {
public:
    explicit Fields(std::span<const std::uint8_t> body) : reader_(body) {}
    std::uint32_t Number(std::size_t width = 4) {
        const auto value = reader_.ReadLittle(width);
        ok_ = ok_ && value.has_value();
        return value.value_or(0);
    }
    std::vector<std::uint8_t> Blob() {
        const std::uint32_t size = Number();
        const auto bytes = ok_ ? reader_.ReadBytes(size) : std::nullopt;
        ok_ = ok_ && bytes.has_value();
        return bytes ? std::vector<std::uint8_t>(bytes->begin(), bytes->end()) : std::vector<std::uint8_t>();
    }
    // A count of at most 256 colours and each one's index and offset; false
    // when the count is larger.
    bool Colors(std::vector<MappedColor>& colors) {
        const std::uint32_t count = Number(2);
        if (count > 256) return false;
        for (std::uint32_t i = 0; i < count; ++i) {
            MappedColor color;
            color.index = static_cast<std::uint8_t>(Number(1));
            color.romOffset = Number();
            colors.push_back(color);
        }
        return true;
    }
    // Fills words from as many little-endian words of the body.
    void Words(std::span<std::uint32_t> words) {
        const auto bytes = ok_ ? reader_.ReadBytes(4 * words.size()) : std::nullopt;
        ok_ = ok_ && bytes.has_value();
        if (!bytes) return;
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(words.data(), bytes->data(), bytes->size());
        } else {
            for (std::size_t i = 0; i < words.size(); ++i)
                words[i] = static_cast<std::uint32_t>((*bytes)[4 * i] | (*bytes)[4 * i + 1] << 8 |
                                                      (*bytes)[4 * i + 2] << 16 | (*bytes)[4 * i + 3] << 24);
        }
    }
    std::string Text() {
        const std::vector<std::uint8_t> bytes = Blob();
        return std::string(bytes.begin(), bytes.end());
    }
    bool Ok() const { return ok_ && reader_.AtEnd(); }
    std::size_t Remaining() const { return reader_.Remaining(); }

private:
    ByteReader reader_;
    bool ok_ = true;
};

template <typename T>
Result<PreviewMessage> Checked(Fields& fields, T message, const char* name) {
    if (!fields.Ok())
        return Result<PreviewMessage>::Failed(std::string("a ") + name + " message is cut or too long");
    return PreviewMessage(std::move(message));
}

}  // namespace

std::vector<std::uint8_t> EncodePreviewMessage(const PreviewMessage& message) {
    Writer out;
    out.Number(0);
    std::visit(
        [&out](const auto& m) {
            out.Number(KindOf<std::decay_t<decltype(m)>>(), 1);
            Body(out, m);
        },
        message);
    const auto length = static_cast<std::uint32_t>(out.bytes.size() - 4);
    for (int i = 0; i < 4; ++i)
        out.bytes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(length >> (8 * i));
    return std::move(out.bytes);
}

Result<PreviewMessage> DecodePreviewMessage(std::uint8_t kind, std::span<const std::uint8_t> body) {
    Fields fields(body);
    switch (kind) {
        case kLoad: {
            LoadMessage m;
            m.corePath = fields.Text();
            m.rom = fields.Blob();
            m.state = fields.Blob();
            m.cgramAt = fields.Number();
            m.cgramBigEndian = fields.Number(1) != 0;
            if (!fields.Colors(m.colors))
                return Result<PreviewMessage>::Failed("a load message maps more than 256 colours");
            return Checked(fields, std::move(m), "load");
        }
        case kRomChanged: {
            RomChangedMessage m;
            m.offset = fields.Number();
            m.bytes = fields.Blob();
            return Checked(fields, std::move(m), "ROM change");
        }
        case kDraw: {
            DrawMessage m;
            m.frames = fields.Number();
            return Checked(fields, m, "draw");
        }
        case kPlay: {
            PlayMessage m;
            m.playing = fields.Number(1) != 0;
            return Checked(fields, m, "play");
        }
        case kInput: {
            InputMessage m;
            m.buttons = static_cast<std::uint16_t>(fields.Number(2));
            return Checked(fields, m, "input");
        }
        case kReset:
            return Checked(fields, ResetMessage{}, "reset");
        case kRun: {
            RunMessage m;
            const std::uint32_t count = fields.Number();
            if (count == 0 || count > kMostRunFrames)
                return Result<PreviewMessage>::Failed("a run of " + std::to_string(count) +
                                                      " frames is asked for");
            if (fields.Remaining() < 2u * count)
                return Result<PreviewMessage>::Failed("a run message is cut or too long");
            m.buttons.resize(count);
            for (std::uint16_t& buttons : m.buttons) buttons = static_cast<std::uint16_t>(fields.Number(2));
            m.rom = fields.Blob();
            m.fromPowerOn = fields.Number(1) != 0;
            return Checked(fields, std::move(m), "run");
        }
        case kReplay: {
            ReplayMessage m;
            m.rom = fields.Blob();
            return Checked(fields, std::move(m), "replay");
        }
        case kRemap: {
            RemapMessage m;
            if (!fields.Colors(m.colors))
                return Result<PreviewMessage>::Failed("a remap message maps more than 256 colours");
            return Checked(fields, std::move(m), "remap");
        }
        case kTrace: {
            TraceMessage m;
            m.start.resize(256);
            for (std::uint16_t& word : m.start) word = static_cast<std::uint16_t>(fields.Number(2));
            const std::uint32_t count = fields.Number();
            if (count % 256 != 0 || count > 256 * kMostRunFrames || fields.Remaining() != 2u * count)
                return Result<PreviewMessage>::Failed(
                    "a trace of " + std::to_string(count) + " words does not hold " +
                    std::to_string(fields.Remaining()) + " bytes of whole frames");
            m.cgram.resize(count);
            for (std::uint16_t& word : m.cgram) word = static_cast<std::uint16_t>(fields.Number(2));
            return Checked(fields, std::move(m), "trace");
        }
        case kFrame: {
            FrameMessage m;
            m.width = static_cast<int>(fields.Number(2));
            m.height = static_cast<int>(fields.Number(2));
            if (m.width == 0 || m.height == 0 || m.width > kMaxFrameSide || m.height > kMaxFrameSide ||
                fields.Remaining() !=
                    static_cast<std::size_t>(m.width) * static_cast<std::size_t>(m.height) * 4)
                return Result<PreviewMessage>::Failed("a frame of " + std::to_string(m.width) + " × " +
                                                      std::to_string(m.height) + " pixels does not hold " +
                                                      std::to_string(fields.Remaining()) + " bytes");
            m.pixels.resize(static_cast<std::size_t>(m.width) * static_cast<std::size_t>(m.height));
            fields.Words(m.pixels);
            for (std::uint32_t& pixel : m.pixels) pixel &= 0xFFFFFFu;
            return Checked(fields, std::move(m), "frame");
        }
        case kError: {
            ErrorMessage m;
            m.text = fields.Text();
            return Checked(fields, std::move(m), "error");
        }
        default:
            return Result<PreviewMessage>::Failed("message kind " + std::to_string(kind) + " is unknown");
    }
}

void PreviewMessageReader::Feed(std::span<const std::uint8_t> bytes) {
    if (!failure_.empty()) return;
    // Drop what was handed out before it piles up.
    if (start_ > 0 && start_ >= buffer_.size() / 2) {
        buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(start_));
        start_ = 0;
    }
    buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
}

Result<std::optional<PreviewMessage>> PreviewMessageReader::Next() {
    using Next = Result<std::optional<PreviewMessage>>;
    if (!failure_.empty()) return Next::Failed(failure_);
    const std::span<const std::uint8_t> pending = std::span(buffer_).subspan(start_);
    ByteReader header(pending);
    const auto length = header.ReadLittle(4);
    if (!length) return std::optional<PreviewMessage>();
    if (*length == 0 || *length > kMaxPreviewMessageBytes) {
        failure_ = "a message claims " + std::to_string(*length) + " bytes";
        return Next::Failed(failure_);
    }
    if (pending.size() - 4 < *length) return std::optional<PreviewMessage>();
    Result<PreviewMessage> message = DecodePreviewMessage(pending[4], pending.subspan(5, *length - 1));
    if (!message) {
        failure_ = message.Reason();
        return Next::Failed(failure_);
    }
    start_ += 4 + *length;
    return std::optional<PreviewMessage>(std::move(*message));
}

}  // namespace tintwright
