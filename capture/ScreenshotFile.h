#pragma once

#include "capture/CaptureError.h"

#include <QImage>
#include <QString>

#include <qcoro/qcorotask.h>

// Writes a capture into `folder` as a PNG named for this moment, off the GUI
// thread (encoding takes tens of milliseconds); the file's path.
QCoro::Task<CaptureResult<QString>> writeScreenshot(QImage image, QString folder);
