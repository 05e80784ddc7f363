#include "media/MediaModule.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QLoggingCategory>

#include <cerrno>
#include <memory>
#include <mutex>

namespace {

Q_LOGGING_CATEGORY(mediaLog, "dropwell.media", QtWarningMsg)

template <typename Table>
struct Module {
    Module(const char* name, const char* entry, int expected) : file(name), entryName(entry), version(expected) {}

    const char* file;
    const char* entryName;
    int version;
    std::mutex mutex;
    std::unique_ptr<QLibrary> library;
    const Table* table = nullptr;
    int leases = 0;
    // A module missing or broken once stays so: asking again would only
    // log the same again for every thumbnail.
    Status failure = Status::success();
};

template <typename Table>
Module<Table>& module();

// Never destroyed: a lease may end after the program's statics have.
template <>
Module<MediaModule::VideoFunctions>& module()
{
    static auto* video = new Module<MediaModule::VideoFunctions>(
        "dropwell-video.so", MediaModule::videoEntryName, MediaModule::videoVersion);
    return *video;
}

template <>
Module<MediaModule::PdfFunctions>& module()
{
    static auto* pdf = new Module<MediaModule::PdfFunctions>(
        "dropwell-pdf.so", MediaModule::pdfEntryName, MediaModule::pdfVersion);
    return *pdf;
}

template <typename Table>
Status load(Module<Table>& module)
{
    // Installed, and in the build tree, it lies next to the executable.
    const QString path = QCoreApplication::applicationDirPath() + QLatin1Char('/') + QLatin1String(module.file);
    auto library = std::make_unique<QLibrary>(path);
    using Entry = const Table* (*)();
    const auto entry = reinterpret_cast<Entry>(library->resolve(module.entryName));
    if (!entry)
        return Status::failure(ENOENT, QStringLiteral("Dropwell's media module is missing or broken: %1").arg(library->errorString()));
    const Table* functions = entry();
    if (functions->version != module.version)
        return Status::failure(ENOEXEC, QStringLiteral("Dropwell's media module %1 belongs to another version of Dropwell").arg(path));
    qCInfo(mediaLog, "Loaded %s", qPrintable(path));
    module.library = std::move(library);
    module.table = functions;
    return Status::success();
}

template <typename Table>
StatusOr<const Table*> hold()
{
    Module<Table>& held = module<Table>();
    const std::lock_guard lock(held.mutex);
    if (!held.table && held.failure.ok()) {
        held.failure = load(held);
        if (!held.failure.ok())
            qCWarning(mediaLog, "%s", qPrintable(held.failure.message()));
    }
    if (!held.failure.ok())
        return held.failure;
    ++held.leases;
    return held.table;
}

template <typename Table>
void letGo()
{
    Module<Table>& held = module<Table>();
    const std::lock_guard lock(held.mutex);
    --held.leases;
}

template <typename Table>
void unloadIfUnused()
{
    Module<Table>& held = module<Table>();
    const std::lock_guard lock(held.mutex);
    if (!held.table || held.leases > 0)
        return;
    held.table = nullptr;
    // Libraries that cannot go (those that keep thread-local state, say)
    // stay mapped; the others, and their relocated data, go.
    if (!held.library->unload())
        qCInfo(mediaLog, "%s stays loaded: %s", held.file, qPrintable(held.library->errorString()));
    else
        qCInfo(mediaLog, "Unloaded %s", held.file);
    held.library.reset();
}

} // namespace

template <typename Table>
MediaModule::Lease<Table>::~Lease()
{
    if (table_)
        letGo<Table>();
}

template class MediaModule::Lease<MediaModule::VideoFunctions>;
template class MediaModule::Lease<MediaModule::PdfFunctions>;

StatusOr<MediaModule::Lease<MediaModule::VideoFunctions>> MediaModule::video()
{
    const StatusOr<const VideoFunctions*> table = hold<VideoFunctions>();
    if (!table.ok())
        return table.status();
    return Lease<VideoFunctions>(table.value());
}

StatusOr<MediaModule::Lease<MediaModule::PdfFunctions>> MediaModule::pdf()
{
    const StatusOr<const PdfFunctions*> table = hold<PdfFunctions>();
    if (!table.ok())
        return table.status();
    return Lease<PdfFunctions>(table.value());
}

void MediaModule::unloadUnused()
{
    unloadIfUnused<VideoFunctions>();
    unloadIfUnused<PdfFunctions>();
}
