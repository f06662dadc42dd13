#pragma once

// Every file the program touches goes through here: the ROMs, the save file and
// the settings file. Paths are the 8-bit text the system handed over (ANSI from
// the Windows dialogs, file-name bytes on Linux) and reach the system's file
// calls unchanged, so a name with accents travels whole from the dialog to the
// disk. Each platform has one implementation; tests can put another in front of
// it, for instance one that makes a chosen step fail.

#include <chrono>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "core/Result.h"

namespace tintwright {

// How a file operation ended: done, or failed with the reason in the system's
// words, which the one message the user sees passes on.
using FileOutcome = Result<void>;

struct PathStatus {
    // Link only from LinkStatus, which reports a link itself.
    enum class Kind { Missing, File, Folder, Link, Other };
    Kind kind = Kind::Missing;
    std::uint64_t size = 0;
    std::uint32_t permissions = 0;  // the mode bits where the system has them, else 0
    // The file's own mark against writing: no write bit for its owner, or the
    // read-only attribute. Decided by the file, not by who asks, so it holds
    // for an administrator too.
    bool readOnly = false;
};

// How long Lock waits for a lock another program holds: a program that never
// lets go must not freeze its waiter for good.
struct LockWait {
    // After this long whileWaiting is called, once, so the caller can say
    // what it waits for.
    std::chrono::milliseconds patience{1000};
    // After this long Lock gives up.
    std::chrono::milliseconds longest{10000};
    std::function<void()> whileWaiting;
};

// What one try at a lock found: taken, held by another program, or a failure
// the system gave a reason for.
enum class LockTry { Taken, HeldElsewhere, Failed };

// An open file as the system names it; kNoFile names none.
using FileHandle = std::intptr_t;
inline constexpr FileHandle kNoFile = -1;

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // What is at a path, following links.
    virtual PathStatus Status(const std::string& path) = 0;
    // What is at a path itself: a link is reported as a link, not followed.
    virtual PathStatus LinkStatus(const std::string& path) = 0;
    // Whether two paths name one existing file, however each is spelt.
    virtual bool SameFile(const std::string& first, const std::string& second) = 0;
    // Where a write to path lands: a link's final target, so that the link
    // stays a link; the path itself otherwise (also when nothing is there yet).
    virtual std::string WriteTarget(const std::string& path) = 0;

    virtual FileOutcome OpenForReading(const std::string& path, FileHandle& file) = 0;
    // Reads up to bytes.size() bytes; got is what arrived, 0 at the end.
    virtual FileOutcome Read(FileHandle file, std::span<std::uint8_t> bytes, std::size_t& got) = 0;

    // Makes a new file, failing when something is there already. The file is
    // held until it is closed, so RemoveAbandonedFile leaves it alone.
    virtual FileOutcome CreateNew(const std::string& path, FileHandle& file) = 0;
    virtual FileOutcome Write(FileHandle file, std::span<const std::uint8_t> bytes) = 0;
    // Everything written reaches the disk before this returns.
    virtual FileOutcome Sync(FileHandle file) = 0;
    virtual FileOutcome Close(FileHandle file) = 0;
    virtual FileOutcome SetPermissions(const std::string& path, std::uint32_t permissions) = 0;
    // Puts from in the place of to in one step, replacing what was there.
    virtual FileOutcome Replace(const std::string& from, const std::string& to) = 0;
    // Makes a rename in the folder survive a power cut, where the system needs that.
    virtual FileOutcome SyncFolder(const std::string& folder) = 0;
    virtual FileOutcome Remove(const std::string& path) = 0;
    // Removes a plain file that nobody holds open from CreateNew: the leftover
    // of a write that never finished. A link, a folder or a file still being
    // written by a live program stays, and the outcome says why.
    virtual FileOutcome RemoveAbandonedFile(const std::string& path) = 0;

    // An exclusive advisory lock on a lock file, made when missing; held until
    // Unlock. While another program holds it, waits as wait says, then fails
    // with LockHeldElsewhereReason.
    virtual FileOutcome Lock(const std::string& lockPath, FileHandle& lock, const LockWait& wait) = 0;
    virtual void Unlock(FileHandle lock) = 0;
};

// The file system the program uses: the platform's own, or one a test put in
// front of it with ScopedFileSystem.
FileSystem& Files();
// The platform's implementation.
FileSystem& SystemFiles();

class ScopedFileSystem {
public:
    explicit ScopedFileSystem(FileSystem& files);
    ~ScopedFileSystem();
    ScopedFileSystem(const ScopedFileSystem&) = delete;
    ScopedFileSystem& operator=(const ScopedFileSystem&) = delete;

private:
    FileSystem* previous_;
};

// A whole file read through Files(): its bytes followed by extraZeroBytes
// zero bytes. Fails when the file cannot be read, is not a plain file, or is
// larger than maxBytes.
FileOutcome ReadWholeFile(const std::string& path, std::uint64_t maxBytes, std::vector<std::uint8_t>& bytes,
                          std::size_t extraZeroBytes = 0);
// What the platforms' Lock share: tries again every few milliseconds while
// tryOnce finds the lock held elsewhere, as wait says. tryOnce sets failure
// when it gives LockTry::Failed.
FileOutcome WaitForLock(const std::string& lockPath, const LockWait& wait,
                        const std::function<LockTry(FileOutcome& failure)>& tryOnce);
// "another program has kept PATH locked for 10 s".
std::string LockHeldElsewhereReason(const std::string& lockPath, std::chrono::milliseconds waited);

// Why a file of size bytes is refused where at most maxBytes are read:
// "the file has 1073741824 bytes, more than the 134217728 (128 MiB) allowed".
std::string FileTooLargeReason(std::uint64_t size, std::uint64_t maxBytes);

// The folder of a path, up to and including its last separator; empty when it
// has none. Windows separates with "\" and "/", other systems with "/".
std::string FolderOf(const std::string& path, std::string_view separators);
inline constexpr std::string_view kPathSeparators =
#ifdef _WIN32
    "\\/";
#else
    "/";
#endif

}  // namespace tintwright
