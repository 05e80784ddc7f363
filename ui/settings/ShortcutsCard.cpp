#include "ui/settings/ShortcutsCard.h"

#include "ui/settings/KeyCaptureButton.h"
#include "ui/settings/SettingsStyle.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace SettingsStyle;

ShortcutsCard::ShortcutsCard(const ShortcutsSetup& setup, QWidget* parent)
    : SettingsCard(tr("Keyboard shortcuts"), parent)
    , shortcuts_(setup.store)
{
    if (!shortcuts_ && setup.chosen && setup.chosen->offered()) {
        addChosen(setup.chosen);
        return;
    }
    if (!shortcuts_) {
        body()->addWidget(note(tr("Dropwell sets keys in GNOME, KDE and Xfce, and where the desktop offers shortcuts to "
                                  "programs. On this desktop, bind these commands to keys in its keyboard settings:"),
            Text::Caption, Tone::Secondary, this));
        for (const ShortcutCommand command : shortcutCommands)
            addCommandLine(command, setup.program);
        return;
    }
    addGrid();
    for (const ShortcutCommand command : shortcutCommands)
        addRow(command);
    problem_ = note(QString(), Text::Caption, Tone::Primary, this);
    problem_->setObjectName(QStringLiteral("shortcutsProblem"));
    body()->addWidget(problem_);
    auto* where = note(shortcuts_->whereKept(), Text::Caption, Tone::Secondary, this);
    where->setObjectName(QStringLiteral("shortcutsWhere"));
    body()->addWidget(where);
    refresh();
}

void ShortcutsCard::addGrid()
{
    grid_ = new QGridLayout;
    grid_->setHorizontalSpacing(8);
    grid_->setVerticalSpacing(6);
    grid_->setColumnStretch(0, 1);
    body()->addLayout(grid_);
}

void ShortcutsCard::addRow(ShortcutCommand command)
{
    const int at = grid_->rowCount();
    Row row {command, new KeyCaptureButton(this), smallButton(tr("Clear"), this)};
    const QString name = shortcutLabel(command);
    row.key->setObjectName(QStringLiteral("shortcut.") + shortcutId(command));
    row.key->setAccessibleName(name);
    row.clear->setObjectName(QStringLiteral("clearShortcut.") + shortcutId(command));
    row.clear->setAccessibleName(tr("Clear the key for %1").arg(name));
    grid_->addWidget(label(name, Text::Body, Tone::Primary, this), at, 0);
    grid_->addWidget(row.key, at, 1);
    grid_->addWidget(row.clear, at, 2);
    connect(row.key, &KeyCaptureButton::captured, this,
        [this, command](QKeyCombination key) { change(shortcuts_->set(command, key)); });
    connect(row.clear, &QPushButton::clicked, this, [this, command] { change(shortcuts_->clear(command)); });
    rows_.push_back(row);
}

void ShortcutsCard::addCommandLine(ShortcutCommand command, const QString& program)
{
    auto* row = new QHBoxLayout;
    row->addWidget(label(shortcutLabel(command), Text::Body, Tone::Primary, this), 1);
    auto* line = label(shortcutCommandLine(program, command),
        Text::CaptionMono, Tone::Secondary, this);
    line->setObjectName(QStringLiteral("commandLine.") + shortcutId(command));
    line->setTextInteractionFlags(Qt::TextSelectableByMouse);
    row->addWidget(line);
    body()->addLayout(row);
}

void ShortcutsCard::addChosen(ChosenShortcuts* chosen)
{
    chosen_ = chosen;
    addGrid();
    for (const ShortcutCommand command : shortcutCommands) {
        const int at = grid_->rowCount();
        auto* trigger = label(QString(), Text::Body, Tone::Secondary, this);
        trigger->setObjectName(QStringLiteral("trigger.") + shortcutId(command));
        grid_->addWidget(label(shortcutLabel(command), Text::Body, Tone::Primary, this), at, 0);
        grid_->addWidget(trigger, at, 1);
        triggers_.emplace_back(command, trigger);
    }
    auto* choose = smallButton(tr("Choose keys…"), this);
    choose->setObjectName(QStringLiteral("chooseShortcuts"));
    auto* row = new QHBoxLayout;
    row->addWidget(choose);
    row->addStretch(1);
    body()->addLayout(row);
    problem_ = note(QString(), Text::Caption, Tone::Primary, this);
    problem_->setObjectName(QStringLiteral("shortcutsProblem"));
    problem_->hide();
    body()->addWidget(problem_);
    // The portal has no way to take a key away but to end the session.
    auto* where = note(tr("Keys are kept by the desktop, which asks you for them; change or remove them in its settings. "
                          "They work while Dropwell runs."),
        Text::Caption, Tone::Secondary, this);
    where->setObjectName(QStringLiteral("shortcutsWhere"));
    body()->addWidget(where);
    connect(choose, &QPushButton::clicked, this, [this] {
        problem_->hide();
        chosen_->choose();
    });
    connect(chosen_, &ChosenShortcuts::changed, this, &ShortcutsCard::showChosen);
    connect(chosen_, &ChosenShortcuts::failed, this, [this](const QString& message) {
        problem_->setText(message);
        problem_->show();
    });
    showChosen();
}

void ShortcutsCard::showChosen()
{
    for (const auto& [command, trigger] : triggers_) {
        const QString words = chosen_->trigger(command);
        trigger->setText(words.isEmpty() ? tr("None") : words);
    }
}

void ShortcutsCard::showEvent(QShowEvent* event)
{
    SettingsCard::showEvent(event);
    // The desktop's own settings may have changed the keys meanwhile.
    if (shortcuts_)
        refresh();
}

void ShortcutsCard::change(const Status& changed)
{
    refresh();
    if (!changed.ok()) {
        problem_->setText(changed.message());
        problem_->show();
    }
}

void ShortcutsCard::refresh()
{
    QString problem;
    for (const Row& row : rows_) {
        const StatusOr<std::optional<QKeyCombination>> key = shortcuts_->key(row.command);
        row.key->setKey(key.ok() ? key.value() : std::optional<QKeyCombination>());
        row.clear->setVisible(!key.ok() || key.value().has_value());
        if (!key.ok() && problem.isEmpty())
            problem = key.status().message();
    }
    problem_->setText(problem);
    problem_->setVisible(!problem.isEmpty());
}
