#pragma once

#include <QPainter>
#include <QRectF>

// Lets a drawing be designed once on a 100x100 grid and land on any box; the
// painter's previous transform comes back when the scope ends.
class GridScope
{
public:
    GridScope(QPainter &painter, const QRectF &box);
    ~GridScope();

    GridScope(const GridScope &) = delete;
    GridScope &operator=(const GridScope &) = delete;

    // The largest square centred in box: glyphs keep their proportions.
    static QRectF square(const QRectF &box, qreal side);

private:
    QPainter &m_painter;
};
