#include "platform/linux/IniText.h"

namespace {

bool isBlankOrComment(const QByteArray& trimmed)
{
    return trimmed.isEmpty() || trimmed.startsWith('#') || trimmed.startsWith(';');
}

} // namespace

std::optional<IniText> IniText::parse(const QByteArray& text)
{
    IniText ini;
    ini.endsWithNewline_ = text.isEmpty() || text.endsWith('\n');
    QList<QByteArray> lines = text.split('\n');
    if (text.endsWith('\n') || text.isEmpty())
        lines.removeLast();
    QByteArray group;
    for (const QByteArray& raw : lines) {
        Line line {raw, group, {}, 0};
        const QByteArray trimmed = raw.trimmed();
        if (isBlankOrComment(trimmed)) {
            // nothing to read
        } else if (trimmed.startsWith('[')) {
            if (!trimmed.endsWith(']'))
                return std::nullopt;
            group = trimmed.mid(1, trimmed.size() - 2);
            line.group = group;
        } else {
            const qsizetype equals = raw.indexOf('=');
            if (equals <= 0 || raw.left(equals).trimmed().isEmpty())
                return std::nullopt;
            line.key = raw.left(equals).trimmed();
            line.valueStart = equals + 1;
            while (line.valueStart < raw.size() && (raw[line.valueStart] == ' ' || raw[line.valueStart] == '\t'))
                ++line.valueStart;
        }
        ini.lines_.append(line);
    }
    return ini;
}

std::optional<qsizetype> IniText::find(const QByteArray& group, const QByteArray& key) const
{
    for (qsizetype i = 0; i < lines_.size(); ++i) {
        if (lines_[i].group == group && lines_[i].key == key)
            return i;
    }
    return std::nullopt;
}

std::optional<QByteArray> IniText::value(const QByteArray& group, const QByteArray& key) const
{
    const auto at = find(group, key);
    if (!at)
        return std::nullopt;
    return lines_[*at].text.mid(lines_[*at].valueStart).trimmed();
}

void IniText::setValue(const QByteArray& group, const QByteArray& key, const QByteArray& value)
{
    if (const auto at = find(group, key)) {
        Line& line = lines_[*at];
        // The key and its spacing stay as written, and so does a line end
        // of "\r\n".
        line.text = line.text.left(line.valueStart) + value + (line.text.endsWith('\r') ? "\r" : "");
        return;
    }
    const Line added {key + '=' + value, group, key, key.size() + 1};
    qsizetype lastOfGroup = -1;
    for (qsizetype i = 0; i < lines_.size(); ++i) {
        if (lines_[i].group == group && (group.isEmpty() || !lines_[i].key.isEmpty() || lines_[i].text.trimmed().startsWith('[')))
            lastOfGroup = i;
    }
    if (lastOfGroup >= 0 || group.isEmpty()) {
        lines_.insert(lastOfGroup + 1, added);
        return;
    }
    if (!lines_.isEmpty() && !lines_.back().text.trimmed().isEmpty())
        lines_.append(Line {{}, lines_.back().group, {}, 0});
    lines_.append(Line {'[' + group + ']', group, {}, 0});
    lines_.append(added);
}

QByteArray IniText::text() const
{
    QByteArray out;
    for (const Line& line : lines_)
        out += line.text + '\n';
    if (!endsWithNewline_ && !out.isEmpty())
        out.chop(1);
    return out;
}
