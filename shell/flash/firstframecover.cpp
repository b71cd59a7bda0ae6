#include "firstframecover.h"

#include <QEvent>
#include <QPainter>

FirstFrameCover::FirstFrameCover(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    hide();
    if (parent)
        parent->installEventFilter(this);
}

void FirstFrameCover::cover(const QImage &picture)
{
    m_picture = picture;
    m_painted = false;
    if (parentWidget())
        setGeometry(parentWidget()->rect());
    raise();
    show();
    update();
}

void FirstFrameCover::uncover()
{
    hide();
    m_picture = QImage();
}

void FirstFrameCover::paintEvent(QPaintEvent *)
{
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    // The picture is of the player's size in device pixels: drawn at its size, it maps pixel to pixel.
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect(), m_picture);
    if (!m_painted) {
        m_painted = true;
        emit painted();
    }
}

bool FirstFrameCover::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}
