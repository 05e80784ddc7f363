#include "ui/popover/FooterBar.h"

#include "model/AppModel.h"
#include "ui/popover/SymbolButton.h"

#include <QHBoxLayout>

#include <functional>

FooterBar::FooterBar(AppModel& model, QWidget* parent) : QWidget(parent), model_(model)
{
    struct Action {
        const char* symbol;
        const char* title;
        const char* help;
        bool destructive;
        std::function<void()> run;
    };
    // The files are read at the moment of the click.
    const Action actions[] = {
        {"keep", QT_TR_NOOP("Keep"), nullptr, false, [this] { model_.keep(model_.selectedFiles()); }},
        {"copy", QT_TR_NOOP("Copy"), QT_TR_NOOP("Ctrl+C"), false, [this] { model_.copySelected(); }},
        {"folder", QT_TR_NOOP("Move"), nullptr, false, [this] { model_.chooseMove(model_.selectedFiles()); }},
        {"eye", QT_TR_NOOP("Preview"), QT_TR_NOOP("Space"), false, [this] { model_.togglePreviewOfSelection(); }},
        {"reveal", QT_TR_NOOP("Reveal"), nullptr, false, [this] { model_.revealSelected(); }},
        {"trash", QT_TR_NOOP("Delete"), nullptr, true, [this] { model_.deleteFiles(model_.selectedFiles()); }},
    };
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(6, 8, 6, 8);
    row->setSpacing(0);
    for (const Action& action : actions) {
        auto* button = new SymbolButton(QString::fromLatin1(action.symbol), tr(action.title), this);
        button->setDestructive(action.destructive);
        button->setToolTip(tr(action.help ? action.help : action.title));
        connect(button, &SymbolButton::clicked, this, action.run);
        row->addWidget(button, 1);
        buttons_.push_back(button);
    }
    connect(&model_, &AppModel::selectedIDsChanged, this, &FooterBar::refresh);
    connect(&model_, &AppModel::filesChanged, this, &FooterBar::refresh);
    connect(&model_, &AppModel::searchChanged, this, &FooterBar::refresh);
    refresh();
}

void FooterBar::refresh()
{
    const bool any = !model_.selectedFiles().isEmpty();
    for (SymbolButton* button : buttons_)
        button->setEnabled(any);
}
