#pragma once

// Owns one GDI object (a brush, a bitmap) and deletes it exactly once.

#include <utility>

#include "frontends/win32/Win32Api.h"

namespace tintwright::win32 {

template <typename Handle>
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(Handle handle) : handle_(handle) {}
    ~GdiObject() { Reset(); }

    // A copy would delete the object twice.
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    GdiObject& operator=(GdiObject&& other) noexcept {
        if (this != &other) Reset(std::exchange(other.handle_, nullptr));
        return *this;
    }

    Handle Get() const { return handle_; }
    void Reset(Handle handle = nullptr) {
        if (handle_ != nullptr) DeleteObject(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = nullptr;
};

using Brush = GdiObject<HBRUSH>;
using Bitmap = GdiObject<HBITMAP>;

}  // namespace tintwright::win32
