#pragma once

#include "ui/settings/Surface.h"

class QVBoxLayout;

// A rounded panel with a small upper-case title; the controls of one topic
// go into its body.
class SettingsCard : public Surface {
    Q_OBJECT
public:
    SettingsCard(const QString& title, QWidget* parent = nullptr);

    QVBoxLayout* body() const { return body_; }

private:
    QVBoxLayout* body_;
};
