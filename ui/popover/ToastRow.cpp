#include "ui/popover/ToastRow.h"

#include "model/AppModel.h"
#include "ui/popover/SymbolButton.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

ToastRow::ToastRow(AppModel& model, QWidget* parent)
    : QWidget(parent)
    , model_(model)
    , text_(new QLabel(this))
    , quit_(new QPushButton(tr("Quit"), this))
{
    text_->setObjectName(QStringLiteral("toast"));
    text_->setWordWrap(true);
    quit_->setObjectName(QStringLiteral("small"));
    quit_->setFocusPolicy(Qt::NoFocus);
    auto* dismiss = new SymbolButton(QStringLiteral("xmark"), QString(), this);
    dismiss->setDestructive(true);
    dismiss->setSymbolSize(9);
    dismiss->setFixedSize(16, 16);
    dismiss->setToolTip(tr("Dismiss"));

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(14, 6, 14, 6);
    row->setSpacing(8);
    row->addWidget(text_, 1);
    row->addWidget(quit_);
    row->addWidget(dismiss);

    connect(dismiss, &SymbolButton::clicked, this, [this] { model_.setToast(std::nullopt); });
    connect(quit_, &QPushButton::clicked, this, &ToastRow::quitRequested);
    connect(&model_, &AppModel::toastChanged, this, &ToastRow::refresh);
    refresh();
}

void ToastRow::refresh()
{
    const QString text = model_.toast().value_or(QString());
    text_->setText(text);
    quit_->setVisible(text.contains(QStringLiteral("quit"), Qt::CaseInsensitive));
    setVisible(model_.toast().has_value());
}
