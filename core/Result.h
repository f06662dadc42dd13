#pragma once

// What fallible work gives back: its value, or the reason there is none in
// the words the user reads ("there is no such file", "zip member state.bst
// ends at 812"). Readers, writers and the seams all return one; the caller
// shows the reason in its one message, so nothing throws across a window.

#include <optional>
#include <string>
#include <utility>

namespace tintwright {

template <typename T>
class [[nodiscard]] Result {
public:
    // Implicit, so that a function returns its value as it is.
    Result(T value) : value_(std::move(value)) {}
    static Result Failed(std::string reason) {
        Result result;
        result.reason_ = std::move(reason);
        return result;
    }

    explicit operator bool() const { return value_.has_value(); }
    // Only when there is a value.
    const T& Value() const& { return *value_; }
    T& Value() & { return *value_; }
    T&& Value() && { return std::move(*value_); }
    const T& operator*() const& { return *value_; }
    T& operator*() & { return *value_; }
    T&& operator*() && { return std::move(*value_); }
    const T* operator->() const { return &*value_; }
    T* operator->() { return &*value_; }
    // Empty when there is a value.
    const std::string& Reason() const { return reason_; }

private:
    Result() = default;
    std::optional<T> value_;
    std::string reason_;
};

// Work that gives nothing back but can fail. Not nodiscard: a clean-up step
// (closing, removing a temporary file) may fail with nobody to tell.
template <>
class Result<void> {
public:
    static Result Done() { return Result(); }
    static Result Failed(std::string reason) {
        Result result;
        result.failed_ = true;
        result.reason_ = std::move(reason);
        return result;
    }

    explicit operator bool() const { return !failed_; }
    const std::string& Reason() const { return reason_; }

private:
    bool failed_ = false;
    std::string reason_;
};

}  // namespace tintwright
