#pragma once

#include <QObject>
#include <QPointer>

class QStackedWidget;
class QVariantAnimation;
class QWidget;

// Changes a stack's page with a short cross-fade: a picture of the page that
// was shown fades out over the new one, easing in and out. The new page is
// current at once, so keys, focus and tests never wait for the fade.
class PaneFade : public QObject {
    Q_OBJECT
public:
    explicit PaneFade(QStackedWidget& stack);
    ~PaneFade() override;

    void switchTo(int index);

    static constexpr int durationMs = 180;

private:
    QStackedWidget& stack_;
    QPointer<QWidget> cover_;
    QVariantAnimation* fade_ = nullptr;
};
