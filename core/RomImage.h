#pragma once

// The ROM held in memory: the working copy every edit changes and every save
// writes, the undo copy the undo commands restore from, and the file as
// loaded, which a patch written beside the save starts from.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/FileSystem.h"
#include "core/Result.h"
#include "core/SnesColor.h"

namespace tintwright {

// The largest file the editor opens as a ROM and tintwright-palette reads as
// any of its inputs. No SNES ROM comes near it (the largest are 6 MiB,
// expanded hacks 12 MiB); a larger file is refused, naming its size, before
// any memory is taken for it.
inline constexpr std::uint64_t kMaxRomFileBytes = std::uint64_t{128} << 20;

// A file read whole: size bytes followed by one kept zero byte, which lets a
// word at offset size - 1 be read and written without touching the file.
struct LoadedRom {
    std::vector<std::uint8_t> bytes;  // size + 1 bytes
    std::uint32_t size = 0;
    // Room for the undo copy, taken with the file so that a file the memory
    // cannot hold twice is refused before it replaces anything.
    std::vector<std::uint8_t> undoRoom;
    std::vector<std::uint8_t> sourceRoom;  // the file as loaded, for patches
};

// LoadRomFile's reason when the memory cannot hold the file's copies.
inline constexpr std::string_view kNoMemoryForRomCopies =
    "there is not enough memory for the working, the undo and the source copy";

// Which kind of failure a load's reason tells of. A file larger than any ROM,
// or too large for the memory, is not a file that could not be read, and
// another try will not help, so the editor words them apart.
enum class RomLoadFailure { None, Unreadable, LargerThanAnyRom, NoMemoryForCopies };

// Reads a whole file. Fails when it cannot be opened or read, when fewer bytes
// arrive than its size (Unreadable), when it is larger than kMaxRomFileBytes
// (LargerThanAnyRom, FileTooLargeReason's words), or when there is no memory
// for its copies (NoMemoryForCopies, kNoMemoryForRomCopies); failure says
// which, None after a load.
Result<LoadedRom> LoadRomFile(const std::string& path, RomLoadFailure& failure);
// The same, for a caller that shows every failure alike.
Result<LoadedRom> LoadRomFile(const std::string& path);

// Writes size bytes of data to path without ever leaving a half-written file:
// the bytes go to a temporary file beside the target, which replaces the target
// only once everything is written and flushed. On failure the old file is
// untouched and the outcome says why.
FileOutcome WriteRomFile(const std::string& path, const std::uint8_t* data, std::uint32_t size);

// Hears of every change of a RomImage's working copy, synchronously, once the
// change is made: whoever writes says so once, and every view follows.
class WorkingCopyListener {
public:
    // count bytes from offset were written; both lie within the file, never
    // on the kept byte after it.
    virtual void WorkingCopyChanged(std::uint32_t offset, std::uint32_t count) = 0;
    // A new file or the same one loaded again, or the copies released: the
    // size may differ and every byte may have changed.
    virtual void WorkingCopyReplaced() = 0;

protected:
    ~WorkingCopyListener() = default;
};

class RomImage {
public:
    static constexpr std::int32_t kNotFound = -1;

    // Replaces the working copy with a loaded file and makes it the undo state too.
    void Install(LoadedRom loaded);
    // Releases both copies, the undo copy first.
    void Release();

    // Listeners are told in the order they were added; adding one twice
    // changes nothing. A listener removes itself before it goes.
    void AddListener(WorkingCopyListener& listener);
    void RemoveListener(WorkingCopyListener& listener);

    // Changes only the undo copy, so no listener hears of it.
    void RefreshUndoCopy();
    RgbColor ReadColor(std::uint32_t offset) const;
    // False, and nobody told, when the word starts outside the file.
    bool WriteColor(std::uint32_t offset, RgbColor color);
    // Consecutive words from offset (wrapping as 32-bit offsets do), those
    // outside the file skipped; the listeners hear of them once. False when
    // none was inside the file.
    bool WriteColors(std::uint32_t offset, std::span<const RgbColor> colors);
    // count words from offset, told to the listeners once; false when none
    // was inside the file.
    bool RestoreFromUndo(std::uint32_t offset, std::uint32_t count);
    // The first even offset from start + 2 whose word equals the colour's word,
    // never looking at a word that starts within the last four bytes.
    std::int32_t FindColor(std::int32_t start, RgbColor color) const;
    // Writes the working copy (without its kept byte) to the save path; when
    // it cannot, the old file is unchanged and the outcome says why.
    FileOutcome WriteToSavePath() const;

    std::uint32_t Size() const { return size_; }
    bool IsLoaded() const { return !working_.empty(); }
    std::span<const std::uint8_t> WorkingBytes() const { return {working_.data(), working_.size()}; }
    std::span<const std::uint8_t> UndoBytes() const { return undo_; }
    // The file as it was loaded, whatever Update Undo Buffer did since.
    std::span<const std::uint8_t> SourceBytes() const { return source_; }

    std::string& SourcePath() { return sourcePath_; }
    const std::string& SourcePath() const { return sourcePath_; }
    std::string& SavePath() { return savePath_; }
    const std::string& SavePath() const { return savePath_; }

private:
    // The bytes of the file one write touched, [begin, end).
    struct WrittenSpan {
        std::uint32_t begin = 0;
        std::uint32_t end = 0;
        bool Empty() const { return begin == end; }
        void AddWord(std::uint32_t offset, std::uint32_t fileSize);  // offset < fileSize
    };
    template <typename Call>
    void Tell(Call&& call);
    void TellChanged(const WrittenSpan& written);
    void TellReplaced();

    std::vector<std::uint8_t> working_;  // size_ + 1 bytes once loaded
    std::vector<std::uint8_t> undo_;     // size_ bytes
    std::vector<std::uint8_t> source_;   // size_ bytes
    std::uint32_t size_ = 0;
    std::string sourcePath_;
    std::string savePath_;
    std::vector<WorkingCopyListener*> listeners_;
};

}  // namespace tintwright
