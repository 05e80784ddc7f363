#include "translations/UserLanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>

namespace {

QLocale& installedLanguage()
{
    static QLocale language(QLocale::English);
    return language;
}

// The translation `name`_<language>.qm in `folder`, installed; null when
// there is none for `locale`.
const QTranslator* install(const QLocale& locale, const QString& name, const QString& folder)
{
    auto translator = std::make_unique<QTranslator>(QCoreApplication::instance());
    if (!translator->load(locale, name, QStringLiteral("_"), folder))
        return nullptr;
    QCoreApplication::installTranslator(translator.get());
    return translator.release();
}

} // namespace

void installTranslations(const QLocale& locale)
{
    const QTranslator* own = install(locale, QStringLiteral("dropwell"), QStringLiteral(":/i18n"));
    // Qt's dialogs follow Dropwell's language, so that a language Dropwell
    // has no translation for does not leave its windows half translated.
    if (!own)
        return;
    installedLanguage() = QLocale(own->language());
    install(installedLanguage(), QStringLiteral("qtbase"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

QLocale textLanguage() { return installedLanguage(); }
