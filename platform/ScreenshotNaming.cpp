#include "platform/ScreenshotNaming.h"

#include <algorithm>

namespace {

using Replaced = QList<std::pair<QChar, QChar>>;

// Month and day names, AM/PM and time-zone names in the user's language.
const QString wordText = QStringLiteral("[\\p{L}\\p{M}.]+");
const QString optionalWordText = QStringLiteral("[\\p{L}\\p{M}.]*");
// Fields whose text cannot be foreseen: a window title, the locale's own date.
const QString anyText = QStringLiteral(".*?");
// The image formats the tools offer.
const QString imageExtensions = QStringLiteral("png|jpe?g|webp|bmp|tiff?|gif|ppm|avif|jxl|qoi");

// Escaped as a whole: a character beyond the BMP escaped half by half makes
// the expression invalid, and it would then name nothing.
QString literals(QString text, const Replaced& replaced)
{
    for (const auto& [from, to] : replaced)
        text.replace(from, to);
    return QRegularExpression::escape(text);
}

QString strftimeStem(const QString& pattern, const Replaced& replaced);

// One strftime conversion; nothing for one the C library leaves as written.
// `free` marks a field with a flag or width of glibc's, padded other than usual.
std::optional<QString> strftimeField(QChar conversion, bool free, const Replaced& replaced)
{
    const QString twoDigits = free ? QStringLiteral("[ 0]*\\d+") : QStringLiteral("\\d{2}");
    switch (conversion.unicode()) {
    case 'Y':
    case 'G': return free ? QStringLiteral("[ 0]*\\d+") : QStringLiteral("\\d{4}");
    case 'C':
    case 'd':
    case 'g':
    case 'H':
    case 'I':
    case 'm':
    case 'M':
    case 'S':
    case 'U':
    case 'V':
    case 'W':
    case 'y': return twoDigits;
    case 'e':
    case 'k':
    case 'l': return free ? twoDigits : QStringLiteral("[ \\d]\\d");
    case 'j': return free ? twoDigits : QStringLiteral("\\d{3}");
    case 'u':
    case 'w': return QStringLiteral("\\d");
    case 's': return QStringLiteral("-?\\d+");
    case 'z': return QStringLiteral("[+-]\\d{4}");
    case 'a':
    case 'A':
    case 'b':
    case 'B':
    case 'h':
    case 'Z': return wordText;
    case 'p':
    case 'P': return optionalWordText; // empty in many languages
    case 'c':
    case 'x':
    case 'X': return anyText;
    case 'D': return strftimeStem(QStringLiteral("%m/%d/%y"), replaced);
    case 'F': return strftimeStem(QStringLiteral("%Y-%m-%d"), replaced);
    case 'R': return strftimeStem(QStringLiteral("%H:%M"), replaced);
    case 'T': return strftimeStem(QStringLiteral("%H:%M:%S"), replaced);
    case 'r': return strftimeStem(QStringLiteral("%I:%M:%S %p"), replaced);
    case 'n': return QStringLiteral("\\n");
    case 't': return QStringLiteral("\\t");
    case '%': return literals(QStringLiteral("%"), replaced);
    default: return std::nullopt;
    }
}

QString strftimeStem(const QString& pattern, const Replaced& replaced)
{
    static const QString flags = QStringLiteral("_-0^#+");
    QString out;
    qsizetype i = 0;
    while (i < pattern.size()) {
        if (pattern[i] != QLatin1Char('%')) {
            const qsizetype percent = pattern.indexOf(QLatin1Char('%'), i);
            const qsizetype end = percent < 0 ? pattern.size() : percent;
            out += literals(pattern.mid(i, end - i), replaced);
            i = end;
            continue;
        }
        qsizetype j = i + 1;
        bool free = false;
        while (j < pattern.size() && (flags.contains(pattern[j]) || pattern[j].isDigit())) {
            free = true;
            ++j;
        }
        if (j < pattern.size() && (pattern[j] == QLatin1Char('E') || pattern[j] == QLatin1Char('O')))
            ++j; // the locale's alternative digits or era: same shape here
        const auto field = j < pattern.size() ? strftimeField(pattern[j], free, replaced) : std::nullopt;
        // What is no conversion stays as written, a whole character of it.
        const bool pair = j + 1 < pattern.size() && pattern[j].isHighSurrogate() && pattern[j + 1].isLowSurrogate();
        const qsizetype end = std::min(j + (pair ? 2 : 1), pattern.size());
        out += field ? *field : literals(pattern.mid(i, end - i), replaced);
        i = end;
    }
    return out;
}

QString percentFieldsStem(const QString& pattern)
{
    QString out;
    qsizetype done = 0; // where the text not yet written starts
    for (qsizetype i = 0; i + 1 < pattern.size(); ++i) {
        const QChar next = pattern[i + 1];
        if (pattern[i] == QLatin1Char('%') && QStringLiteral("YyMDHmST").contains(next)) {
            out += QRegularExpression::escape(pattern.mid(done, i - done));
            out += next == QLatin1Char('Y') ? QStringLiteral("\\d{4}")
                : next == QLatin1Char('T')  ? anyText
                                            : QStringLiteral("\\d{2}");
            ++i; // the field's letter
            done = i + 1;
        }
    }
    return out + QRegularExpression::escape(pattern.mid(done));
}

// A run of one Qt date-time format letter: "yyyy", "MM", "ddd", "AP".
QString dateTimeRun(QChar letter, qsizetype count)
{
    const char16_t c = letter.unicode();
    if (c == 'a' || c == 'A' || c == 'p' || c == 'P' || c == 't')
        return wordText;
    if ((c == 'M' || c == 'd') && count >= 3)
        return wordText;
    if (c == 'y')
        return count >= 4 ? QStringLiteral("-?\\d{4,}") : QStringLiteral("\\d{2}");
    if (c == 'z')
        return QStringLiteral("\\d{1,3}");
    return count == 1 ? QStringLiteral("\\d{1,2}") : QStringLiteral("\\d{%1}").arg(count);
}

QString angleFieldsStem(const QString& pattern)
{
    static const QRegularExpression field(QStringLiteral("<([^<>]*)>"));
    static const QRegularExpression dateTime(QStringLiteral("^[yMdhHmszapAPt]+$"));
    QString out;
    qsizetype done = 0;
    for (auto it = field.globalMatch(pattern); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        out += QRegularExpression::escape(pattern.mid(done, match.capturedStart() - done));
        const QString inside = match.captured(1);
        if (dateTime.match(inside).hasMatch()) {
            for (qsizetype i = 0; i < inside.size();) {
                qsizetype run = i;
                while (run < inside.size() && inside[run] == inside[i])
                    ++run;
                out += dateTimeRun(inside[i], run - i);
                i = run;
            }
        } else {
            out += anyText;
        }
        done = match.capturedEnd();
    }
    return out + QRegularExpression::escape(pattern.mid(done));
}

} // namespace

