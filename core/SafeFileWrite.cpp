#include "core/SafeFileWrite.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace tintwright {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kChunkBytes = 1u << 16;

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

bool WriteAll(std::FILE* file, std::span<const std::uint8_t> data, const InjectedWriteFaults& faults) {
    std::uint64_t written = 0;
    while (written < data.size()) {
        std::size_t chunk = std::min<std::uint64_t>(kChunkBytes, data.size() - written);
        bool failHere = false;
        if (faults.failAfterBytes && written + chunk > *faults.failAfterBytes) {
            chunk = static_cast<std::size_t>(*faults.failAfterBytes - written);
            failHere = true;
        }
        if (chunk > 0 && std::fwrite(data.data() + written, 1, chunk, file) != chunk) return false;
        written += chunk;
        if (failHere) return false;
    }
    return std::fflush(file) == 0 && !std::ferror(file);
}

}  // namespace

bool WriteFileSafely(const std::string& path, std::span<const std::uint8_t> data,
                     const InjectedWriteFaults& faults) {
    const fs::path target(path);
    const auto temporary = UnusedTemporaryPath(target);
    if (!temporary) return false;

    std::FILE* file = std::fopen(temporary->string().c_str(), "wb");
    if (file == nullptr) return false;
    const bool written = WriteAll(file, data, faults);
    const bool closed = std::fclose(file) == 0;

    std::error_code error;
    bool ok = written && closed;
    if (ok) {
        const auto targetStatus = fs::status(target, error);
        if (!error && fs::exists(targetStatus)) {
            fs::permissions(*temporary, targetStatus.permissions(), fs::perm_options::replace, error);
            error.clear();  // a file system without permissions still gets the bytes
        }
        if (faults.failRename) {
            ok = false;
        } else {
            fs::rename(*temporary, target, error);
            ok = !error;
        }
    }
    if (!ok) fs::remove(*temporary, error);
    return ok;
}

}  // namespace tintwright
