#include "core/SafeFileWrite.h"

namespace tintwright {
namespace {

// Written in pieces of this size, so a full disk is met part-way as it would be.
constexpr std::size_t kChunkBytes = 1u << 16;
constexpr int kTemporaryNameAttempts = 1000;

// Creates a temporary file beside the target under a name nothing else uses.
FileOutcome CreateTemporary(const std::string& target, std::string& temporary, FileHandle& file) {
    FileOutcome created = FileOutcome::Failed("no name for a temporary file is free beside it");
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        temporary = target + ".tintwright-" + std::to_string(attempt) + ".tmp";
        created = Files().CreateNew(temporary, file);
        // Only a name another file already has is worth another try.
        if (created || Files().Status(temporary).kind == PathStatus::Kind::Missing) return created;
    }
    return created;
}

FileOutcome WriteAndClose(FileHandle file, std::span<const std::uint8_t> data) {
    FileOutcome outcome = FileOutcome::Done();
    for (std::size_t done = 0; outcome && done < data.size(); done += kChunkBytes) {
        outcome = Files().Write(file, data.subspan(done, std::min(kChunkBytes, data.size() - done)));
    }
    if (outcome) outcome = Files().Sync(file);
    const FileOutcome closed = Files().Close(file);
    return outcome ? closed : outcome;
}

}  // namespace

FileOutcome WriteFileSafely(const std::string& path, std::span<const std::uint8_t> data) {
    const std::string target = Files().WriteTarget(path);
    const PathStatus old = Files().Status(target);
    if (old.kind == PathStatus::Kind::Folder) return FileOutcome::Failed("there is a folder of that name");

    std::string temporary;
    FileHandle file = kNoFile;
    if (FileOutcome created = CreateTemporary(target, temporary, file); !created) return created;
    FileOutcome outcome = WriteAndClose(file, data);
    if (outcome && old.kind == PathStatus::Kind::File) {
        // A file system without permission bits still gets the bytes.
        Files().SetPermissions(temporary, old.permissions);
    }
    if (outcome) outcome = Files().Replace(temporary, target);
    if (!outcome) {
        Files().Remove(temporary);
        return outcome;
    }
    // The new file is in place either way; a folder that cannot be synced
    // only leaves the rename to the system's own time.
    Files().SyncFolder(FolderOf(target, kPathSeparators));
    return outcome;
}

}  // namespace tintwright
