#include "core/RomImage.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <new>

#include "core/LittleEndian.h"
#include "core/SafeFileWrite.h"

namespace tintwright {
namespace {

// The word as it sits in memory on this machine, so the scan can compare
// memory without converting every word.
std::uint16_t InMemoryOrder(std::uint16_t littleEndianWord) {
    if constexpr (std::endian::native == std::endian::little) return littleEndianWord;
    return static_cast<std::uint16_t>(littleEndianWord >> 8 | littleEndianWord << 8);
}

// GCC's portable vector extension: the compiler picks the target's SIMD
// instructions, and the code stays free of any platform header.
using WordVector = std::uint16_t __attribute__((vector_size(16)));
using MaskVector = std::int16_t __attribute__((vector_size(16)));

constexpr std::int64_t kBlockBytes = 256;
constexpr int kBlockVectors = kBlockBytes / sizeof(WordVector);

// Whether any of the 128 words at block (byte aligned only) equals key.
bool BlockHoldsWord(const std::uint8_t* block, std::uint16_t key) {
    WordVector words[kBlockVectors];
    std::memcpy(words, block, sizeof words);
    const WordVector keys = WordVector{} + key;
    MaskVector hits = words[0] == keys;
    for (int i = 1; i < kBlockVectors; ++i) hits |= words[i] == keys;
    std::uint64_t halves[2];
    std::memcpy(halves, &hits, sizeof halves);
    return (halves[0] | halves[1]) != 0;
}

// The working, undo and source copies' memory, taken before the read, so a
// ROM too large for the memory is refused before anything is replaced: a
// 32-bit program cannot hold a file near 4 GiB, and on a 32-bit size_t the
// extra byte would wrap to 0.
bool ReserveEveryCopy(std::uint64_t size, LoadedRom& loaded) {
    if (size >= loaded.bytes.max_size()) return false;
    try {
        loaded.bytes.reserve(static_cast<std::size_t>(size) + 1);
        loaded.undoRoom.reserve(static_cast<std::size_t>(size));
        loaded.sourceRoom.reserve(static_cast<std::size_t>(size));
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

}  // namespace

// Grown by each word written to the span from the lowest to the highest byte;
// a word at size - 1 counts its one byte inside the file.
void RomImage::WrittenSpan::AddWord(std::uint32_t offset, std::uint32_t fileSize) {
    const std::uint32_t wordEnd = offset + std::min<std::uint32_t>(2, fileSize - offset);
    begin = Empty() ? offset : std::min(begin, offset);
    end = std::max(end, wordEnd);
}

Result<LoadedRom> LoadRomFile(const std::string& path, RomLoadFailure& failure) {
    static_assert(kMaxRomFileBytes < std::numeric_limits<std::uint32_t>::max(), "the size is 32-bit");
    LoadedRom loaded;
    const PathStatus status = Files().Status(path);
    const auto fail = [&failure](RomLoadFailure kind, std::string reason) {
        failure = kind;
        return Result<LoadedRom>::Failed(std::move(reason));
    };
    if (status.kind == PathStatus::Kind::File && status.size > kMaxRomFileBytes)
        return fail(RomLoadFailure::LargerThanAnyRom, FileTooLargeReason(status.size, kMaxRomFileBytes));
    if (status.kind == PathStatus::Kind::File && !ReserveEveryCopy(status.size, loaded))
        return fail(RomLoadFailure::NoMemoryForCopies, std::string(kNoMemoryForRomCopies));
    // Reads into the room reserved above.
    if (FileOutcome read = ReadWholeFile(path, kMaxRomFileBytes, loaded.bytes, 1); !read)
        return fail(RomLoadFailure::Unreadable, read.Reason());
    loaded.size = static_cast<std::uint32_t>(loaded.bytes.size() - 1);
    failure = RomLoadFailure::None;
    return loaded;
}

Result<LoadedRom> LoadRomFile(const std::string& path) {
    RomLoadFailure ignored = RomLoadFailure::None;
    return LoadRomFile(path, ignored);
}

FileOutcome WriteRomFile(const std::string& path, const std::uint8_t* data, std::uint32_t size) {
    return WriteFileSafely(path, {data, size});
}

void RomImage::Install(LoadedRom loaded) {
    working_ = std::move(loaded.bytes);
    undo_ = std::move(loaded.undoRoom);
    size_ = loaded.size;
    RefreshUndoCopy();
    source_ = std::move(loaded.sourceRoom);
    source_.assign(undo_.begin(), undo_.end());  // into the room reserved at load
    TellReplaced();
}

void RomImage::Release() {
    source_ = {};
    undo_ = {};
    working_ = {};
    size_ = 0;
    TellReplaced();
}

void RomImage::AddListener(WorkingCopyListener& listener) {
    if (std::find(listeners_.begin(), listeners_.end(), &listener) == listeners_.end())
        listeners_.push_back(&listener);
}

void RomImage::RemoveListener(WorkingCopyListener& listener) {
    listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), &listener), listeners_.end());
}

