#include "gridscope.h"

GridScope::GridScope(QPainter &painter, const QRectF &box)
    : m_painter(painter)
{
    m_painter.save();
    m_painter.translate(box.topLeft());
    m_painter.scale(box.width() / 100.0, box.height() / 100.0);
}

GridScope::~GridScope()
{
    m_painter.restore();
}

QRectF GridScope::square(const QRectF &box, qreal side)
{
    return QRectF(box.center().x() - side / 2, box.center().y() - side / 2, side, side);
}
