#include "platform/linux/XfconfXmlFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QXmlStreamReader>

#include <cerrno>
#include <vector>

namespace {

// One element of the file, with where its parts are in the text.
struct Element {
    QString path; // empty for the channel
    QString type;
    QString value;
    int depth = 0; // 0 for the channel
    qsizetype start = 0; // the start tag's '<'
    qsizetype tagEnd = 0; // after the start tag
    qsizetype close = -1; // the end tag's '<'; -1 where the element closes itself
    qsizetype end = 0; // after the element
    qsizetype lastChildEnd = -1;
};

QString indent(int depth) { return QString(2 * depth, QLatin1Char(' ')); }

QString parentOf(const QString& property) { return property.left(property.lastIndexOf(QLatin1Char('/'))); }

QString nameOf(const QString& property) { return property.mid(property.lastIndexOf(QLatin1Char('/')) + 1); }

QString propertyElement(const QString& property, const QString& type, const std::optional<QString>& value = {})
{
    QString element = QStringLiteral("<property name=\"%1\" type=\"%2\"").arg(nameOf(property).toHtmlEscaped(), type);
    if (value)
        element += QStringLiteral(" value=\"%1\"").arg(value->toHtmlEscaped());
    return element + QStringLiteral("/>");
}

const Element* find(const std::vector<Element>& elements, const QString& path)
{
    for (const Element& element : elements) {
        if (element.path == path)
            return &element;
    }
    return nullptr;
}

struct Parsed {
    std::vector<Element> elements;
};

// The channel's elements, or why the text is not that channel's file.
StatusOr<Parsed> parse(const QString& text, const QString& path, const QString& channel)
{
    QXmlStreamReader reader(text);
    Parsed parsed;
    std::vector<size_t> open;
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        const qsizetype offset = reader.characterOffset();
        if (token == QXmlStreamReader::StartElement) {
            const QXmlStreamAttributes attributes = reader.attributes();
            const bool isChannel = open.empty() && reader.name() == QLatin1String("channel")
                && attributes.value(QLatin1String("name")) == channel;
            if (!isChannel && (open.empty() || reader.name() != QLatin1String("property")))
                break;
            Element element;
            if (!open.empty())
                element.path = parsed.elements[open.back()].path + QLatin1Char('/') + attributes.value(QLatin1String("name"));
            element.type = attributes.value(QLatin1String("type")).toString();
            element.value = attributes.value(QLatin1String("value")).toString();
            element.depth = int(open.size());
            // The reader's offsets tell where tokens end, not where they
            // begin; no '<' can stand inside a tag.
            element.start = text.lastIndexOf(QLatin1Char('<'), offset - 1);
            element.tagEnd = offset;
            open.push_back(parsed.elements.size());
            parsed.elements.push_back(element);
        } else if (token == QXmlStreamReader::EndElement) {
            Element& element = parsed.elements[open.back()];
            open.pop_back();
            if (offset != element.tagEnd)
                element.close = text.lastIndexOf(QLatin1Char('<'), offset - 1);
            element.end = offset;
            if (!open.empty())
                parsed.elements[open.back()].lastChildEnd = offset;
        }
    }
    if (reader.hasError() || parsed.elements.empty() || !open.empty())
        return Status::failure(EINVAL,
            QCoreApplication::translate("XfconfXmlFile", "%1 is not a settings file of Xfce's (line %2); it was left as it is.")
                .arg(path)
                .arg(reader.lineNumber()));
    return parsed;
}

// The file's text and its elements; a channel with nothing in it where there
// is no file yet.
struct Document {
    QString text;
    std::vector<Element> elements;
};

StatusOr<Document> readDocument(const QString& path, const QString& channel)
{
    QString text = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n\n<channel name=\"%1\" version=\"1.0\">\n</channel>\n")
                       .arg(channel);
    QFile file(path);
    if (file.exists()) {
        if (!file.open(QIODevice::ReadOnly))
            return Status::failure(EACCES, QCoreApplication::translate("XfconfXmlFile", "Couldn't read %1.").arg(path));
        text = QString::fromUtf8(file.readAll());
    }
    const StatusOr<Parsed> parsed = parse(text, path, channel);
    if (!parsed.ok())
        return parsed.status();
    return Document {text, parsed.value().elements};
}

} // namespace

