#pragma once

#include <QByteArray>
#include <QList>

#include <optional>

// The text of an INI-style configuration file, as KDE, Qt, GLib and Xfce
// programs write it, changed one key at a time: everything else (comments,
// order, spacing, other keys) stays byte for byte.
class IniText {
public:
    // Nothing when a line is neither blank, a comment ('#' or ';'), a
    // "[group]" header nor "key=value": such a file is not ours to rewrite.
    static std::optional<IniText> parse(const QByteArray& text);

    // The raw value of `key` in `group` ("" for keys before any header),
    // without the spaces around it.
    std::optional<QByteArray> value(const QByteArray& group, const QByteArray& key) const;
    // Replaces the value where the key stands; a missing key is added at the
    // end of its group, a missing group at the end of the text.
    void setValue(const QByteArray& group, const QByteArray& key, const QByteArray& value);

    QByteArray text() const;

private:
    struct Line {
        QByteArray text;
        QByteArray group; // the group this line belongs to
        QByteArray key; // empty unless a key line
        qsizetype valueStart = 0; // offset of the value in `text`
    };
    std::optional<qsizetype> find(const QByteArray& group, const QByteArray& key) const;

    QList<Line> lines_;
    bool endsWithNewline_ = true;
};
