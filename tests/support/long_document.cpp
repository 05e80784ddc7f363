// A long page of numbered rows for the full-page capture tests: one window,
// "Long document", whose scroll area holds the rows LongDocument.h describes.
// Its page (the scroll area's viewport) is shown to the accessibility bus as
// a document, the way a browser shows its page. It prints "focus area" or
// "focus page" whenever the scroll area, which has the focus at first, or
// the page takes the keyboard focus.
#include "tests/support/LongDocument.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QMainWindow>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int labelInsetPixels = 12;
const char* const pageName = "page";
const char* const areaName = "area";

class Rows final : public QWidget {
public:
    Rows() { setMinimumHeight(LongDocument::defaultRows * LongDocument::rowHeight); }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPainter painter(this);
        const QRect dirty = event->rect();
        painter.fillRect(dirty, Qt::white); // below the last row
        painter.setPen(Qt::black);
        const int first = std::max(0, dirty.top() / LongDocument::rowHeight);
        const int last = std::min(LongDocument::defaultRows - 1, dirty.bottom() / LongDocument::rowHeight);
        for (int row = first; row <= last; ++row) {
            const int top = row * LongDocument::rowHeight;
            painter.fillRect(QRect(0, top, width(), LongDocument::rowHeight), LongDocument::rowColour(row));
            const QRect label(labelInsetPixels, top, LongDocument::labelWidth - labelInsetPixels, LongDocument::rowHeight);
            painter.drawText(label, Qt::AlignLeft | Qt::AlignVCenter, LongDocument::rowLabel(row));
        }
    }
};

QAccessibleInterface* pageAsDocument(const QString&, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget || widget->objectName() != QLatin1String(pageName))
        return nullptr;
    return new QAccessibleWidget(widget, QAccessible::Document);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QAccessible::installFactory(pageAsDocument);
    QMainWindow window;
    window.setWindowTitle(QString::fromLatin1(LongDocument::title));
    auto* area = new QScrollArea;
    area->setObjectName(QLatin1String(areaName));
    area->setFrameShape(QFrame::NoFrame);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setWidgetResizable(true);
    area->setWidget(new Rows);
    QWidget* page = area->viewport();
    page->setObjectName(QLatin1String(pageName));
    // The page takes the focus itself rather than handing it to the scroll
    // area, so that a test can tell the two apart.
    page->setFocusProxy(nullptr);
    page->setFocusPolicy(Qt::StrongFocus);
    window.setCentralWidget(area);
    area->setFocus();
    window.resize(LongDocument::windowSize);
    window.show();

    QObject::connect(&app, &QApplication::focusChanged, [page, area](QWidget*, QWidget* now) {
        if (now == page || now == area) {
            std::printf("focus %s\n", qPrintable(now->objectName()));
            std::fflush(stdout);
        }
    });
    return app.exec();
}
