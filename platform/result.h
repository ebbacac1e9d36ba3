// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a system call that can fail gives back: its value, or the errno
// value of the failure with what was being done.

#include <cerrno>
#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace varnel {

// A failure: the errno value and what was being done ("write /a/b";
// empty when the caller says it).
struct SystemError {
    int number = 0;
    std::string context;

    // context + ": " + the system's text for `number` (UTF-8), or the
    // system's text alone without a context.
    [[nodiscard]] std::string text() const;
};

// The errno value now, with `context`.
[[nodiscard]] inline SystemError last_error(std::string context = {}) {
    return SystemError{errno, std::move(context)};
}

// A value of type T or the SystemError that prevented it. Converts to
// true when it holds the value; * and -> reach the value, error() the
// failure (each only in its own state).
template <class T>
class [[nodiscard]] Result {
public:
    Result(T value) : held_(std::move(value)) {}
    Result(SystemError error) : held_(std::move(error)) {}

    [[nodiscard]] bool ok() const { return held_.index() == 0; }
    explicit operator bool() const { return ok(); }
    [[nodiscard]] T& operator*() { return std::get<0>(held_); }
    [[nodiscard]] const T& operator*() const { return std::get<0>(held_); }
    [[nodiscard]] T* operator->() { return &std::get<0>(held_); }
    [[nodiscard]] const T* operator->() const { return &std::get<0>(held_); }
    [[nodiscard]] const SystemError& error() const { return std::get<1>(held_); }
    // The value, or `fallback` on a failure.
    [[nodiscard]] T value_or(T fallback) const& { return ok() ? std::get<0>(held_) : fallback; }

    // The value, or nothing: for callers that need no reason (the calls of
    // platform/ still leave it in errno as well).
    operator std::optional<T>() const& {
        if (!ok()) return std::nullopt;
        return std::get<0>(held_);
    }
    operator std::optional<T>() && {
        if (!ok()) return std::nullopt;
        return std::move(std::get<0>(held_));
    }

private:
    std::variant<T, SystemError> held_;
};

// Success or the SystemError of a call that gives no value.
template <>
class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(SystemError error) : error_(std::move(error)) {}

    [[nodiscard]] bool ok() const { return !error_; }
    explicit operator bool() const { return ok(); }
    [[nodiscard]] const SystemError& error() const { return *error_; }

private:
    std::optional<SystemError> error_;
};

using Status = Result<void>;

// Ok when `succeeded`, else the errno value now with `context`.
[[nodiscard]] inline Status status_of(bool succeeded, std::string context = {}) {
    if (succeeded) return {};
    return last_error(std::move(context));
}

// The failure's errno value, 0 for success: for the per-item error numbers
// of a batch.
[[nodiscard]] inline int error_number(const Status& status) {
    return status ? 0 : status.error().number;
}

}  // namespace varnel
