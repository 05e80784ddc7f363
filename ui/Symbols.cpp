#include "ui/Symbols.h"

#include <QFile>
#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QSvgRenderer>

// The symbols live in a static library, whose resources the linker leaves out
// unless someone asks for them by name; and that must happen outside any
// namespace.
static void loadSymbolResources()
{
    Q_INIT_RESOURCE(icons);
}

namespace {

QByteArray symbolSource(const QString& name)
{
    static const bool loaded = (loadSymbolResources(), true);
    Q_UNUSED(loaded);
    static QHash<QString, QByteArray> sources;
    auto found = sources.find(name);
    if (found == sources.end()) {
        QFile file(QStringLiteral(":/icons/") + name + QStringLiteral(".svg"));
        found = sources.insert(name, file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
    }
    return *found;
}

void paintSymbol(QPainter& painter, const QRectF& box, const QString& name, const QColor& color)
{
    QByteArray source = symbolSource(name);
    source.replace("currentColor", color.name(QColor::HexRgb).toLatin1());
    QSvgRenderer renderer(source);
    painter.save();
    painter.setOpacity(painter.opacity() * color.alphaF());
    renderer.render(&painter, box);
    painter.restore();
}

// Renders the symbol afresh for every size, so it stays sharp at any scale;
// a disabled icon is drawn faint.
class SymbolEngine final : public QIconEngine {
public:
    SymbolEngine(QString name, QColor color) : name_(std::move(name)), color_(color) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override
    {
        QColor color = color_;
        if (mode == QIcon::Disabled)
            color.setAlphaF(color.alphaF() * 0.35);
        const int side = std::min(rect.width(), rect.height());
        paintSymbol(*painter, QRectF(rect.x() + (rect.width() - side) / 2.0, rect.y() + (rect.height() - side) / 2.0, side, side),
            name_, color);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        paint(&painter, pixmap.rect(), mode, state);
        return pixmap;
    }

    QIconEngine* clone() const override { return new SymbolEngine(name_, color_); }

private:
    QString name_;
    QColor color_;
};

} // namespace

namespace Symbols {

QIcon icon(const QString& name, const QColor& color)
{
    return QIcon(new SymbolEngine(name, color)); // the icon owns its engine
}

QPixmap pixmap(const QString& name, const QColor& color, int size, qreal devicePixelRatio)
{
    QPixmap pixmap(QSize(size, size) * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    paintSymbol(painter, QRectF(0, 0, size, size), name, color);
    return pixmap;
}

} // namespace Symbols
