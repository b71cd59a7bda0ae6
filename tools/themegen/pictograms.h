#pragma once

#include <QColor>
#include <QRectF>
#include <QStringList>

class Canvas;

// Small pictures with a meaning of their own: the material groups, the book, folders.
// Each is designed on a 100x100 grid and mapped onto the box it is given, so one
// drawing serves every size.
class Pictograms
{
public:
    static const QStringList &groupKeys();
    static QColor groupColour(const QString &key);

    // A white symbol meant to sit on a tile of groupColour(key).
    static void group(Canvas &canvas, const QString &key, const QRectF &box);
    static void openBook(Canvas &canvas, const QRectF &box);
    static void folder(Canvas &canvas, const QRectF &box, bool open);
    static void magnifier(Canvas &canvas, const QRectF &box, const QColor &colour);

private:
    static void film(Canvas &canvas, const QColor &tile);
    static void pencil(Canvas &canvas, const QColor &tile);
    static void notebook(Canvas &canvas, const QColor &tile);
    static void speech(Canvas &canvas, const QColor &tile);
    static void testSheet(Canvas &canvas, const QColor &tile);
    static void letters(Canvas &canvas);
    static void ball(Canvas &canvas);
};
