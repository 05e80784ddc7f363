#include "core/FileNames.h"

#include "platform/FileSystem.h"

#include <QDir>
#include <QFile>

namespace FileNames {
namespace {

// Drops whole characters from the end of `base` until `base + suffix` fits.
QString fitted(QString base, const QString& suffix)
{
    while (!base.isEmpty() && QFile::encodeName(base + suffix).size() > FileSystem::maxNameBytes) {
        base.chop(1);
        if (!base.isEmpty() && base.back().isHighSurrogate())
            base.chop(1);
    }
    return base;
}

} // namespace

Split split(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot <= 0 || dot == name.size() - 1)
        return {name, {}};
    return {name.left(dot), name.mid(dot + 1)};
}

QString lastComponent(const QString& path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

QString parentFolder(const QString& path)
{
    const QString clean = QDir::cleanPath(path);
    const qsizetype slash = clean.lastIndexOf(QLatin1Char('/'));
    return slash <= 0 ? QStringLiteral("/") : clean.left(slash);
}

StatusOr<QString> uniqueDestination(const QString& folder, const QString& name)
{
    const Status made = FileSystem::makeFolders(folder);
    if (!made.ok())
        return made;
    const QString prefix = QDir::cleanPath(folder) + QLatin1Char('/');
    if (!FileSystem::exists(prefix + name))
        return QString(prefix + name);
    const auto [base, extension] = split(name);
    const QString dotExtension = extension.isEmpty() ? QString() : QLatin1Char('.') + extension;
    for (int n = 2;; ++n) {
        const QString number = QStringLiteral(" (%1)").arg(n);
        const QString shortened = fitted(base, number + dotExtension);
        // An extension that leaves no room for the base is shortened with it.
        const QString numbered = shortened.isEmpty() ? QString(fitted(name, number) + number)
                                                     : QString(shortened + number + dotExtension);
        const QString candidate = prefix + numbered;
        if (!FileSystem::exists(candidate))
            return candidate;
    }
}

} // namespace FileNames
