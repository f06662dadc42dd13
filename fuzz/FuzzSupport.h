#pragma once

// What every harness shares. A broken property aborts, which libFuzzer turns
// into a saved reproducer; "no crash" alone would let a wrong answer pass.

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

// A macro, so the report names the condition that failed and where.
#define FUZZ_REQUIRE(condition) \
    ((condition) ? static_cast<void>(0) : ::tintwright::fuzz::PropertyBroken(#condition, __FILE__, __LINE__))

namespace tintwright::fuzz {

[[noreturn]] inline void PropertyBroken(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: property broken: %s\n", file, line, condition);
    std::abort();
}

// A folder of this process's own, removed at exit, so that two fuzzers running
// side by side never share a file.
class ScratchFolder {
public:
    static const std::filesystem::path& Path() {
        static const ScratchFolder folder;
        return folder.path_;
    }

private:
    ScratchFolder()
        : path_(std::filesystem::temp_directory_path() / ("tintwright-fuzz-" + std::to_string(getpid()))) {
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }

    std::filesystem::path path_;
};

inline void WriteFileBytes(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    FUZZ_REQUIRE(out.good());
}

// The file's bytes, or nothing when there is no file.
inline std::optional<std::string> ReadFileBytes(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    FUZZ_REQUIRE(in.good());
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace tintwright::fuzz
