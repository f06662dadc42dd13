#include "tests/support/FaultyFileSystem.h"

namespace tintwright::testing {

bool FaultyFileSystem::FailsNow(const char* step) {
    steps.emplace_back(step);
    return failAtStep == static_cast<int>(steps.size());
}

FileOutcome FaultyFileSystem::Injected(const char* step) {
    return FileOutcome::Failed(std::string("injected failure of ") + step);
}

FileOutcome FaultyFileSystem::OpenForReading(const std::string& path, FileHandle& file) {
    const FileOutcome opened = real_.OpenForReading(path, file);
    if (opened) reading_.insert(file);
    return opened;
}

FileOutcome FaultyFileSystem::CreateNew(const std::string& path, FileHandle& file) {
    if (FailsNow("create")) return Injected("create");
    return real_.CreateNew(path, file);
}

FileOutcome FaultyFileSystem::Write(FileHandle file, std::span<const std::uint8_t> bytes) {
    if (FailsNow("write")) return Injected("write");
    return real_.Write(file, bytes);
}

FileOutcome FaultyFileSystem::Sync(FileHandle file) {
    if (FailsNow("sync")) return Injected("sync");
    return real_.Sync(file);
}

// A close that fails still gives the handle back, as the systems do.
FileOutcome FaultyFileSystem::Close(FileHandle file) {
    if (reading_.erase(file) > 0) return real_.Close(file);
    const bool fails = FailsNow("close");
    const FileOutcome closed = real_.Close(file);
    return fails ? Injected("close") : closed;
}

FileOutcome FaultyFileSystem::SetPermissions(const std::string& path, std::uint32_t permissions) {
    if (FailsNow("permissions")) return Injected("permissions");
    return real_.SetPermissions(path, permissions);
}

FileOutcome FaultyFileSystem::Replace(const std::string& from, const std::string& to) {
    if (FailsNow("replace")) return Injected("replace");
    return real_.Replace(from, to);
}

FileOutcome FaultyFileSystem::SyncFolder(const std::string& folder) {
    if (FailsNow("sync folder")) return Injected("sync folder");
    return real_.SyncFolder(folder);
}

FileOutcome FaultyFileSystem::Remove(const std::string& path) {
    steps.emplace_back("remove");
    return real_.Remove(path);
}

FileOutcome FaultyFileSystem::RemoveAbandonedFile(const std::string& path) {
    steps.emplace_back("remove abandoned");
    return real_.RemoveAbandonedFile(path);
}

FileOutcome FaultyFileSystem::Lock(const std::string& lockPath, FileHandle& lock, const LockWait& wait) {
    if (FailsNow("lock")) return Injected("lock");
    if (!locksHeldElsewhere) return real_.Lock(lockPath, lock, wait);
    if (wait.whileWaiting) wait.whileWaiting();
    return FileOutcome::Failed(LockHeldElsewhereReason(lockPath, wait.longest));
}

}  // namespace tintwright::testing
