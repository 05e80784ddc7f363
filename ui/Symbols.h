#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QString>

// Dropwell's own monochrome symbols (ui/icons/*.svg), drawn in any colour at
// any size, so the interface looks the same whatever icon theme the desktop
// has, or none.
namespace Symbols {

// `name` is the file name without ".svg": "trash", "eye", "cube"...
QIcon icon(const QString& name, const QColor& color);
QPixmap pixmap(const QString& name, const QColor& color, int size, qreal devicePixelRatio);

} // namespace Symbols
