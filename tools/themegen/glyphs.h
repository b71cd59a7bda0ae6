#pragma once

#include <QColor>
#include <QRectF>

class Canvas;

// The symbols printed on buttons. Each draws into a square box on a 100x100 grid.
class Glyphs
{
public:
    static void minimize(Canvas &canvas, const QRectF &box, const QColor &colour);
    static void maximize(Canvas &canvas, const QRectF &box, const QColor &colour);
    static void close(Canvas &canvas, const QRectF &box, const QColor &colour);
    static void question(Canvas &canvas, const QRectF &box, const QColor &colour);
    static void bigArrow(Canvas &canvas, const QRectF &box, bool pointsRight, const QColor &colour);
    static void printer(Canvas &canvas, const QRectF &box);
    static void star(Canvas &canvas, const QRectF &box, const QColor &colour);
    static void magnifierPlus(Canvas &canvas, const QRectF &box, const QColor &colour);
    static void newFolder(Canvas &canvas, const QRectF &box);
    static void trash(Canvas &canvas, const QRectF &box, const QColor &colour);
    static void exportOut(Canvas &canvas, const QRectF &box, const QColor &colour);
    static void plus(Canvas &canvas, const QRectF &box, const QColor &colour);
    static void minus(Canvas &canvas, const QRectF &box, const QColor &colour);
    static void format(Canvas &canvas, const QRectF &box, const QString &kind, const QColor &colour);
};
