#include "ui/PreviewPages.h"

#include "ui/Symbols.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QLocale>
#include <QMimeType>
#include <QPainter>
#include <QStringDecoder>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr qint64 textPreviewBytes = 256 * 1024;
constexpr int factsSymbolSize = 96;

// Control characters that text does not hold, though they are valid UTF-8;
// escape stays allowed for logs coloured by terminal codes.
bool isBinaryByte(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r' && byte != '\f' && byte != 0x1b;
}

QString symbolFor(const QMimeType& type)
{
    if (type.name().startsWith(QLatin1String("video/")))
        return QStringLiteral("video");
    if (type.name().startsWith(QLatin1String("image/")))
        return QStringLiteral("camera"); // a picture format Qt cannot read, such as a camera's raw files
    return QStringLiteral("doc");
}

// The shared MIME database writes its descriptions in lower case ("plain text document").
QString kindText(const QMimeType& type)
{
    QString kind = type.comment();
    if (type.isDefault() || kind.isEmpty())
        return QString();
    kind[0] = kind.at(0).toUpper();
    return kind;
}

} // namespace

namespace PreviewContent {

bool isVideo(const QFileInfo& file)
{
    static const QStringList suffixes {QStringLiteral("mp4"), QStringLiteral("mov"), QStringLiteral("m4v"),
        QStringLiteral("webm"), QStringLiteral("mkv")};
    return suffixes.contains(file.suffix(), Qt::CaseInsensitive);
}

QImage readImage(const QString& path)
{
    QImageReader reader(path);
    reader.setAutoTransform(true); // cameras store upright photos sideways, with an orientation tag
    return reader.read();
}

std::optional<QString> readText(const QString& path, const QMimeType& type)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray head = file.read(textPreviewBytes);
    const bool declaredText = type.name().startsWith(QLatin1String("text/")) || type.inherits(QStringLiteral("text/plain"));
    if (!declaredText && (head.isEmpty() || file.size() > textPreviewBytes || std::any_of(head.begin(), head.end(), isBinaryByte)))
        return std::nullopt;
    // Text cut off at the limit may end inside a character; a stateful
    // decoder holds those bytes back instead of calling them an error.
    QStringDecoder utf8(QStringDecoder::Utf8, declaredText ? QStringConverter::Flag::Default : QStringConverter::Flag::Stateless);
    QString text = utf8.decode(head);
    if (utf8.hasError() && !declaredText)
        return std::nullopt;
    return text;
}

} // namespace PreviewContent

ImageView::ImageView(QWidget* parent)
    : QWidget(parent)
{
}

void ImageView::setImage(QImage image)
{
    image_ = std::move(image);
    fitted_ = QPixmap();
    update();
}

void ImageView::paintEvent(QPaintEvent*)
{
    if (image_.isNull())
        return;
    // Worked out in device pixels, so on a fractional scale the picture still
    // starts on a whole pixel and a small one is drawn one to one.
    const qreal ratio = devicePixelRatioF();
    const QSize room = (QSizeF(size()) * ratio).toSize();
    QSize shown = image_.size();
    if (shown.width() > room.width() || shown.height() > room.height())
        shown = shown.scaled(room, Qt::KeepAspectRatio);
    if (shown.isEmpty())
        return;
    if (fitted_.size() != shown || fitted_.devicePixelRatio() != ratio) {
        fitted_ = QPixmap::fromImage(shown == image_.size() ? image_ : image_.scaled(shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        fitted_.setDevicePixelRatio(ratio);
    }
    const QPoint offset((room.width() - shown.width()) / 2, (room.height() - shown.height()) / 2);
    QPainter(this).drawPixmap(QPointF(offset) / ratio, fitted_);
}

FileFactsView::FileFactsView(QWidget* parent)
    : QWidget(parent)
    , symbol_(new QLabel(this))
    , name_(new QLabel(this))
    , kindAndSize_(new QLabel(this))
    , modified_(new QLabel(this))
    , note_(new QLabel(this))
{
    QFont nameFont = name_->font();
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.3);
    nameFont.setWeight(QFont::DemiBold);
    name_->setFont(nameFont);
    name_->setWordWrap(true);
    // A long name wraps inside the window instead of widening it.
    name_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    name_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(6);
    layout->addStretch(1);
    note_->setWordWrap(true);
    note_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    for (QLabel* label : {symbol_, name_, kindAndSize_, modified_, note_}) {
        label->setAlignment(Qt::AlignHCenter);
        layout->addWidget(label);
    }
    layout->insertSpacing(2, 12);
    kindAndSize_->setObjectName(QStringLiteral("factsDetail"));
    modified_->setObjectName(QStringLiteral("factsDetail"));
    note_->setObjectName(QStringLiteral("factsNote"));
    layout->addStretch(1);
}

void FileFactsView::setFile(const QFileInfo& file, const QMimeType& type, const QString& note)
{
    note_->setText(note);
    note_->setVisible(!note.isEmpty());
    symbolName_ = symbolFor(type);
    refreshSymbol();
    name_->setText(file.fileName());
    const QString size = QLocale().formattedDataSize(file.size());
    const QString kind = kindText(type);
    kindAndSize_->setText(kind.isEmpty() ? size : kind + QStringLiteral(" \u00B7 ") + size);
    const QDateTime changed = file.lastModified();
    modified_->setText(tr("Modified %1, %2")
                           .arg(QLocale().toString(changed.date(), QLocale::LongFormat),
                               QLocale().toString(changed.time(), QLocale::ShortFormat)));
}

void FileFactsView::setSymbolColor(const QColor& color)
{
    symbolColor_ = color;
    refreshSymbol();
}

void FileFactsView::refreshSymbol()
{
    if (!symbolName_.isEmpty())
        symbol_->setPixmap(Symbols::pixmap(symbolName_, symbolColor_, factsSymbolSize, devicePixelRatioF()));
}
