#pragma once

// A file system in front of the real one that writes down every step of a
// write (create, each write, sync, close, permissions, replace, folder sync,
// remove, lock) and can make one chosen step fail, as a full disk, a pulled
// stick or a vanished folder would. It uses nothing but the seam, so the same
// tests run in the Windows build.

#include <set>
#include <string>
#include <vector>

#include "core/FileSystem.h"

namespace tintwright::testing {

class FaultyFileSystem final : public FileSystem {
public:
    explicit FaultyFileSystem(FileSystem& real = SystemFiles()) : real_(real) {}

    // The n-th step (counting from 1) of the writing steps fails; 0 fails none.
    int failAtStep = 0;
    // Every writing step so far, by name ("create", "write", "sync", ...).
    std::vector<std::string> steps;
    // Another program holds every lock: Lock tells its waiter once and fails
    // as the real one does when the wait runs out, without the wait.
    bool locksHeldElsewhere = false;

    PathStatus Status(const std::string& path) override { return real_.Status(path); }
    PathStatus LinkStatus(const std::string& path) override { return real_.LinkStatus(path); }
    bool SameFile(const std::string& first, const std::string& second) override {
        return real_.SameFile(first, second);
    }
    std::string WriteTarget(const std::string& path) override { return real_.WriteTarget(path); }
    FileOutcome OpenForReading(const std::string& path, FileHandle& file) override;
    FileOutcome Read(FileHandle file, std::span<std::uint8_t> bytes, std::size_t& got) override {
        return real_.Read(file, bytes, got);
    }
    FileOutcome CreateNew(const std::string& path, FileHandle& file) override;
    FileOutcome Write(FileHandle file, std::span<const std::uint8_t> bytes) override;
    FileOutcome Sync(FileHandle file) override;
    FileOutcome Close(FileHandle file) override;
    FileOutcome SetPermissions(const std::string& path, std::uint32_t permissions) override;
    FileOutcome Replace(const std::string& from, const std::string& to) override;
    FileOutcome SyncFolder(const std::string& folder) override;
    FileOutcome Remove(const std::string& path) override;
    FileOutcome RemoveAbandonedFile(const std::string& path) override;
    FileOutcome Lock(const std::string& lockPath, FileHandle& lock, const LockWait& wait) override;
    void Unlock(FileHandle lock) override { real_.Unlock(lock); }

private:
    // Writes the step down; true when this is the one that fails.
    bool FailsNow(const char* step);
    static FileOutcome Injected(const char* step);

    FileSystem& real_;
    std::set<FileHandle> reading_;  // closing these is no step of a write
};

}  // namespace tintwright::testing