XfconfXmlFile::XfconfXmlFile(QString path, QString channel)
    : path_(std::move(path))
    , channel_(std::move(channel))
{
}

Status XfconfXmlFile::write(const QString& text) const
{
    if (!QDir().mkpath(QFileInfo(path_).path()))
        return Status::failure(EACCES, QCoreApplication::translate("XfconfXmlFile", "Couldn't create %1.").arg(QFileInfo(path_).path()));
    const QByteArray bytes = text.toUtf8();
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return Status::failure(EIO, QCoreApplication::translate("XfconfXmlFile", "Couldn't write %1.").arg(path_));
    return Status::success();
}

StatusOr<QMap<QString, QString>> XfconfXmlFile::strings(const QString& base) const
{
    const StatusOr<Document> document = readDocument(path_, channel_);
    if (!document.ok())
        return document.status();
    QMap<QString, QString> strings;
    for (const Element& element : document.value().elements) {
        if (element.type == QLatin1String("string") && !element.path.isEmpty() && parentOf(element.path) == base)
            strings.insert(nameOf(element.path), element.value);
    }
    return strings;
}

Status XfconfXmlFile::insert(QString& text, const QString& property, const QString& element) const
{
    StatusOr<Parsed> parsed = parse(text, path_, channel_);
    if (!parsed.ok())
        return parsed.status();
    const QString parentPath = parentOf(property);
    if (!find(parsed.value().elements, parentPath)) {
        if (const Status added = addEmpty(text, parentPath); !added.ok())
            return added;
        parsed = parse(text, path_, channel_);
    }
    const Element& parent = *find(parsed.value().elements, parentPath);
    const QString line = QLatin1Char('\n') + indent(parent.depth + 1) + element;
    if (parent.close >= 0) {
        text.insert(parent.lastChildEnd >= 0 ? parent.lastChildEnd : parent.tagEnd, line);
        return Status::success();
    }
    // A parent that closes itself opens up to take the child.
    QString startTag = text.mid(parent.start, parent.tagEnd - parent.start);
    startTag.chop(2);
    startTag = startTag.trimmed() + QLatin1Char('>');
    text.replace(parent.start, parent.end - parent.start,
        startTag + line + QLatin1Char('\n') + indent(parent.depth) + QStringLiteral("</property>"));
    return Status::success();
}

Status XfconfXmlFile::addEmpty(QString& text, const QString& property) const
{
    return insert(text, property, propertyElement(property, QStringLiteral("empty")));
}

Status XfconfXmlFile::setString(const QString& property, const QString& value)
{
    const StatusOr<Document> document = readDocument(path_, channel_);
    if (!document.ok())
        return document.status();
    QString text = document.value().text;
    const QString element = propertyElement(property, QStringLiteral("string"), value);
    if (const Element* found = find(document.value().elements, property)) {
        // Whatever lies under it (startup-notify) stays.
        if (found->close < 0)
            text.replace(found->start, found->end - found->start, element);
        else
            text.replace(found->start, found->tagEnd - found->start, element.chopped(2) + QLatin1Char('>'));
    } else if (const Status inserted = insert(text, property, element); !inserted.ok()) {
        return inserted;
    }
    return write(text);
}

Status XfconfXmlFile::reset(const QString& property)
{
    if (!QFile::exists(path_))
        return Status::success();
    const StatusOr<Document> document = readDocument(path_, channel_);
    if (!document.ok())
        return document.status();
    QString text = document.value().text;
    const Element* found = find(document.value().elements, property);
    if (!found)
        return Status::success();
    // Its line goes with it.
    qsizetype from = found->start;
    while (from > 0 && (text.at(from - 1) == QLatin1Char(' ') || text.at(from - 1) == QLatin1Char('\t')))
        --from;
    if (from > 0 && text.at(from - 1) == QLatin1Char('\n'))
        --from;
    text.remove(from, found->end - from);
    return write(text);
}
