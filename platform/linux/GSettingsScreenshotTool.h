#pragma once

#include "platform/ScreenshotTool.h"

#include <memory>

struct _GSettings;

// GNOME's screenshot application: GSettings "org.gnome.gnome-screenshot",
// key "auto-save-directory" (a file URL; empty means the Pictures folder).
class GSettingsScreenshotTool final : public ScreenshotTool {
public:
    // Installed when the schema is known to GSettings.
    explicit GSettingsScreenshotTool(QString defaultFolder);
    ~GSettingsScreenshotTool() override;

    QString id() const override { return QStringLiteral("gnome-screenshot"); }
    QString name() const override { return QStringLiteral("GNOME Screenshot"); }
    QString domain() const override { return QStringLiteral("org.gnome.gnome-screenshot"); }
    QString key() const override { return QStringLiteral("auto-save-directory"); }
    bool isInstalled() const override { return settings_ != nullptr; }
    QString defaultFolder() const override { return defaultFolder_; }
    StatusOr<std::optional<QString>> stored() const override;
    Status store(const QString& raw) override;
    QString rawFor(const QString& folder) const override;
    // "Screenshot from 2026-12-07 00-59-00.png", in the user's language.
    ScreenshotNaming naming() const override;

private:
    struct Unref {
        void operator()(_GSettings* settings) const;
    };
    QString defaultFolder_;
    std::unique_ptr<_GSettings, Unref> settings_;
};
