#include "ui/settings/AboutPane.h"

#include "model/AppModel.h"
#include "ui/settings/SettingsCard.h"
#include "ui/settings/SettingsStyle.h"
#include "ui/settings/ValueRow.h"
#include "ui/settings/WebLink.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace SettingsStyle;

AboutPane::AboutPane(AppModel& model, QWidget* parent) : QWidget(parent), model_(model)
{
    QVBoxLayout* layout = paneLayout(this);
    addPaneTitle(layout, tr("About"), tr("Local only. Nothing leaves this computer."), this);

    auto* product = new SettingsCard(QStringLiteral("Dropwell"), this);
    product->body()->addWidget(new ValueRow(tr("Version"), QCoreApplication::applicationVersion(), product));
    auto* site = new WebLink(QStringLiteral("dropwell.org"), QUrl(QStringLiteral("https://dropwell.org")), product);
    site->setObjectName(QStringLiteral("siteLink"));
    site->setFont(SettingsStyle::font(Text::Callout));
    product->body()->addWidget(site);
    layout->addWidget(product);

    layout->addWidget(makeScreenshotLocationCard());
    layout->addStretch(1);

    connect(&model_, &AppModel::settingsChanged, this, &AboutPane::refresh);
    refresh();
}

QWidget* AboutPane::makeScreenshotLocationCard()
{
    auto* card = new SettingsCard(tr("System screenshot location"), this);
    // A line field rather than a label: a long path stays on one line and
    // can still be selected and copied whole.
    previousLocation_ = new QLineEdit(card);
    previousLocation_->setObjectName(QStringLiteral("previousLocation"));
    previousLocation_->setReadOnly(true);
    previousLocation_->setFrame(false);
    QPalette clear;
    clear.setColor(QPalette::Base, Qt::transparent);
    previousLocation_->setPalette(clear); // only the field's fill; its text follows the window
    previousLocation_->setFont(SettingsStyle::font(Text::CaptionMono));
    auto* restore = smallButton(tr("Restore previous location"), card);
    restore->setObjectName(QStringLiteral("restoreScreenshotLocation"));

    card->body()->addWidget(previousLocation_);
    card->body()->addWidget(note(
        tr("Restore here if you want Print Screen to save where it did before. Dropwell does not restore on Quit."),
        Text::Body, Tone::Primary, card));
    card->body()->addWidget(restore);

    connect(restore, &QPushButton::clicked, &model_.screenshotRedirect(), &ScreenshotRedirect::restore);
    return card;
}

void AboutPane::refresh()
{
    previousLocation_->setText(model_.settings().previousScreenshotLocation.value_or(tr("None recorded yet")));
    previousLocation_->setCursorPosition(0);
}
