#include "core/FileSystem.h"

#include <new>
#include <thread>

namespace tintwright {
namespace {

FileSystem* current = nullptr;

constexpr std::size_t kReadChunk = 1u << 20;
// Short beside the patience of anyone waiting, long beside a settings write.
constexpr std::chrono::milliseconds kLockRetryPause{25};

// Closes a file on every way out of a read.
class OpenFile {
public:
    explicit OpenFile(FileHandle file) : file_(file) {}
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    ~OpenFile() { Files().Close(file_); }

private:
    FileHandle file_;
};

}  // namespace

FileSystem& Files() {
    return current != nullptr ? *current : SystemFiles();
}

ScopedFileSystem::ScopedFileSystem(FileSystem& files) : previous_(current) {
    current = &files;
}

ScopedFileSystem::~ScopedFileSystem() {
    current = previous_;
}

FileOutcome ReadWholeFile(const std::string& path, std::uint64_t maxBytes, std::vector<std::uint8_t>& bytes,
                          std::size_t extraZeroBytes) {
    const PathStatus status = Files().Status(path);
    if (status.kind == PathStatus::Kind::Missing) return FileOutcome::Failed("there is no such file");
    if (status.kind != PathStatus::Kind::File) return FileOutcome::Failed("it is not a file");
    if (status.size > maxBytes) return FileOutcome::Failed(FileTooLargeReason(status.size, maxBytes));
    FileHandle file = kNoFile;
    if (FileOutcome opened = Files().OpenForReading(path, file); !opened) return opened;
    const OpenFile closer(file);
    const auto size = static_cast<std::size_t>(status.size);
    try {
        bytes.assign(size + extraZeroBytes, 0);
    } catch (const std::bad_alloc&) {
        return FileOutcome::Failed("there is not enough memory for the file");
    }
    std::size_t done = 0;
    while (done < size) {
        std::size_t got = 0;
        const std::size_t chunk = std::min(kReadChunk, size - done);
        if (FileOutcome read = Files().Read(file, {bytes.data() + done, chunk}, got); !read) return read;
        if (got == 0) return FileOutcome::Failed("the file became shorter while it was read");
        done += got;
    }
    return FileOutcome::Done();
}

FileOutcome WaitForLock(const std::string& lockPath, const LockWait& wait,
                        const std::function<LockTry(FileOutcome& failure)>& tryOnce) {
    const auto start = std::chrono::steady_clock::now();
    bool told = false;
    for (;;) {
        FileOutcome failure;
        const LockTry tried = tryOnce(failure);
        if (tried == LockTry::Taken) return FileOutcome::Done();
        if (tried == LockTry::Failed) return failure;
        const auto waited = std::chrono::steady_clock::now() - start;
        if (waited >= wait.longest)
            return FileOutcome::Failed(LockHeldElsewhereReason(lockPath, wait.longest));
        if (!told && waited >= wait.patience) {
            told = true;
            if (wait.whileWaiting) wait.whileWaiting();
        }
        std::this_thread::sleep_for(kLockRetryPause);
    }
}

std::string LockHeldElsewhereReason(const std::string& lockPath, std::chrono::milliseconds waited) {
    const auto count = waited.count();
    const std::string duration =
        count % 1000 == 0 ? std::to_string(count / 1000) + " s" : std::to_string(count) + " ms";
    return "another program has kept " + lockPath + " locked for " + duration;
}

std::string FileTooLargeReason(std::uint64_t size, std::uint64_t maxBytes) {
    constexpr std::uint64_t kMebibyte = 1u << 20;
    const std::string most = maxBytes % kMebibyte == 0 ? std::to_string(maxBytes) + " (" +
                                                             std::to_string(maxBytes / kMebibyte) + " MiB)"
                                                       : std::to_string(maxBytes);
    return "the file has " + std::to_string(size) + " bytes, more than the " + most + " allowed";
}

std::string FolderOf(const std::string& path, std::string_view separators) {
    const std::size_t last = path.find_last_of(separators);
    return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

}  // namespace tintwright
