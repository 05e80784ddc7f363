#include "platform/linux/ConfigFileScreenshotTool.h"

#include "platform/FileSystem.h"
#include "platform/linux/IniText.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QUrl>

#include <cerrno>

namespace {

bool isHexDigit(QChar c)
{
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (c >= QLatin1Char('a') && c <= QLatin1Char('f'))
        || (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
}

} // namespace

ConfigFileScreenshotTool::ConfigFileScreenshotTool(Description description) : description_(std::move(description)) {}

StatusOr<QByteArray> ConfigFileScreenshotTool::readFile() const
{
    if (!FileSystem::exists(description_.configFile))
        return QByteArray();
    QFile file(description_.configFile);
    if (!file.open(QIODevice::ReadOnly))
        return Status::failure(EIO, description_.configFile + QStringLiteral(": ") + file.errorString());
    return file.readAll();
}

StatusOr<std::optional<QString>> ConfigFileScreenshotTool::stored() const
{
    const auto bytes = readFile();
    if (!bytes.ok())
        return bytes.status();
    const auto ini = IniText::parse(bytes.value());
    if (!ini)
        return Status::failure(EINVAL, description_.configFile + QStringLiteral(": not a configuration file Dropwell can read"));
    const auto value = ini->value(description_.group, description_.key);
    if (!value)
        return std::optional<QString>();
    return std::optional<QString>(description_.spelling == Spelling::QtEscapedPath ? qtUnescaped(*value)
                                                                                  : QString::fromUtf8(*value));
}

Status ConfigFileScreenshotTool::store(const QString& raw)
{
    const auto bytes = readFile();
    if (!bytes.ok())
        return bytes.status();
    auto ini = IniText::parse(bytes.value());
    if (!ini)
        return Status::failure(EINVAL, description_.configFile + QStringLiteral(": not a configuration file Dropwell can read"));
    ini->setValue(description_.group, description_.key,
        description_.spelling == Spelling::QtEscapedPath ? qtEscaped(raw) : raw.toUtf8());
    const Status made = FileSystem::makeFolders(description_.configFile.left(description_.configFile.lastIndexOf(QLatin1Char('/'))));
    if (!made.ok())
        return made;
    QSaveFile file(description_.configFile);
    const QByteArray text = ini->text();
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit())
        return Status::failure(EIO, description_.configFile + QStringLiteral(": ") + file.errorString());
    return Status::success();
}

QString ConfigFileScreenshotTool::rawFor(const QString& folder) const
{
    const QString clean = QDir::cleanPath(folder);
    switch (description_.spelling) {
    case Spelling::FileUrl:
        return QString::fromUtf8(QUrl::fromLocalFile(clean).toEncoded());
    case Spelling::FileUrlWithSlash:
        return QString::fromUtf8(QUrl::fromLocalFile(clean + QLatin1Char('/')).toEncoded());
    case Spelling::QtEscapedPath:
        return clean;
    }
    return clean;
}

ScreenshotNaming ConfigFileScreenshotTool::naming() const
{
    if (!description_.naming)
        return {};
    const auto bytes = readFile();
    const auto ini = bytes.ok() ? IniText::parse(bytes.value()) : std::nullopt;
    // A configuration Dropwell cannot read is never redirected either.
    return ini ? description_.naming(*ini) : ScreenshotNaming();
}

QByteArray ConfigFileScreenshotTool::qtEscaped(const QString& value)
{
    // Qt quotes strings it would otherwise read back as a list or a key.
    bool quoted = value.startsWith(QLatin1Char(' ')) || value.endsWith(QLatin1Char(' '));
    QByteArray out;
    bool lastWasHexEscape = false;
    for (const QChar c : value) {
        const char16_t code = c.unicode();
        const bool escapeHexDigit = lastWasHexEscape && isHexDigit(c);
        lastWasHexEscape = false;
        if (code == '\\') {
            out += "\\\\";
        } else if (code == '"') {
            out += "\\\"";
            quoted = true;
        } else if (code == '\t') {
            out += "\\t";
        } else if (code == '\n') {
            out += "\\n";
        } else if (code == '\r') {
            out += "\\r";
        } else if (code == ',' || code == ';' || code == '=') {
            out += char(code);
            quoted = true;
        } else if (code < 0x20 || code >= 0x80 || escapeHexDigit) {
            out += "\\x" + QByteArray::number(code, 16);
            lastWasHexEscape = true;
        } else {
            out += char(code);
        }
    }
    return quoted ? '"' + out + '"' : out;
}

QString ConfigFileScreenshotTool::qtUnescaped(const QByteArray& value)
{
    QByteArray text = value;
    if (text.size() >= 2 && text.startsWith('"') && text.endsWith('"'))
        text = text.mid(1, text.size() - 2);
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            // Qt 6 writes UTF-8 unescaped; Qt 5 escaped it. Both read back,
            // and so does a backslash that ends a value written by hand.
            qsizetype end = i + 1;
            while (end < text.size() && text[end] != '\\')
                ++end;
            out += QString::fromUtf8(text.mid(i, end - i));
            i = end - 1;
            continue;
        }
        const char next = text[++i];
        switch (next) {
        case 't': out += QLatin1Char('\t'); break;
        case 'n': out += QLatin1Char('\n'); break;
        case 'r': out += QLatin1Char('\r'); break;
        case 'x': {
            qsizetype end = i + 1;
            while (end < text.size() && end < i + 5 && isHexDigit(QLatin1Char(text[end])))
                ++end;
            out += QChar(char16_t(text.mid(i + 1, end - i - 1).toUInt(nullptr, 16)));
            i = end - 1;
            break;
        }
        default: out += QLatin1Char(next); break; // \\, \", \;, \,
        }
    }
    // Half a surrogate pair is no text: like malformed UTF-8, it reads as
    // U+FFFD.
    for (qsizetype i = 0; i < out.size(); ++i) {
        if (out[i].isHighSurrogate() && i + 1 < out.size() && out[i + 1].isLowSurrogate())
            ++i;
        else if (out[i].isSurrogate())
            out[i] = QChar::ReplacementCharacter;
    }
    return out;
}
