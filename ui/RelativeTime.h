#pragma once

#include <QDateTime>
#include <QString>

#include <unicode/uversion.h>

#include <memory>

U_NAMESPACE_BEGIN
class RelativeDateTimeFormatter;
U_NAMESPACE_END

// Times relative to now in the short style of a language:
// "2 hr. ago", "in 6 days". The largest unit that fits is used, rounded to
// the nearest whole one, so 47 hours ago is "2 days ago".
class RelativeTime {
public:
    // In the language of `locale` ("en_US"), by default that of Dropwell's texts.
    explicit RelativeTime(const QString& locale = QString());
    ~RelativeTime();
    RelativeTime(const RelativeTime&) = delete;
    RelativeTime& operator=(const RelativeTime&) = delete;

    QString format(const QDateTime& when, const QDateTime& now) const;

private:
    std::unique_ptr<icu::RelativeDateTimeFormatter> formatter_;
};
