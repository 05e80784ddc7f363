#pragma once

class QLocale;

// Puts Dropwell's texts, and Qt's own in its standard dialogs, into the first
// language of `locale` that Dropwell has a translation for; without one
// everything stays English. The translators live as long as the application.
void installTranslations(const QLocale& locale);
