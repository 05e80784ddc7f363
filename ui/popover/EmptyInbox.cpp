#include "ui/popover/EmptyInbox.h"

#include "model/AppModel.h"
#include "ui/Symbols.h"
#include "ui/Theme.h"

#include <QLabel>
#include <QVBoxLayout>

EmptyInbox::EmptyInbox(AppModel& model, QWidget* parent)
    : QWidget(parent)
    , model_(model)
    , cube_(new QLabel(this))
    , title_(new QLabel(this))
    , hint_(new QLabel(tr("Capture above, or press Print Screen."), this))
{
    title_->setObjectName(QStringLiteral("secondary"));
    hint_->setObjectName(QStringLiteral("hint"));
    auto* column = new QVBoxLayout(this);
    column->setSpacing(8);
    column->addStretch(1);
    for (QLabel* label : {cube_, title_, hint_}) {
        label->setAlignment(Qt::AlignCenter);
        column->addWidget(label);
    }
    column->addStretch(1);
    connect(&model_, &AppModel::searchChanged, this, &EmptyInbox::refresh);
    refresh();
}

void EmptyInbox::refresh()
{
    const bool searching = !model_.search().isEmpty();
    title_->setText(searching ? tr("No matching files") : tr("Inbox is empty"));
    hint_->setVisible(!searching);
    cube_->setPixmap(Symbols::pixmap(QStringLiteral("cube"), Theme::faded(palette().color(QPalette::WindowText), 0.6), 28,
        devicePixelRatioF()));
}