// A listener may add or remove listeners while it is told: those present
// when the change was made are told, unless removed before their turn.
template <typename Call>
void RomImage::Tell(Call&& call) {
    const std::vector<WorkingCopyListener*> present = listeners_;
    for (WorkingCopyListener* listener : present) {
        if (std::find(listeners_.begin(), listeners_.end(), listener) != listeners_.end()) call(*listener);
    }
}

void RomImage::TellChanged(const WrittenSpan& written) {
    if (written.Empty()) return;
    Tell([&](WorkingCopyListener& listener) {
        listener.WorkingCopyChanged(written.begin, written.end - written.begin);
    });
}

void RomImage::TellReplaced() {
    Tell([](WorkingCopyListener& listener) { listener.WorkingCopyReplaced(); });
}

void RomImage::RefreshUndoCopy() {
    if (undo_.size() != size_) undo_.assign(size_, 0);
    std::copy_n(working_.begin(), size_, undo_.begin());
}

RgbColor RomImage::ReadColor(std::uint32_t offset) const {
    if (offset >= size_) return kNoColor;
    return ToRgbColor(GetU16(working_, offset));
}

bool RomImage::WriteColor(std::uint32_t offset, RgbColor color) {
    return WriteColors(offset, {&color, 1});
}

// Offsets wrap as the 32-bit numbers they are, as in the view.
bool RomImage::WriteColors(std::uint32_t offset, std::span<const RgbColor> colors) {
    WrittenSpan written;
    for (std::size_t i = 0; i < colors.size(); ++i) {
        const std::uint32_t at = offset + static_cast<std::uint32_t>(2 * i);
        if (at >= size_) continue;
        const SnesColor word = ToSnesColor(colors[i]);
        SetU16(working_, at, word);  // its high byte may be the kept byte
        written.AddWord(at, size_);
    }
    TellChanged(written);
    return !written.Empty();
}

// Offsets wrap as the 32-bit numbers they are, as everywhere in the view: a
// view that starts before the file shows its first words in later cells, and
// "Undo View Area" restores those.
bool RomImage::RestoreFromUndo(std::uint32_t offset, std::uint32_t count) {
    WrittenSpan written;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint32_t at = offset + 2 * i;
        if (at >= size_) continue;
        working_[at] = undo_[at];
        if (at + 1 < size_) working_[at + 1] = undo_[at + 1];
        written.AddWord(at, size_);
    }
    TellChanged(written);
    return !written.Empty();
}

std::int32_t RomImage::FindColor(std::int32_t start, RgbColor color) const {
    const std::uint16_t key = InMemoryOrder(ToSnesColor(color));
    std::int64_t first = (static_cast<std::int64_t>(start) + 2) & ~std::int64_t{1};
    if (first < 0) first = 0;
    // Words starting at or after size - 4 are never examined.
    const std::int64_t end = static_cast<std::int64_t>(size_) - 4;
    if (first >= end) return kNotFound;

    const std::uint8_t* bytes = working_.data();
    // Blocks of 128 words are compared with the key as vectors, without a branch
    // per word; only a block that holds the key is looked at word by word. This
    // keeps the scan of a whole ROM close to memchr speed.
    for (std::int64_t block = first; block < end; block += kBlockBytes) {
        const std::int64_t blockEnd = std::min(block + kBlockBytes, end);
        if (blockEnd - block == kBlockBytes && !BlockHoldsWord(bytes + block, key)) continue;
        for (std::int64_t p = block; p < blockEnd; p += 2) {
            std::uint16_t word;
            std::memcpy(&word, bytes + p, sizeof word);
            if (word == key) return static_cast<std::int32_t>(p);
        }
    }
    return kNotFound;
}

FileOutcome RomImage::WriteToSavePath() const {
    return WriteRomFile(savePath_, working_.data(), size_);
}

}  // namespace tintwright
