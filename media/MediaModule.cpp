#include "media/MediaModule.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QLoggingCategory>

#include <cerrno>
#include <mutex>

namespace {

Q_LOGGING_CATEGORY(mediaLog, "dropwell.media", QtWarningMsg)

template <typename Table>
StatusOr<const Table*> load(const char* file, const char* entryName, int version)
{
    // Installed, and in the build tree, it lies next to the executable.
    const QString path = QCoreApplication::applicationDirPath() + QLatin1Char('/') + QLatin1String(file);
    QLibrary library(path);
    using Entry = const Table* (*)();
    const auto entry = reinterpret_cast<Entry>(library.resolve(entryName));
    if (!entry)
        return Status::failure(ENOENT, QStringLiteral("Dropwell's media module is missing or broken: %1").arg(library.errorString()));
    const Table* functions = entry();
    if (functions->version != version)
        return Status::failure(ENOEXEC, QStringLiteral("Dropwell's media module %1 belongs to another version of Dropwell").arg(path));
    qCInfo(mediaLog, "Loaded %s", qPrintable(path));
    return functions;
}

// One load per kind of table, whichever thread asks first.
template <typename Table>
StatusOr<const Table*> loadOnce(const char* file, const char* entryName, int version)
{
    static std::once_flag once;
    static StatusOr<const Table*> loaded = Status::failure(EAGAIN, QString());
    std::call_once(once, [&] {
        loaded = load<Table>(file, entryName, version);
        if (!loaded.ok())
            qCWarning(mediaLog, "%s", qPrintable(loaded.status().message()));
    });
    return loaded;
}

} // namespace

StatusOr<const MediaModule::VideoFunctions*> MediaModule::video()
{
    return loadOnce<VideoFunctions>("dropwell-video.so", videoEntryName, videoVersion);
}

StatusOr<const MediaModule::PdfFunctions*> MediaModule::pdf()
{
    return loadOnce<PdfFunctions>("dropwell-pdf.so", pdfEntryName, pdfVersion);
}
