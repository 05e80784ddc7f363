#pragma once

#include <QKeyCombination>
#include <QString>

#include <optional>

// Keys as GNOME and Xfce keep them: GTK's accelerator names ("<Primary><Shift>p",
// "Print", "<Super>F12"). Modifiers are read in any of their spellings.

// Nothing for a key that has no name here.
std::optional<QKeyCombination> keyFromAccelerator(const QString& accelerator);
// Empty for a key that has no name here.
QString acceleratorFor(QKeyCombination key);
