#include "capture/ScreenshotFile.h"

#include "capture/CaptureNaming.h"
#include "capture/PngEncoder.h"
#include "core/FileNames.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QtConcurrent/QtConcurrentRun>

#include <qcoro/qcorofuture.h>

#include <cerrno>

namespace {

CaptureResult<QString> writeFree(const QImage& image, const QString& folder, const QString& name)
{
    // The encoder never replaces a file: if another capture took the name
    // meanwhile, the next free one is used.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const auto destination = FileNames::uniqueDestination(folder, name);
        if (!destination.ok())
            return CaptureError::failed(destination.status().message());
        const Status written = PngEncoder::write(image, destination.value());
        if (written.ok())
            return destination.value();
        if (written.code() != EEXIST)
            break;
    }
    return CaptureError::failed(QCoreApplication::translate("ScreenshotFile", "Couldn't write the screenshot."));
}

} // namespace

QCoro::Task<CaptureResult<QString>> writeScreenshot(QImage image, QString folder)
{
    const QString name = CaptureNaming::screenshotName(QDateTime::currentDateTime());
    // Every awaited thing is a named local: GCC 12 destroys temporaries of a
    // co_await expression twice.
    QFuture<CaptureResult<QString>> encoding =
        QtConcurrent::run([image, folder, name] { return writeFree(image, folder, name); });
    co_return co_await encoding;
}
