#pragma once

// What the preview host needs from the system: its pipes in binary mode, the
// core's library, and a crash that ends the host with its reason instead of a
// dialog or a debugger. One file per platform.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "core/Result.h"

namespace tintwright::host {

// Binary pipes, and the core's own writes to standard output sent to
// standard error, so that nothing a core prints can break the messages.
void PrepareStreams();
// Blocks until bytes arrive; 0 when the input has ended.
std::size_t ReadInput(std::span<std::uint8_t> bytes);
// False when the client no longer reads.
bool WriteOutput(std::span<const std::uint8_t> bytes);
// A crash ends the host with the system's code for it, at once.
void EndOnCrash();

class Library {
public:
    // The library at path, or the system's reason it cannot be loaded.
    static Result<Library> Open(const std::string& path);
    Library(Library&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
    Library& operator=(Library&&) = delete;
    Library(const Library&) = delete;
    ~Library();

    void* Symbol(const char* name) const;

private:
    explicit Library(void* handle) : handle_(handle) {}
    void* handle_;
};

}  // namespace tintwright::host
