#pragma once

#include <QList>
#include <QRegularExpression>
#include <QString>

#include <optional>
#include <utility>
#include <vector>

// How a screenshot tool names the files it saves, as a test of a file name:
// the tool's name template with the moment filled in, an optional counter the
// tool adds to keep a name free, and an image extension.
class ScreenshotNaming {
public:
    ScreenshotNaming() = default; // names nothing

    // The template of a name without its extension, in one of the forms the
    // tools use. `counterSeparator` stands between the name and the number a
    // tool adds when the name is taken ("_" for "name_2.png").
    //
    // strftime(3) conversions ("%F_%H-%M"); `replaced` lists characters the
    // tool swaps in the expanded name (':' written as '-').
    static ScreenshotNaming strftime(const QString& pattern, const QString& counterSeparator,
        const QList<std::pair<QChar, QChar>>& replaced = {});
    // Letter fields after a percent sign: %Y %y %M %D %H %m %S, and %T for a
    // window title.
    static ScreenshotNaming percentFields(const QString& pattern, const QString& counterSeparator);
    // Fields in angle brackets: Qt date and time formats ("<yyyy><MM>") and
    // named fields ("<title>") that stand for any text.
    static ScreenshotNaming angleFields(const QString& pattern, const QString& counterSeparator);

    bool isEmpty() const { return !expression_; }
    bool matches(const QString& fileName) const;

private:
    ScreenshotNaming(const QString& stem, const QString& counterSeparator);

    std::optional<QRegularExpression> expression_;
};

// The namings of several tools: a name is a screenshot's when any of them
// names it.
class ScreenshotNames {
public:
    void add(ScreenshotNaming naming);
    bool matches(const QString& fileName) const;
    bool isEmpty() const { return namings_.empty(); }

private:
    std::vector<ScreenshotNaming> namings_;
};
