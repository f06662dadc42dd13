#include "capture/Inflate.h"

#include <zlib.h>

#include <algorithm>
#include <limits>

namespace tintwright::capture {
namespace {

int WindowBits(DeflateWrapper wrapper) {
    switch (wrapper) {
        case DeflateWrapper::Gzip:
            return 16 + MAX_WBITS;
        case DeflateWrapper::Zlib:
            return MAX_WBITS;
        case DeflateWrapper::Raw:
            break;
    }
    return -MAX_WBITS;
}

// Owns the z_stream so every return path ends it.
class InflateStream {
public:
    explicit InflateStream(DeflateWrapper wrapper) {
        ready_ = inflateInit2(&stream_, WindowBits(wrapper)) == Z_OK;
    }
    ~InflateStream() {
        if (ready_) inflateEnd(&stream_);
    }
    InflateStream(const InflateStream&) = delete;
    InflateStream& operator=(const InflateStream&) = delete;

    bool Ready() const { return ready_; }
    z_stream& Stream() { return stream_; }

private:
    z_stream stream_{};
    bool ready_ = false;
};

constexpr std::size_t kChunk = 64 * 1024;

Result<std::vector<std::uint8_t>> Failed(std::string reason) {
    return Result<std::vector<std::uint8_t>>::Failed(std::move(reason));
}

}  // namespace

Result<std::vector<std::uint8_t>> Inflate(Bytes input, DeflateWrapper wrapper, std::size_t limit) {
    std::vector<std::uint8_t> inflated;
    if (input.size() > std::numeric_limits<uInt>::max()) return Failed("compressed data too large");
    InflateStream inflater(wrapper);
    if (!inflater.Ready()) return Failed("zlib could not start");
    z_stream& stream = inflater.Stream();
    stream.next_in = const_cast<Bytef*>(input.data());
    stream.avail_in = static_cast<uInt>(input.size());
    for (;;) {
        const std::size_t done = inflated.size();
        if (done >= limit + 1)
            return Failed("compressed data inflates past " + std::to_string(limit) + " bytes");
        const std::size_t room = std::min(kChunk, limit + 1 - done);
        inflated.resize(done + room);
        stream.next_out = inflated.data() + done;
        stream.avail_out = static_cast<uInt>(room);
        const int status = inflate(&stream, Z_NO_FLUSH);
        inflated.resize(done + room - stream.avail_out);
        if (status == Z_STREAM_END) break;
        if (status == Z_BUF_ERROR && stream.avail_in == 0) {
            return Failed("compressed data ends early, after " + std::to_string(input.size()) + " bytes");
        }
        if (status != Z_OK) {
            const std::string reason = stream.msg != nullptr ? stream.msg : "error " + std::to_string(status);
            return Failed("compressed data broken near byte " + std::to_string(stream.total_in) + ": " +
                          reason);
        }
    }
    if (inflated.size() > limit)
        return Failed("compressed data inflates past " + std::to_string(limit) + " bytes");
    return inflated;
}

}  // namespace tintwright::capture
