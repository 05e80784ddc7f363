#include "ui/settings/PaneFade.h"

#include <QEasingCurve>
#include <QPainter>
#include <QStackedWidget>
#include <QVariantAnimation>

namespace {

// The old page's picture, painted at a given opacity over the new page.
class FadingPicture : public QWidget {
public:
    FadingPicture(const QPixmap& picture, QWidget& parent) : QWidget(&parent), picture_(picture)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setGeometry(parent.rect());
    }
    void setOpacity(qreal opacity)
    {
        opacity_ = opacity;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setOpacity(opacity_);
        painter.drawPixmap(0, 0, picture_);
    }

private:
    QPixmap picture_;
    qreal opacity_ = 1.0;
};

} // namespace

PaneFade::PaneFade(QStackedWidget& stack) : QObject(&stack), stack_(stack)
{
    fade_ = new QVariantAnimation(this);
    fade_->setStartValue(1.0);
    fade_->setEndValue(0.0);
    fade_->setDuration(durationMs);
    fade_->setEasingCurve(QEasingCurve::InOutQuad);
    connect(fade_, &QVariantAnimation::finished, this, [this] { delete cover_.data(); });
}

PaneFade::~PaneFade() = default;

void PaneFade::switchTo(int index)
{
    if (index == stack_.currentIndex())
        return;
    // A fade under way ends at once: the newest choice is what shows.
    fade_->stop();
    delete cover_.data();
    QWidget* before = stack_.currentWidget();
    const QPixmap picture = stack_.isVisible() && before ? before->grab() : QPixmap();
    stack_.setCurrentIndex(index);
    if (picture.isNull())
        return;
    auto* cover = new FadingPicture(picture, stack_);
    connect(fade_, &QVariantAnimation::valueChanged, cover, [cover](const QVariant& value) { cover->setOpacity(value.toReal()); });
    cover->show();
    cover_ = cover;
    fade_->start();
}
