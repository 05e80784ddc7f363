#pragma once

#include <QString>

#include <utility>
#include <variant>

// Why a capture did not produce a file.
struct CaptureError {
    enum class Kind {
        Failed, // with a message for the user
        Permission, // the desktop refuses screen capture
        PermissionNeedsRelaunch,
        AwaitingPermission, // the permission flow has told the user already
        Cancelled, // the user changed their mind: nothing to say
        NoDisplay,
    };

    Kind kind = Kind::Failed;
    QString message;

    static CaptureError failed(QString message) { return {Kind::Failed, std::move(message)}; }
    static CaptureError of(Kind kind) { return {kind, {}}; }

    // The sentence the popover shows; empty for the kinds that show nothing.
    QString friendlyMessage() const;
};

// A value of a capture step, or why there is none.
template <typename T>
class CaptureResult {
public:
    CaptureResult(T value) : value_(std::move(value)) {}
    CaptureResult(CaptureError error) : value_(std::move(error)) {}

    bool ok() const { return std::holds_alternative<T>(value_); }
    const T& value() const { return std::get<T>(value_); }
    const CaptureError& error() const { return std::get<CaptureError>(value_); }

private:
    std::variant<T, CaptureError> value_;
};
