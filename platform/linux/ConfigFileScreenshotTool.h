#pragma once

#include "platform/ScreenshotTool.h"

#include <QByteArray>

#include <functional>

class IniText;

// A screenshot tool that keeps its folder in an INI-style configuration file
// of its own. Only the one key is ever changed; the rest of the file stays
// byte for byte, and a file that cannot be parsed is never written.
class ConfigFileScreenshotTool : public ScreenshotTool {
public:
    // How the file spells a folder.
    enum class Spelling {
        FileUrl, // "file:///home/ann/Pictures", percent-encoded
        FileUrlWithSlash, // the same with a trailing slash, as KConfig writes folders
        QtEscapedPath, // a plain path, escaped as Qt's QSettings writes strings
    };

    struct Description {
        QString id;
        QString name;
        QString configFile;
        QByteArray group; // empty for a file without group headers
        QByteArray key;
        Spelling spelling;
        QString defaultFolder;
        bool installed;
        // Reads the tool's naming from its configuration (a file that is
        // not there reads as empty); nothing names no file.
        std::function<ScreenshotNaming(const IniText&)> naming;
    };

    explicit ConfigFileScreenshotTool(Description description);

    QString id() const override { return description_.id; }
    QString name() const override { return description_.name; }
    QString domain() const override { return description_.configFile; }
    QString key() const override { return QString::fromUtf8(description_.key); }
    bool isInstalled() const override { return description_.installed; }
    QString defaultFolder() const override { return description_.defaultFolder; }
    StatusOr<std::optional<QString>> stored() const override;
    Status store(const QString& raw) override;
    QString rawFor(const QString& folder) const override;
    ScreenshotNaming naming() const override;

    // Qt's INI spelling of a string value, and back.
    static QByteArray qtEscaped(const QString& value);
    static QString qtUnescaped(const QByteArray& value);

private:
    StatusOr<QByteArray> readFile() const;

    Description description_;
};
