#pragma once

#include <QWidget>

class QLabel;

// A fact on one line: its name on the left, its value on the right in
// quieter, even-width figures.
class ValueRow : public QWidget {
    Q_OBJECT
public:
    ValueRow(const QString& name, const QString& value, QWidget* parent = nullptr);

    void setValue(const QString& value);
    QString value() const;

private:
    QLabel* value_;
};
