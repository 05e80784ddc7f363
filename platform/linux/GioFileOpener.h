#pragma once

#include "platform/FileOpener.h"

// The desktop's programs as GIO knows them: desktop entries in the XDG data
// folders, defaults from mimeapps.list, the file's type from the shared MIME
// database.
class GioFileOpener final : public FileOpener {
public:
    QList<OpeningApplication> applicationsFor(const QString& path) const override;
    Status open(const QString& path, const QString& applicationId) override;
};
