// A screenshot tool's own configuration file as Dropwell reads it, points the
// tool at a folder and restores what was there. The first line doubles as the
// folder.
#include "fuzz/FuzzSupport.h"
#include "platform/linux/ConfigFileScreenshotTool.h"
#include "platform/linux/IniText.h"
#include "platform/linux/ToolNamings.h"

#include <QDir>
#include <QFile>

namespace {

using Description = ConfigFileScreenshotTool::Description;
using Spelling = ConfigFileScreenshotTool::Spelling;

// The tools Dropwell knows, as it describes them, reading `config`.
QList<Description> tools(const QString& config)
{
    const QString home = QStringLiteral("/home/ann");
    return {
        {QStringLiteral("flameshot"), {}, config, "General", "savePath", Spelling::QtEscapedPath, home, true, flameshotNaming},
        {QStringLiteral("spectacle"), {}, config, "Save", "defaultSaveLocation", Spelling::FileUrlWithSlash, home, true,
            [](const IniText& ini) { return spectacleNaming(ini, false); }},
        {QStringLiteral("spectacle"), {}, config, "ImageSave", "imageSaveLocation", Spelling::FileUrlWithSlash, home, true,
            [](const IniText& ini) { return spectacleNaming(ini, true); }},
        {QStringLiteral("xfce4-screenshooter"), {}, config, "", "screenshot_dir", Spelling::FileUrl, home, true,
            xfceScreenshooterNaming},
    };
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size());
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString config = fuzzFolder() + QStringLiteral("/config");
    const QByteArray text = fuzzBytes(data, size);
    const QString target = QString::fromUtf8(text.left(text.indexOf('\n')));
    const bool readable = IniText::parse(text).has_value();
    for (const Description& description : tools(config)) {
        writeFile(config, text);
        ConfigFileScreenshotTool tool(description);
        tool.naming().matches(target + QStringLiteral(".png"));
        const auto previous = tool.stored();
        const QString raw = tool.rawFor(target);
        FUZZ_CHECK(previous.ok() == readable && tool.store(raw).ok() == readable);
        if (!readable) {
            FUZZ_CHECK(readFile(config) == text);
            continue;
        }
        FUZZ_CHECK(tool.stored().value() == raw);
        // Dropwell sees that it pointed the tool at the folder.
        if (target.startsWith(QLatin1Char('/')) && target == target.trimmed())
            FUZZ_CHECK(folderNamedBy(raw) == QDir::cleanPath(target));
        if (previous.value()) {
            FUZZ_CHECK(tool.store(*previous.value()).ok());
            FUZZ_CHECK(tool.stored().value() == previous.value());
        }
    }
    return 0;
}
