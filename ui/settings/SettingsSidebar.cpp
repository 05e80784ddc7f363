#include "ui/settings/SettingsSidebar.h"

#include "ui/settings/SidebarButton.h"

#include <QVBoxLayout>

namespace {

constexpr int sidebarWidth = 168;

} // namespace

SettingsSidebar::SettingsSidebar(QWidget* parent) : Surface(Kind::Sidebar, parent), buttons_(new QVBoxLayout)
{
    setObjectName(QStringLiteral("sidebar"));
    setFixedWidth(sidebarWidth);
    buttons_->setSpacing(4);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->addLayout(buttons_);
    layout->addStretch(1);
}

void SettingsSidebar::addPane(const QString& symbol, const QString& title)
{
    auto* button = new SidebarButton(symbol, title, this);
    const int index = count_++;
    button->setChecked(index == 0);
    buttons_->addWidget(button);
    connect(button, &SidebarButton::clicked, this, [this, index] { Q_EMIT paneChosen(index); });
}
