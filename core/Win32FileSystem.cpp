// The file system on Windows: the only file of the portable core that speaks
// to the system's file calls. Paths go to the "A" functions exactly as the
// "A" dialogs gave them, in the system's 8-bit code page.

#include <windows.h>

#include <string>

#include "core/FileSystem.h"
#include "core/Win32SystemError.h"

namespace tintwright {
namespace {

FileOutcome Check(BOOL result) {
    return result ? FileOutcome::Done() : FailedWithLastError();
}

HANDLE Handle(FileHandle file) {
    return reinterpret_cast<HANDLE>(file);
}
FileHandle FromHandle(HANDLE handle) {
    return reinterpret_cast<FileHandle>(handle);
}

FileOutcome Opened(HANDLE handle, FileHandle& file) {
    if (handle == INVALID_HANDLE_VALUE) return FailedWithLastError();
    file = FromHandle(handle);
    return FileOutcome::Done();
}

// What the attributes say; a link (reparse point) is reported as one only
// when asked for the path itself.
PathStatus StatusFromAttributes(const std::string& path, bool reportLinks) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    PathStatus status;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return status;
    if (reportLinks && (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        status.kind = PathStatus::Kind::Link;
    } else if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        status.kind = PathStatus::Kind::Folder;
    } else {
        status.kind = PathStatus::Kind::File;
    }
    status.size = static_cast<std::uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
    status.readOnly = (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
    return status;
}

// The volume and index that name a file, whatever path reached it.
bool FileIdentity(const std::string& path, BY_HANDLE_FILE_INFORMATION& identity) {
    const HANDLE handle = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    const BOOL known = GetFileInformationByHandle(handle, &identity);
    CloseHandle(handle);
    return known != FALSE;
}

class Win32FileSystem final : public FileSystem {
public:
    PathStatus Status(const std::string& path) override { return StatusFromAttributes(path, false); }
    PathStatus LinkStatus(const std::string& path) override { return StatusFromAttributes(path, true); }

    bool SameFile(const std::string& first, const std::string& second) override {
        BY_HANDLE_FILE_INFORMATION one{};
        BY_HANDLE_FILE_INFORMATION other{};
        return FileIdentity(first, one) && FileIdentity(second, other) &&
               one.dwVolumeSerialNumber == other.dwVolumeSerialNumber &&
               one.nFileIndexHigh == other.nFileIndexHigh && one.nFileIndexLow == other.nFileIndexLow;
    }

    // Links are rare on Windows and the system resolves them itself.
    std::string WriteTarget(const std::string& path) override { return path; }

    FileOutcome OpenForReading(const std::string& path, FileHandle& file) override {
        return Opened(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr),
                      file);
    }

    FileOutcome Read(FileHandle file, std::span<std::uint8_t> bytes, std::size_t& got) override {
        const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD read = 0;
        if (!ReadFile(Handle(file), bytes.data(), wanted, &read, nullptr)) return FailedWithLastError();
        got = read;
        return FileOutcome::Done();
    }

    // Shared with nobody: while it is open no other program can remove it.
    FileOutcome CreateNew(const std::string& path, FileHandle& file) override {
        return Opened(
            CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr),
            file);
    }

    FileOutcome Write(FileHandle file, std::span<const std::uint8_t> bytes) override {
        while (!bytes.empty()) {
            const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
            DWORD written = 0;
            if (!WriteFile(Handle(file), bytes.data(), wanted, &written, nullptr))
                return FailedWithLastError();
            bytes = bytes.subspan(written);
        }
        return FileOutcome::Done();
    }

    FileOutcome Sync(FileHandle file) override { return Check(FlushFileBuffers(Handle(file))); }

    FileOutcome Close(FileHandle file) override {
        if (file == kNoFile) return FileOutcome::Done();
        return Check(CloseHandle(Handle(file)));
    }

    // Windows keeps no mode bits; the new file has the folder's defaults.
    FileOutcome SetPermissions(const std::string&, std::uint32_t) override { return FileOutcome::Done(); }

    // Write-through: the move is on the disk when this returns.
    FileOutcome Replace(const std::string& from, const std::string& to) override {
        return Check(
            MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
    }

    FileOutcome SyncFolder(const std::string&) override { return FileOutcome::Done(); }

    FileOutcome Remove(const std::string& path) override { return Check(DeleteFileA(path.c_str())); }

    // A file still open from CreateNew refuses the delete with a sharing
    // violation, so a live save keeps its temporary file.
    FileOutcome RemoveAbandonedFile(const std::string& path) override {
        if (LinkStatus(path).kind != PathStatus::Kind::File)
            return FileOutcome::Failed("it is not a plain file");
        return Check(DeleteFileA(path.c_str()));
    }

    FileOutcome Lock(const std::string& lockPath, FileHandle& lock, const LockWait& wait) override {
        FileHandle file = kNoFile;
        const FileOutcome opened = Opened(
            CreateFileA(lockPath.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                        nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr),
            file);
        if (!opened) return opened;
        const FileOutcome locked = WaitForLock(lockPath, wait, [file](FileOutcome& failure) {
            OVERLAPPED whole{};
            if (LockFileEx(Handle(file), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD,
                           MAXDWORD, &whole))
                return LockTry::Taken;
            if (GetLastError() == ERROR_LOCK_VIOLATION) return LockTry::HeldElsewhere;
            failure = FailedWithLastError();
            return LockTry::Failed;
        });
        if (!locked) {
            CloseHandle(Handle(file));
            return locked;
        }
        lock = file;
        return FileOutcome::Done();
    }

    void Unlock(FileHandle lock) override {
        if (lock == kNoFile) return;
        OVERLAPPED whole{};
        UnlockFileEx(Handle(lock), 0, MAXDWORD, MAXDWORD, &whole);
        CloseHandle(Handle(lock));
    }
};

}  // namespace

FileSystem& SystemFiles() {
    static Win32FileSystem files;
    return files;
}

// The system's own text for its last error, without the line break it ends with.
FileOutcome FailedWithLastError() {
    const DWORD error = GetLastError();
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string reason = length > 0 ? std::string(text, length) : "error " + std::to_string(error);
    if (text != nullptr) LocalFree(text);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == '.')) {
        reason.pop_back();
    }
    return FileOutcome::Failed(reason);
}

}  // namespace tintwright
