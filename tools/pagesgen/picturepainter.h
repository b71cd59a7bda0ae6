#ifndef PICTUREPAINTER_H
#define PICTUREPAINTER_H

#include <QPainter>
#include <QRectF>

// Bright, simple pictures a six-year-old knows, drawn into a square.
class PicturePainter
{
public:
    static int count();
    static void paint(QPainter &painter, const QRectF &square, int picture);

private:
    static void apple(QPainter &p);
    static void sun(QPainter &p);
    static void house(QPainter &p);
    static void tree(QPainter &p);
    static void cat(QPainter &p);
    static void fish(QPainter &p);
    static void balloons(QPainter &p);
    static void flower(QPainter &p);
    static void car(QPainter &p);
    static void boat(QPainter &p);
    static void butterfly(QPainter &p);
    static void snail(QPainter &p);
};

#endif
