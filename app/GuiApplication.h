#pragma once

#include <QApplication>

#include <memory>

// Makes the GUI application of the Dropwell that stays. Where there is no
// display (none named, or one that cannot be opened) Qt would abort the process
// after several lines of its own; this ends it instead with one line saying
// why and ExitStatus::notPossible.
std::unique_ptr<QApplication> makeGuiApplication(int& argc, char** argv);
