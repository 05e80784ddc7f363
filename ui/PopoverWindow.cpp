#include "ui/PopoverWindow.h"

#include "app/model/AppModel.h"
#include "ui/InboxRowText.h"
#include "ui/RelativeTime.h"

#include <QCursor>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr QSize popoverSize(380, 500);

QString headerText(int count, int soon)
{
    QString text = count == 1 ? QStringLiteral("1 file in Inbox") : QStringLiteral("%1 files in Inbox").arg(count);
    if (soon > 0)
        text += QStringLiteral(" \u00B7 %1 expire soon").arg(soon);
    return text;
}

} // namespace

PopoverWindow::PopoverWindow(AppModel& model, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , model_(model)
    , header_(new QLabel(this))
    , toastRow_(new QWidget(this))
    , toastText_(new QLabel(toastRow_))
    , list_(new QListWidget(this))
    , keepButton_(new QPushButton(QStringLiteral("Keep"), this))
    , deleteButton_(new QPushButton(QStringLiteral("Delete"), this))
    , undoButton_(new QPushButton(QStringLiteral("Undo last expiry"), this))
{
    setWindowTitle(QStringLiteral("Dropwell"));
    setFixedSize(popoverSize);

    QFont headerFont = header_->font();
    headerFont.setBold(true);
    header_->setFont(headerFont);

    auto* dismiss = new QToolButton(toastRow_);
    dismiss->setText(QStringLiteral("\u2715"));
    dismiss->setToolTip(QStringLiteral("Dismiss"));
    auto* toastLayout = new QHBoxLayout(toastRow_);
    toastLayout->setContentsMargins(0, 0, 0, 0);
    toastText_->setWordWrap(true);
    toastLayout->addWidget(toastText_, 1);
    toastLayout->addWidget(dismiss);

    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setAlternatingRowColors(false);
    list_->setWordWrap(false);
    list_->setTextElideMode(Qt::ElideMiddle);

    auto* footer = new QHBoxLayout;
    footer->addWidget(keepButton_);
    footer->addWidget(deleteButton_);
    footer->addStretch(1);
    footer->addWidget(undoButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(header_);
    layout->addWidget(toastRow_);
    layout->addWidget(list_, 1);
    layout->addLayout(footer);

    connect(dismiss, &QToolButton::clicked, this, [this] { model_.setToast(std::nullopt); });
    connect(keepButton_, &QPushButton::clicked, this, [this] { model_.keep(model_.selectedFiles()); });
    connect(deleteButton_, &QPushButton::clicked, this, [this] { model_.deleteFiles(model_.selectedFiles()); });
    connect(undoButton_, &QPushButton::clicked, this, [this] { model_.undoLastExpiry(); });
    connect(list_, &QListWidget::itemSelectionChanged, this, &PopoverWindow::syncSelectionToModel);
    connect(&model_, &AppModel::filesChanged, this, &PopoverWindow::rebuildList);
    connect(&model_, &AppModel::searchChanged, this, &PopoverWindow::rebuildList);
    connect(&model_, &AppModel::selectedIDsChanged, this, &PopoverWindow::applyModelSelection);
    connect(&model_, &AppModel::settingsChanged, this, &PopoverWindow::refreshHeader);
    connect(&model_, &AppModel::toastChanged, this, &PopoverWindow::refreshToast);
    refreshToast();
}

PopoverWindow::~PopoverWindow() = default;

void PopoverWindow::popUp(const QRect& trayIcon)
{
    const QRect anchor = trayIcon.isValid() ? trayIcon : QRect(QCursor::pos(), QSize(1, 1));
    QScreen* screen = QGuiApplication::screenAt(anchor.center());
    const QRect area = screen ? screen->availableGeometry() : QRect(QPoint(0, 0), popoverSize);
    QRect frame(QPoint(anchor.center().x() - popoverSize.width() / 2, anchor.bottom() + 1), popoverSize);
    if (anchor.center().y() > area.center().y()) // a tray at the bottom: open above it
        frame.moveBottom(anchor.top() - 1);
    frame.moveLeft(std::clamp(frame.left(), area.left(), std::max(area.left(), area.right() - frame.width())));
    frame.moveTop(std::clamp(frame.top(), area.top(), std::max(area.top(), area.bottom() - frame.height())));
    move(frame.topLeft());
    show();
    raise();
    activateWindow();
}

void PopoverWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    model_.start();
    rebuildList();
}

void PopoverWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        hide();
        return;
    }
    QWidget::keyPressEvent(event);
}

void PopoverWindow::rebuildList()
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    static const RelativeTime relative;
    const TrackedFiles rows = model_.visibleInbox();
    const QSignalBlocker blocker(list_);
    list_->clear();
    for (const TrackedFile& file : rows) {
        auto* item = new QListWidgetItem(file.name() + QLatin1Char('\n') + InboxRowText::meta(file, now, relative));
        item->setData(Qt::UserRole, file.id);
        list_->addItem(item); // the list owns the item
    }
    applyModelSelection();
}

void PopoverWindow::applyModelSelection()
{
    {
        const QSignalBlocker blocker(list_);
        for (int row = 0; row < list_->count(); ++row) {
            QListWidgetItem* item = list_->item(row);
            item->setSelected(model_.selectedIDs().contains(item->data(Qt::UserRole).toUuid()));
        }
    }
    refreshHeader();
}

void PopoverWindow::syncSelectionToModel()
{
    QSet<QUuid> ids;
    for (const QListWidgetItem* item : list_->selectedItems())
        ids.insert(item->data(Qt::UserRole).toUuid());
    model_.setSelectedIDs(ids);
    refreshHeader();
}

void PopoverWindow::refreshHeader()
{
    header_->setText(headerText(model_.inboxCount(), model_.expireTonightCount()));
    const bool anySelected = !list_->selectedItems().isEmpty();
    keepButton_->setEnabled(anySelected);
    deleteButton_->setEnabled(anySelected);
    undoButton_->setEnabled(!model_.expiredItems().isEmpty());
}

void PopoverWindow::refreshToast()
{
    toastText_->setText(model_.toast().value_or(QString()));
    toastRow_->setVisible(model_.toast().has_value());
}