ScreenshotNaming::ScreenshotNaming(const QString& stem, const QString& counterSeparator)
    : expression_(std::in_place, QRegularExpression::anchoredPattern(QStringLiteral("(?:%1)(?:%2\\d+)?\\.(?:%3)")
                                                          .arg(stem, QRegularExpression::escape(counterSeparator),
                                                              imageExtensions)),
          QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption)
{
    // A template past what the expression engine can hold names nothing,
    // as an unreadable configuration does.
    if (!expression_->isValid())
        expression_.reset();
}

ScreenshotNaming ScreenshotNaming::strftime(const QString& pattern, const QString& counterSeparator, const Replaced& replaced)
{
    return {strftimeStem(pattern, replaced), counterSeparator};
}

ScreenshotNaming ScreenshotNaming::percentFields(const QString& pattern, const QString& counterSeparator)
{
    // Without a window to name, the title goes together with the separator
    // beside it: "Screenshot_%T_%Y" then reads "Screenshot_%Y".
    static const QRegularExpression titleWithSeparator(
        QStringLiteral("([^\\p{L}\\p{M}\\p{N}]+%T|%T[^\\p{L}\\p{M}\\p{N}]+)"), QRegularExpression::UseUnicodePropertiesOption);
    const QString withoutTitle = QString(pattern).replace(titleWithSeparator, QString());
    return {QStringLiteral("%1|%2").arg(percentFieldsStem(pattern), percentFieldsStem(withoutTitle)), counterSeparator};
}

ScreenshotNaming ScreenshotNaming::angleFields(const QString& pattern, const QString& counterSeparator)
{
    return {angleFieldsStem(pattern), counterSeparator};
}

bool ScreenshotNaming::matches(const QString& fileName) const
{
    return expression_ && expression_->match(fileName).hasMatch();
}

void ScreenshotNames::add(ScreenshotNaming naming)
{
    if (!naming.isEmpty())
        namings_.push_back(std::move(naming));
}

bool ScreenshotNames::matches(const QString& fileName) const
{
    return std::any_of(namings_.begin(), namings_.end(), [&](const ScreenshotNaming& naming) { return naming.matches(fileName); });
}
