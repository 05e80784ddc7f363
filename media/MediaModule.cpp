#include "media/MediaModule.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QLoggingCategory>

#include <cerrno>
#include <mutex>

namespace {

Q_LOGGING_CATEGORY(mediaLog, "dropwell.media", QtWarningMsg)

constexpr char moduleFile[] = "dropwell-media.so";

StatusOr<const MediaModule::Functions*> load()
{
    // Installed, and in the build tree, it lies next to the executable.
    const QString path = QCoreApplication::applicationDirPath() + QLatin1Char('/') + QLatin1String(moduleFile);
    QLibrary library(path);
    const auto entry = reinterpret_cast<MediaModule::Entry>(library.resolve(MediaModule::entryName));
    if (!entry)
        return Status::failure(ENOENT, QStringLiteral("Dropwell's media module is missing or broken: %1").arg(library.errorString()));
    const MediaModule::Functions* functions = entry();
    if (functions->version != MediaModule::version)
        return Status::failure(ENOEXEC, QStringLiteral("Dropwell's media module %1 belongs to another version of Dropwell").arg(path));
    qCInfo(mediaLog, "Loaded %s", qPrintable(path));
    return functions;
}

} // namespace

StatusOr<const MediaModule::Functions*> MediaModule::functions()
{
    static std::once_flag once;
    static StatusOr<const Functions*> loaded = Status::failure(EAGAIN, QString());
    std::call_once(once, [] {
        loaded = load();
        if (!loaded.ok())
            qCWarning(mediaLog, "%s", qPrintable(loaded.status().message()));
    });
    return loaded;
}
