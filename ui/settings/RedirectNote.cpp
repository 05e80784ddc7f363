#include "ui/settings/RedirectNote.h"

#include "intake/ScreenshotSource.h"
#include "translations/UserLanguage.h"

#include <QCoreApplication>
#include <QStringList>

namespace {

QString tilde(const QString& path, const QString& home)
{
    if (path == home)
        return QStringLiteral("~");
    if (path.startsWith(home + QLatin1Char('/')))
        return QLatin1Char('~') + path.mid(home.size());
    return path;
}

} // namespace

QString redirectNote(const ScreenshotSource& source, const QString& home)
{
    const QLocale namesInLanguage = textLanguage();
    QStringList sentences;
    if (!source.tools().empty()) {
        QStringList names;
        for (const ScreenshotTool* tool : source.tools())
            names.append(tool->name());
        sentences.append(QCoreApplication::translate("RedirectNote", "Redirected on this desktop: %1.").arg(namesInLanguage.createSeparatedList(names)));
    }
    QStringList pulled;
    for (const auto& folder : {source.pulledFolder(), source.pulledRecordingsFolder()}) {
        if (folder)
            pulled.append(tilde(*folder, home));
    }
    if (!pulled.isEmpty())
        sentences.append(QCoreApplication::translate("RedirectNote", "The desktop's own screenshots are moved in from %1.").arg(namesInLanguage.createSeparatedList(pulled)));
    if (sentences.isEmpty())
        return QCoreApplication::translate("RedirectNote", "No screenshot tool Dropwell knows was found on this desktop, so its Print Screen saves stay "
                              "where it puts them. Dropwell's own captures still land in Inbox.");
    return sentences.join(QLatin1Char(' '));
}
