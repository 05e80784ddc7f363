#pragma once

#include <QString>

#include <optional>

// What the user asked to capture.
enum class CaptureKind { Visible, Region, Window, Page };

// "visible", "region", "window", "page" on the command line and over D-Bus.
std::optional<CaptureKind> captureKindNamed(const QString& name);
