#pragma once

#include <QLocale>

// Puts Dropwell's texts, and Qt's own in its standard dialogs, into the first
// language of `locale` that Dropwell has a translation for; without one
// everything stays English. The translators live as long as the application.
void installTranslations(const QLocale& locale);

// The language Dropwell's texts are in: the installed translation's, else
// English. What is put into those texts in words of the language (relative
// times, lists of names) uses it, so that it matches the words around it.
QLocale textLanguage();
