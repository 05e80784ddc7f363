#pragma once

#include <QString>

#include <utility>

// The outcome of one operation on the system: success, or the reason it failed
// as text a developer can read. Errors are values here; they never cross the
// event loop as exceptions.
class [[nodiscard]] Status {
public:
    static Status success() { return {}; }
    static Status failure(int code, QString message) { return Status(code, std::move(message)); }
    // After a failed system call on `path`, with errno as `code`.
    static Status fromErrno(int code, const QString& path);

    bool ok() const { return !failed_; }
    int code() const { return code_; }
    const QString& message() const { return message_; }

private:
    Status() = default;
    Status(int code, QString message) : failed_(true), code_(code), message_(std::move(message)) {}

    bool failed_ = false;
    int code_ = 0;
    QString message_;
};

// A value, or the Status saying why there is none.
template <typename T>
class [[nodiscard]] StatusOr {
public:
    StatusOr(T value) : value_(std::move(value)), status_(Status::success()) {}
    StatusOr(Status failure) : status_(std::move(failure)) {}

    bool ok() const { return status_.ok(); }
    const Status& status() const { return status_; }
    const T& value() const { return value_; }
    // For values that can only be moved out (a source that owns a stream).
    T& value() { return value_; }

private:
    T value_ {};
    Status status_;
};
