#pragma once

#include <QObject>

// Escape pressed anywhere on the desktop, also while another application has
// the keyboard: the one key that ends a recording without reaching for the
// pointer.
class GlobalEscape : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Begins reporting through pressed(), and keeps the key from reaching
    // the application in front. False where another program holds the key;
    // nothing is reported then.
    virtual bool grab() = 0;
    // Gives the key back; safe when nothing is held.
    virtual void release() = 0;

Q_SIGNALS:
    void pressed();
};

// A desktop that gives programs no global keys: the recording bar's Stop,
// the popover and the command line end a recording there.
class UnheldEscape final : public GlobalEscape {
public:
    using GlobalEscape::GlobalEscape;

    bool grab() override { return false; }
    void release() override {}
};
