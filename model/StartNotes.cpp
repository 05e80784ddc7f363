#include "model/StartNotes.h"

#include "core/FileNames.h"

void StartNotes::keepAside(const QString& what, Persistence::LoadState state, const QString& path, const QString& instead)
{
    const auto keptAs = persistence_.keepAside(path);
    const QString problem = state == Persistence::LoadState::TooLarge
        ? tr("Dropwell's %1 file was too large to read").arg(what)
        : tr("Dropwell could not read its %1 file").arg(what);
    const QString kept = keptAs ? tr("the file is kept as %1.").arg(FileNames::lastComponent(*keptAs))
                                : tr("the file could not be kept aside.");
    notes_.append(QStringLiteral("%1, %2; %3").arg(problem, instead, kept));
}

std::optional<QString> StartNotes::take()
{
    if (notes_.isEmpty())
        return std::nullopt;
    const QString message = notes_.join(QLatin1Char(' '));
    notes_.clear();
    return message;
}
