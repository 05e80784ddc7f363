#include "core/TrackedFile.h"

QString TrackedFile::name() const
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

FileSource TrackedFile::inferSource(const QString& name, FileSource hint)
{
    if (hint == FileSource::Screenshot)
        return FileSource::Screenshot;
    if (name.startsWith(QLatin1String("screenshot "), Qt::CaseInsensitive)
        || name.startsWith(QLatin1String("screen recording "), Qt::CaseInsensitive))
        return FileSource::Screenshot;
    return hint;
}
