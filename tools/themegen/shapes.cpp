#include "shapes.h"

#include <QPainterPathStroker>
#include <QtMath>

QPainterPath Shapes::rounded(const QRectF &box, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(box, radius, radius);
    return path;
}

QPainterPath Shapes::ellipse(const QRectF &box)
{
    QPainterPath path;
    path.addEllipse(box);
    return path;
}

QPainterPath Shapes::star(QPointF centre, qreal outer, qreal inner, int points)
{
    QPainterPath path;
    for (int i = 0; i < points * 2; ++i) {
        const qreal radius = (i % 2) ? inner : outer;
        const qreal angle = -M_PI / 2 + i * M_PI / points;
        const QPointF corner = centre + QPointF(std::cos(angle), std::sin(angle)) * radius;
        if (i == 0)
            path.moveTo(corner);
        else
            path.lineTo(corner);
    }
    path.closeSubpath();
    return path;
}

QPainterPath Shapes::cloud(const QRectF &box)
{
    // Four overlapping puffs on a flat base: the shape a child draws.
    const qreal w = box.width();
    const qreal h = box.height();
    QPainterPath path = rounded(QRectF(box.left(), box.top() + h * 0.5, w, h * 0.5), h * 0.25);
    path = path.united(ellipse(QRectF(box.left() + w * 0.08, box.top() + h * 0.28, w * 0.36, h * 0.62)));
    path = path.united(ellipse(QRectF(box.left() + w * 0.28, box.top(), w * 0.40, h * 0.8)));
    return path.united(ellipse(QRectF(box.left() + w * 0.55, box.top() + h * 0.2, w * 0.34, h * 0.66)));
}

QPainterPath Shapes::chevron(const QRectF &box, bool pointsRight)
{
    QPainterPath line;
    const qreal tip = pointsRight ? box.right() : box.left();
    const qreal back = pointsRight ? box.left() : box.right();
    line.moveTo(back, box.top());
    line.lineTo(tip, box.center().y());
    line.lineTo(back, box.bottom());
    return line;
}

QPainterPath Shapes::triangle(QPointF a, QPointF b, QPointF c)
{
    QPainterPath path(a);
    path.lineTo(b);
    path.lineTo(c);
    path.closeSubpath();
    return path;
}

QPainterPath Shapes::stroke(const QPainterPath &line, qreal width)
{
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    return stroker.createStroke(line).simplified();
}
