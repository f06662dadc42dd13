#include "core/SafeFileWrite.h"

namespace tintwright {
namespace {

// Written in pieces of this size, so a full disk is met part-way as it would be.
constexpr std::size_t kChunkBytes = 1u << 16;
constexpr int kTemporaryNameAttempts = 1000;
// Temporary names are taken lowest free number first, so leftovers sit among
// the low numbers; only writers saving at the same moment leave gaps, and
// this many free names in a row end the search for leftovers.
constexpr int kFreeNamesEndingTheSearch = 16;

std::string TemporaryName(const std::string& target, int number) {
    return target + ".tintwright-" + std::to_string(number) + ".tmp";
}

// A save killed part-way leaves its temporary file behind; the next save to
// the same target takes it away. Only plain files of our own names go, never
// a link, and never one a live save still holds.
void RemoveAbandonedTemporaries(const std::string& target) {
    int freeInARow = 0;
    for (int number = 0; number < kTemporaryNameAttempts && freeInARow < kFreeNamesEndingTheSearch;
         ++number) {
        const std::string name = TemporaryName(target, number);
        const PathStatus::Kind kind = Files().LinkStatus(name).kind;
        freeInARow = kind == PathStatus::Kind::Missing ? freeInARow + 1 : 0;
        if (kind == PathStatus::Kind::File) Files().RemoveAbandonedFile(name);
    }
}

// Creates a temporary file beside the target under a name nothing else uses.
FileOutcome CreateTemporary(const std::string& target, std::string& temporary, FileHandle& file) {
    FileOutcome created = FileOutcome::Failed("no name for a temporary file is free beside it");
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        temporary = TemporaryName(target, attempt);
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
    // Replacing the file would get round the mark, as the folder allows it;
    // a user who protected a file expects it to stay.
    if (old.kind == PathStatus::Kind::File && old.readOnly)
        return FileOutcome::Failed("the file is read-only");
    RemoveAbandonedTemporaries(target);

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
