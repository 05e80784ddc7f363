#pragma once

#include <QList>
#include <QWidget>

#include <functional>

class QLabel;
class QSlider;

// A duration picked from a few fixed stops: its name and the stored value
// in words on one line, a notched slider below. A stored value that is not
// one of the stops (set by hand in the settings file) keeps its words, and
// the slider rests on the first stop until the user moves it.
class StopSlider : public QWidget {
    Q_OBJECT
public:
    using Label = std::function<QString(qint64)>;
    StopSlider(const QString& title, QList<qint64> stops, Label label, QWidget* parent = nullptr);

    // Shows the stored value; does not count as the user's choice.
    void setValue(qint64 value);
    QSlider* slider() const { return slider_; }
    QLabel* valueLabel() const { return value_; }

Q_SIGNALS:
    // The user moved the slider onto `stop`.
    void stopChosen(qint64 stop);

private:
    QList<qint64> stops_;
    Label label_;
    QLabel* value_;
    QSlider* slider_;
};
