#include <dlfcn.h>
#include <unistd.h>

#include <cerrno>

#include "frontends/preview/HostPlatform.h"

namespace tintwright::host {
namespace {

int output = 1;

}  // namespace

void PrepareStreams() {
    output = ::dup(1);
    ::dup2(2, 1);
}

std::size_t ReadInput(std::span<std::uint8_t> bytes) {
    for (;;) {
        const ssize_t got = ::read(0, bytes.data(), bytes.size());
        if (got >= 0) return static_cast<std::size_t>(got);
        if (errno != EINTR) return 0;
    }
}

bool WriteOutput(std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(output, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return true;
}

// A crash ends the host by its signal, which the client reports.
void EndOnCrash() {}

Result<Library> Library::Open(const std::string& path) {
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) return Result<Library>::Failed(::dlerror());
    return Library(handle);
}

Library::~Library() {
    if (handle_ != nullptr) ::dlclose(handle_);
}

void* Library::Symbol(const char* name) const {
    return ::dlsym(handle_, name);
}

}  // namespace tintwright::host
