// File names from anywhere: a download's, a screenshot's, a user's.
#include "core/FileNames.h"
#include "fuzz/FuzzSupport.h"
#include "intake/DownloadsWatcher.h"
#include "platform/FileSystem.h"

#include <QFile>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString name = QString::fromUtf8(fuzzBytes(data, size));
    DownloadsWatcher::isIgnoredName(name);
    const auto [base, extension] = FileNames::split(name);
    const QString dotExtension = extension.isEmpty() ? QString() : QLatin1Char('.') + extension;
    FUZZ_CHECK(base + dotExtension == name && !extension.contains(QLatin1Char('.')));
    FUZZ_CHECK(name.endsWith(FileNames::lastComponent(name)) && !FileNames::lastComponent(name).contains(QLatin1Char('/')));

    // A name that is taken gets a free one the file system allows: the start
    // of the name, then the number and the extension where it fits.
    QFile taken(fuzzFolder() + QLatin1Char('/') + name);
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QChar()) || name == QStringLiteral(".")
        || name == QStringLiteral("..") || !taken.open(QIODevice::WriteOnly))
        return 0;
    const auto free = FileNames::uniqueDestination(fuzzFolder(), name);
    taken.remove();
    FUZZ_CHECK(free.ok() && FileNames::parentFolder(free.value()) == fuzzFolder());
    const QString freeName = FileNames::lastComponent(free.value());
    FUZZ_CHECK(freeName != name && QFile::encodeName(freeName).size() <= FileSystem::maxNameBytes);
    // Only the name itself is taken: the first number is free.
    const QString numbered = QStringLiteral(" (2)") + dotExtension;
    const bool keepsExtension = freeName.endsWith(numbered);
    FUZZ_CHECK(keepsExtension || freeName.endsWith(QStringLiteral(" (2)")));
    const QString start = freeName.chopped(keepsExtension ? numbered.size() : 4);
    FUZZ_CHECK(!start.isEmpty() && name.startsWith(start) && (keepsExtension || start.size() > base.size()));
    return 0;
}
