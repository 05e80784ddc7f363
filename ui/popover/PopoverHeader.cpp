#include "ui/popover/PopoverHeader.h"

#include "model/AppModel.h"
#include "ui/Symbols.h"
#include "ui/Theme.h"
#include "ui/popover/SymbolButton.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QUrl>

PopoverHeader::PopoverHeader(AppModel& model, QWidget* parent)
    : QWidget(parent)
    , model_(model)
    , pill_(new QLabel(this))
    , selectButton_(new QPushButton(this))
    , commands_(new SymbolButton(QStringLiteral("ellipsis-circle"), QString(), this))
{
    auto* cube = new QLabel(this);
    cube->setObjectName(QStringLiteral("cube"));
    auto* title = new QLabel(tr("Inbox"), this);
    title->setObjectName(QStringLiteral("headline"));
    pill_->setObjectName(QStringLiteral("pill"));
    selectButton_->setObjectName(QStringLiteral("capsule"));
    selectButton_->setCursor(Qt::PointingHandCursor);
    selectButton_->setFocusPolicy(Qt::NoFocus);
    commands_->setToolTip(tr("More"));

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(14, 11, 14, 11);
    row->setSpacing(8);
    row->addWidget(cube);
    row->addWidget(title);
    row->addWidget(pill_);
    row->addStretch(1);
    row->addWidget(selectButton_);
    row->addWidget(commands_);

    connect(selectButton_, &QPushButton::clicked, this, [this] { model_.setSelecting(!model_.isSelecting()); });
    connect(commands_, &SymbolButton::clicked, this, &PopoverHeader::showCommands);
    for (auto signal : {&AppModel::filesChanged, &AppModel::selectedIDsChanged, &AppModel::isSelectingChanged,
             &AppModel::settingsChanged})
        connect(&model_, signal, this, &PopoverHeader::refresh);
    refresh();
}

QString PopoverHeader::countText(bool selecting, int selected, int inboxCount, int tonight)
{
    if (selecting && selected > 0)
        return selected == 1 ? tr("1 selected") : tr("%1 selected").arg(selected);
    if (tonight >= 1)
        return tr("%1 | %2 tonight").arg(inboxCount).arg(tonight);
    return QString::number(inboxCount);
}

void PopoverHeader::refresh()
{
    pill_->setVisible(model_.settings().inboxBadgeEnabled);
    pill_->setText(countText(model_.isSelecting(), int(model_.selectedIDs().size()), model_.inboxCount(),
        model_.expiry().expireTonightCount()));
    selectButton_->setText(model_.isSelecting() ? tr("Done") : tr("Select"));
    selectButton_->setProperty("on", model_.isSelecting());
    selectButton_->style()->unpolish(selectButton_);
    selectButton_->style()->polish(selectButton_);
    const QColor text = palette().color(QPalette::WindowText);
    findChild<QLabel*>(QStringLiteral("cube"))->setPixmap(Symbols::pixmap(QStringLiteral("cube"), text, 16, devicePixelRatioF()));
}

void PopoverHeader::showCommands()
{
    commandsMenu()->exec(commands_->mapToGlobal(QPoint(0, commands_->height())));
}

std::unique_ptr<QMenu> PopoverHeader::commandsMenu()
{
    auto menu = std::make_unique<QMenu>(this);
    menu->addAction(tr("Open in File Manager"), this, [this] {
        QDesktopServices::openUrl(QUrl::fromLocalFile(model_.folders().inbox()));
    });
    menu->addAction(tr("Undo last expiry"), this, [this] { model_.expiry().undoLast(); })
        ->setEnabled(!model_.expiredItems().isEmpty());
    menu->addAction(tr("Pause expiry 24 hours"), this, [this] { model_.expiry().pauseFor24Hours(); });
    menu->addAction(tr("Pause until Monday"), this, [this] { model_.expiry().pauseUntilMonday(); });
    if (model_.expiry().isPaused())
        menu->addAction(tr("Resume expiry"), this, [this] { model_.expiry().resume(); });
    menu->addAction(tr("Settings..."), this, &PopoverHeader::settingsRequested);
    menu->addSeparator();
    menu->addAction(tr("Quit Dropwell"), this, &PopoverHeader::quitRequested);
    return menu;
}
