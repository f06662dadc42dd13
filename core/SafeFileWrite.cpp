#include "core/SafeFileWrite.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace tintwright {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kChunkBytes = 1u << 16;
constexpr const char* kInjectedFault = "the write was made to fail (injected fault)";

// A name beside the target that no other file uses yet.
std::optional<fs::path> UnusedTemporaryPath(const fs::path& target) {
    for (int attempt = 0; attempt < 1000; ++attempt) {
        fs::path candidate = target;
        candidate += ".tintwright-" + std::to_string(attempt) + ".tmp";
        std::error_code error;
        if (!fs::exists(fs::symlink_status(candidate, error))) return candidate;
    }
    return std::nullopt;
}

WriteOutcome LastSystemError() {
    return WriteOutcome::Failed(SystemErrorText(errno));
}

WriteOutcome WriteAll(std::FILE* file, std::span<const std::uint8_t> data,
                      const InjectedWriteFaults& faults) {
    std::uint64_t written = 0;
    while (written < data.size()) {
        std::size_t chunk = std::min<std::uint64_t>(kChunkBytes, data.size() - written);
        bool failHere = false;
        if (faults.failAfterBytes && written + chunk > *faults.failAfterBytes) {
            chunk = static_cast<std::size_t>(*faults.failAfterBytes - written);
            failHere = true;
        }
        if (chunk > 0 && std::fwrite(data.data() + written, 1, chunk, file) != chunk)
            return LastSystemError();
        written += chunk;
        if (failHere) return WriteOutcome::Failed(kInjectedFault);
    }
    if (std::fflush(file) != 0 || std::ferror(file)) return LastSystemError();
    return WriteOutcome::Done();
}

// The new bytes take the old file's permissions, then its place.
WriteOutcome Replace(const fs::path& temporary, const fs::path& target, const InjectedWriteFaults& faults) {
    std::error_code error;
    const auto targetStatus = fs::status(target, error);
    if (!error && fs::exists(targetStatus)) {
        fs::permissions(temporary, targetStatus.permissions(), fs::perm_options::replace, error);
        error.clear();  // a file system without permissions still gets the bytes
    }
    if (faults.failRename) return WriteOutcome::Failed(kInjectedFault);
    fs::rename(temporary, target, error);
    if (error) return WriteOutcome::Failed(error.message());
    return WriteOutcome::Done();
}

}  // namespace

std::string SystemErrorText(int errorNumber) {
    return std::generic_category().message(errorNumber);
}

WriteOutcome WriteFileSafely(const std::string& path, std::span<const std::uint8_t> data,
                             const InjectedWriteFaults& faults) {
    const fs::path target(path);
    const auto temporary = UnusedTemporaryPath(target);
    if (!temporary) return WriteOutcome::Failed("no name for a temporary file is free beside it");

    errno = 0;
    std::FILE* file = std::fopen(temporary->string().c_str(), "wb");
    if (file == nullptr) return LastSystemError();
    WriteOutcome outcome = WriteAll(file, data, faults);
    errno = 0;
    if (std::fclose(file) != 0 && outcome) outcome = LastSystemError();
    if (outcome) outcome = Replace(*temporary, target, faults);
    if (!outcome) {
        std::error_code ignored;
        fs::remove(*temporary, ignored);
    }
    return outcome;
}

}  // namespace tintwright
