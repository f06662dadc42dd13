// The file system on Linux and other POSIX systems: the only file of the
// portable core that speaks to the operating system's file calls.

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <system_error>

#include "core/FileSystem.h"

namespace tintwright {
namespace {

FileOutcome FromErrno() {
    return FileOutcome::Failed(std::generic_category().message(errno));
}

FileOutcome Check(int result) {
    return result == -1 ? FromErrno() : FileOutcome::Done();
}

int Descriptor(FileHandle file) {
    return static_cast<int>(file);
}

// As many links as the system itself follows before it gives up.
constexpr int kMostLinkHops = 40;

PathStatus FromStat(const struct stat& info) {
    PathStatus status;
    if (S_ISREG(info.st_mode)) {
        status.kind = PathStatus::Kind::File;
    } else if (S_ISDIR(info.st_mode)) {
        status.kind = PathStatus::Kind::Folder;
    } else if (S_ISLNK(info.st_mode)) {
        status.kind = PathStatus::Kind::Link;
    } else {
        status.kind = PathStatus::Kind::Other;
    }
    status.size = static_cast<std::uint64_t>(info.st_size);
    status.permissions = static_cast<std::uint32_t>(info.st_mode & 07777);
    // The owner's bit, not access(): root may write anything, yet a file its
    // user marked read-only is still meant to stay.
    status.readOnly = (info.st_mode & S_IWUSR) == 0;
    return status;
}

// Fails with the reason when a descriptor is not a plain file nobody else
// holds; closes it then.
FileOutcome HeldByNobody(int descriptor) {
    struct stat info {};
    FileOutcome outcome = Check(::fstat(descriptor, &info));
    if (outcome && !S_ISREG(info.st_mode)) outcome = FileOutcome::Failed("it is not a plain file");
    if (outcome && ::flock(descriptor, LOCK_EX | LOCK_NB) == -1) {
        outcome = FileOutcome::Failed("a running program is still writing it");
    }
    if (!outcome) ::close(descriptor);
    return outcome;
}

class PosixFileSystem final : public FileSystem {
public:
    PathStatus Status(const std::string& path) override {
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0) return {};  // missing, or nothing we can reach
        return FromStat(info);
    }

    PathStatus LinkStatus(const std::string& path) override {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0) return {};
        return FromStat(info);
    }

    bool SameFile(const std::string& first, const std::string& second) override {
        struct stat one {};
        struct stat other {};
        return ::stat(first.c_str(), &one) == 0 && ::stat(second.c_str(), &other) == 0 &&
               one.st_dev == other.st_dev && one.st_ino == other.st_ino;
    }

    // A link is followed to its final target, also one that does not exist
    // yet, so the write lands there and the link stays a link.
    std::string WriteTarget(const std::string& path) override {
        std::string current = path;
        for (int hop = 0; hop < kMostLinkHops; ++hop) {
            struct stat info {};
            if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return current;
            char target[PATH_MAX];
            const ssize_t length = ::readlink(current.c_str(), target, sizeof target - 1);
            if (length <= 0) return current;
            const std::string next(target, static_cast<std::size_t>(length));
            current = next.front() == '/' ? next : FolderOf(current, "/") + next;
        }
        return current;  // a loop of links; the rename then fails with the system's reason
    }

    FileOutcome OpenForReading(const std::string& path, FileHandle& file) override {
        const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (descriptor == -1) return FromErrno();
        file = descriptor;
        return FileOutcome::Done();
    }

    FileOutcome Read(FileHandle file, std::span<std::uint8_t> bytes, std::size_t& got) override {
        ssize_t result = 0;
        do {
            result = ::read(Descriptor(file), bytes.data(), bytes.size());
        } while (result == -1 && errno == EINTR);
        if (result == -1) return FromErrno();
        got = static_cast<std::size_t>(result);
        return FileOutcome::Done();
    }

    // 0666 before the umask, as any program's new file. The lock tells
    // RemoveAbandonedFile in another editor that this file is still wanted;
    // the system drops it when the file is closed or the program dies.
    FileOutcome CreateNew(const std::string& path, FileHandle& file) override {
        const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor == -1) return FromErrno();
        ::flock(descriptor, LOCK_EX | LOCK_NB);
        file = descriptor;
        return FileOutcome::Done();
    }

    FileOutcome Write(FileHandle file, std::span<const std::uint8_t> bytes) override {
        while (!bytes.empty()) {
            const ssize_t result = ::write(Descriptor(file), bytes.data(), bytes.size());
            if (result == -1 && errno == EINTR) continue;
            if (result == -1) return FromErrno();
            bytes = bytes.subspan(static_cast<std::size_t>(result));
        }
        return FileOutcome::Done();
    }

    FileOutcome Sync(FileHandle file) override { return Check(::fsync(Descriptor(file))); }

    FileOutcome Close(FileHandle file) override {
        if (file == kNoFile) return FileOutcome::Done();
        return Check(::close(Descriptor(file)));
    }

    FileOutcome SetPermissions(const std::string& path, std::uint32_t permissions) override {
        return Check(::chmod(path.c_str(), static_cast<mode_t>(permissions)));
    }

    FileOutcome Replace(const std::string& from, const std::string& to) override {
        return Check(::rename(from.c_str(), to.c_str()));
    }

    FileOutcome SyncFolder(const std::string& folder) override {
        const int descriptor =
            ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (descriptor == -1) return FromErrno();
        const FileOutcome synced = Check(::fsync(descriptor));
        ::close(descriptor);
        return synced;
    }

    FileOutcome Remove(const std::string& path) override { return Check(::unlink(path.c_str())); }

    // Opened without following a link, so a link planted under the name is
    // never the thing checked.
    FileOutcome RemoveAbandonedFile(const std::string& path) override {
        const int descriptor = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (descriptor == -1) return FromErrno();
        if (FileOutcome unheld = HeldByNobody(descriptor); !unheld) return unheld;
        const FileOutcome removed = Check(::unlink(path.c_str()));
        ::close(descriptor);
        return removed;
    }

    FileOutcome Lock(const std::string& lockPath, FileHandle& lock, const LockWait& wait) override {
        const int descriptor = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (descriptor == -1) return FromErrno();
        const FileOutcome locked = WaitForLock(lockPath, wait, [descriptor](FileOutcome& failure) {
            if (::flock(descriptor, LOCK_EX | LOCK_NB) == 0) return LockTry::Taken;
            if (errno == EWOULDBLOCK || errno == EINTR) return LockTry::HeldElsewhere;
            failure = FromErrno();
            return LockTry::Failed;
        });
        if (!locked) {
            ::close(descriptor);
            return locked;
        }
        lock = descriptor;
        return FileOutcome::Done();
    }

    void Unlock(FileHandle lock) override {
        if (lock == kNoFile) return;
        ::flock(Descriptor(lock), LOCK_UN);
        ::close(Descriptor(lock));
    }
};

}  // namespace

FileSystem& SystemFiles() {
    static PosixFileSystem files;
    return files;
}

}  // namespace tintwright
