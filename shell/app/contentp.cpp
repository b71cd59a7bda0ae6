#include "contentp.h"

#include <QResizeEvent>

static constexpr int kExtraWidth = 4;
static constexpr int kExtraHeight = 38;

ContentP::ContentP(QWidget *child, QWidget *parent)
    : QWidget(parent)
    , m_child(child)
{
    m_child->setParent(this);
}

QRect ContentP::childGeometry(const QSize &size)
{
    QSize fitted(565, 416);
    fitted.scale(size.width() - kExtraWidth, size.height() - kExtraHeight, Qt::KeepAspectRatio);
    fitted += QSize(kExtraWidth, kExtraHeight);
    QRect rect(QPoint(0, 0), fitted);
    rect.moveCenter(QPoint((size.width() - 1) / 2, (size.height() - 1) / 2));
    return rect;
}

void ContentP::resizeEvent(QResizeEvent *event)
{
    m_child->setGeometry(childGeometry(event->size()));
    QWidget::resizeEvent(event);
}
