#include "ui/settings/GeneralPane.h"

#include "model/AppModel.h"
#include "ui/settings/AppearanceSwatch.h"
#include "ui/settings/ElidedLabel.h"
#include "ui/settings/SettingsCard.h"
#include "ui/settings/SettingsStyle.h"
#include "ui/settings/StartupCard.h"
#include "ui/settings/ToggleRow.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace SettingsStyle;

GeneralPane::GeneralPane(AppModel& model, Autostart* autostart, QWidget* parent) : QWidget(parent), model_(model)
{
    QVBoxLayout* layout = paneLayout(this);
    addPaneTitle(layout, tr("General"), tr("How Inbox looks and where Keep sends files."), this);
    layout->addWidget(makeAppearanceCard());

    auto* trayCard = new SettingsCard(tr("Tray"), this);
    badge_ = new ToggleRow(tr("Show inbox count"),
        tr("Shows the number on the cube in the tray, and on Inbox."), trayCard);
    badge_->setObjectName(QStringLiteral("showInboxCount"));
    trayCard->body()->addWidget(badge_);
    layout->addWidget(trayCard);
    if (autostart)
        layout->addWidget(new StartupCard(model_, *autostart, this));

    layout->addWidget(makeKeepCard());
    layout->addStretch(1);

    connect(badge_, &ToggleRow::flipped, this, [this](bool on) { model_.changeSettings([on](AppSettings& s) { s.inboxBadgeEnabled = on; }); });
    connect(&model_, &AppModel::settingsChanged, this, &GeneralPane::refresh);
    refresh();
}

QWidget* GeneralPane::makeAppearanceCard()
{
    auto* card = new SettingsCard(tr("Appearance"), this);
    auto* row = new QHBoxLayout;
    row->setSpacing(10);
    for (AppearanceMode mode : {AppearanceMode::Desktop, AppearanceMode::Black, AppearanceMode::Grey, AppearanceMode::Light}) {
        auto* swatch = new AppearanceSwatch(mode, card);
        connect(swatch, &AppearanceSwatch::clicked, this, [this, mode] { model_.changeSettings([mode](AppSettings& s) { s.appearance = mode; }); });
        swatches_.append(swatch);
        row->addWidget(swatch);
    }
    card->body()->setSpacing(12);
    card->body()->addLayout(row);
    card->body()->addWidget(
        note(tr("Following the desktop, Dropwell is black when the desktop prefers dark and light otherwise. "
                             "Grey sits between."), Text::Caption, Tone::Secondary, card));
    return card;
}

QWidget* GeneralPane::makeKeepCard()
{
    auto* card = new SettingsCard(tr("Keep"), this);
    destination_ = new QComboBox(card);
    destination_->setObjectName(QStringLiteral("keepDestination"));
    destination_->addItem(QStringLiteral("Dropwell/Kept"), QVariant::fromValue(KeepDestination::Kept));
    destination_->addItem(tr("Documents"), QVariant::fromValue(KeepDestination::Documents));
    destination_->addItem(tr("Desktop"), QVariant::fromValue(KeepDestination::Desktop));
    destination_->addItem(tr("Other…"), QVariant::fromValue(KeepDestination::Other));
    auto* destinationName = label(tr("Destination"), Text::Body, Tone::Primary, card);
    destinationName->setBuddy(destination_);
    auto* picker = new QHBoxLayout;
    picker->addWidget(destinationName);
    picker->addWidget(destination_);
    picker->addStretch(1);

    pathRow_ = new QWidget(card);
    path_ = new ElidedLabel(pathRow_);
    path_->setObjectName(QStringLiteral("keepPath"));
    path_->setFont(SettingsStyle::font(Text::CaptionMono));
    auto* choose = smallButton(tr("Choose folder…"), pathRow_);
    auto* pathLayout = new QHBoxLayout(pathRow_);
    pathLayout->setContentsMargins(0, 0, 0, 0);
    pathLayout->addWidget(path_, 1);
    pathLayout->addWidget(choose);

    card->body()->addLayout(picker);
    card->body()->addWidget(pathRow_);
    card->body()->addWidget(note(tr("Keep is one click. Files in Kept never expire."), Text::Caption, Tone::Secondary, card));

    connect(destination_, &QComboBox::activated, this,
        [this](int index) { chooseDestination(destination_->itemData(index).value<KeepDestination>()); });
    connect(choose, &QPushButton::clicked, this, [this] { chooseDestination(KeepDestination::Other); });
    return card;
}

void GeneralPane::chooseDestination(KeepDestination destination)
{
    model_.setKeepDestination(destination);
    // A cancelled folder chooser or a refused folder changes nothing in the
    // model, so nothing else would put the picker back.
    refresh();
}

void GeneralPane::refresh()
{
    const AppSettings& settings = model_.settings();
    for (AppearanceSwatch* swatch : std::as_const(swatches_))
        swatch->setSelected(swatch->mode() == settings.appearance);
    badge_->setOn(settings.inboxBadgeEnabled);
    destination_->setCurrentIndex(destination_->findData(QVariant::fromValue(settings.keepDestination)));
    pathRow_->setVisible(settings.keepDestination == KeepDestination::Other);
    path_->setText(settings.keepDestinationPath.value_or(tr("Choose a folder…")));
    path_->setToolTip(settings.keepDestinationPath.value_or(QString()));
}
