// A long page of numbered rows for the full-page capture tests: one window,
// "Long document", whose scroll area holds the rows LongDocument.h describes.
// Its page (the scroll area's viewport) is shown to the accessibility bus as
// a document, the way a browser shows its page. Once on screen it prints
// where the page lies in the window, "page <x> <y> <width> <height>"; then
// "focus area" or "focus page" whenever the scroll area, which has the focus
// at first, or the page takes the keyboard focus.
//
//   long_document [--no-scroll] [--blank]
#include "tests/support/LongDocument.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QMainWindow>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int labelInsetPixels = 12;
const char* const pageName = "page";
const char* const areaName = "area";

class Rows final : public QWidget {
public:
    explicit Rows(int count) : count_(count) { setMinimumHeight(count * LongDocument::rowHeight); }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPainter painter(this);
        const QRect dirty = event->rect();
        painter.fillRect(dirty, Qt::white); // below the last row
        painter.setPen(Qt::black);
        const int first = std::max(0, dirty.top() / LongDocument::rowHeight);
        const int last = std::min(count_ - 1, dirty.bottom() / LongDocument::rowHeight);
        for (int row = first; row <= last; ++row) {
            const int top = row * LongDocument::rowHeight;
            painter.fillRect(QRect(0, top, width(), LongDocument::rowHeight), LongDocument::rowColour(row));
            const QRect label(labelInsetPixels, top, LongDocument::labelWidth - labelInsetPixels, LongDocument::rowHeight);
            painter.drawText(label, Qt::AlignLeft | Qt::AlignVCenter, LongDocument::rowLabel(row));
        }
    }

private:
    int count_;
};

QAccessibleInterface* pageAsDocument(const QString&, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget || widget->objectName() != QLatin1String(pageName))
        return nullptr;
    return new QAccessibleWidget(widget, QAccessible::Document);
}

void say(const QByteArray& line)
{
    std::fputs(line.constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    int rows = LongDocument::defaultRows;
    // Only as many rows as fit in the window: no scroll bar.
    if (arguments.contains(QStringLiteral("--no-scroll")))
        rows = LongDocument::windowSize.height() / LongDocument::rowHeight;
    // No rows: a window of one colour, with nothing to read.
    if (arguments.contains(QStringLiteral("--blank")))
        rows = 0;

    QAccessible::installFactory(pageAsDocument);
    QMainWindow window;
    window.setWindowTitle(QString::fromLatin1(LongDocument::title));
    auto* area = new QScrollArea;
    area->setObjectName(QLatin1String(areaName));
    area->setFrameShape(QFrame::NoFrame);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setWidgetResizable(true);
    area->setWidget(new Rows(rows));
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
        if (now == page || now == area)
            say("focus " + now->objectName().toLatin1());
    });
    QTimer::singleShot(0, page, [page, &window] {
        const QRect inWindow(page->mapTo(&window, QPoint()), page->size());
        say(QStringLiteral("page %1 %2 %3 %4")
                .arg(inWindow.x())
                .arg(inWindow.y())
                .arg(inWindow.width())
                .arg(inWindow.height())
                .toLatin1());
    });
    return app.exec();
}
