#pragma once

#include <QPainterPath>
#include <QRectF>

// Outlines reused by several pictures. Pure geometry: colours are the caller's.
class Shapes
{
public:
    static QPainterPath rounded(const QRectF &box, qreal radius);
    static QPainterPath ellipse(const QRectF &box);
    static QPainterPath star(QPointF centre, qreal outer, qreal inner, int points = 5);
    static QPainterPath cloud(const QRectF &box);
    static QPainterPath chevron(const QRectF &box, bool pointsRight);
    static QPainterPath triangle(QPointF a, QPointF b, QPointF c);
    static QPainterPath stroke(const QPainterPath &line, qreal width);
};
