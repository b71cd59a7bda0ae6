#include "picturepainter.h"

#include <QPainterPath>
#include <QtMath>

// Every picture is drawn on a 100 × 100 canvas that paint() scales into the square.

namespace {
void fill(QPainter &p, const QColor &color)
{
    p.setPen(QPen(QColor(60, 40, 30), 1.6));
    p.setBrush(color);
}
} // namespace

int PicturePainter::count()
{
    return 12;
}

void PicturePainter::paint(QPainter &painter, const QRectF &square, int picture)
{
    using Painter = void (*)(QPainter &);
    static const Painter painters[] = {apple, sun, house, tree, cat, fish, balloons, flower, car, boat, butterfly, snail};
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(square.topLeft());
    painter.scale(square.width() / 100.0, square.height() / 100.0);
    painters[((picture % count()) + count()) % count()](painter);
    painter.restore();
}

void PicturePainter::apple(QPainter &p)
{
    fill(p, QColor(225, 40, 40));
    QPainterPath body;
    body.moveTo(50, 30);
    body.cubicTo(80, 15, 98, 45, 85, 72);
    body.cubicTo(75, 95, 58, 92, 50, 86);
    body.cubicTo(42, 92, 25, 95, 15, 72);
    body.cubicTo(2, 45, 20, 15, 50, 30);
    p.drawPath(body);
    fill(p, QColor(120, 70, 30));
    p.drawRect(QRectF(48, 14, 4, 16));
    fill(p, QColor(70, 170, 60));
    p.drawEllipse(QRectF(54, 12, 22, 10));
    fill(p, QColor(255, 200, 200));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QRectF(26, 40, 10, 16));
}

void PicturePainter::sun(QPainter &p)
{
    p.setPen(QPen(QColor(250, 160, 0), 5, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 12; ++i) {
        const double a = i * M_PI / 6;
        p.drawLine(QPointF(50 + 30 * qCos(a), 50 + 30 * qSin(a)), QPointF(50 + 46 * qCos(a), 50 + 46 * qSin(a)));
    }
    fill(p, QColor(255, 215, 40));
    p.drawEllipse(QPointF(50, 50), 26, 26);
    fill(p, QColor(60, 40, 30));
    p.drawEllipse(QPointF(41, 45), 3, 3);
    p.drawEllipse(QPointF(59, 45), 3, 3);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(38, 44, 24, 18), 200 * 16, 140 * 16);
}

void PicturePainter::house(QPainter &p)
{
    fill(p, QColor(250, 220, 150));
    p.drawRect(QRectF(20, 45, 60, 45));
    fill(p, QColor(200, 60, 50));
    p.drawPolygon(QPolygonF({QPointF(12, 47), QPointF(50, 12), QPointF(88, 47)}));
    fill(p, QColor(140, 90, 50));
    p.drawRect(QRectF(56, 60, 16, 30));
    fill(p, QColor(130, 200, 250));
    p.drawRect(QRectF(28, 56, 18, 16));
    p.drawLine(QPointF(37, 56), QPointF(37, 72));
    p.drawLine(QPointF(28, 64), QPointF(46, 64));
}

void PicturePainter::tree(QPainter &p)
{
    fill(p, QColor(130, 85, 45));
    p.drawRect(QRectF(43, 55, 14, 40));
    fill(p, QColor(60, 170, 70));
    p.drawEllipse(QRectF(18, 22, 40, 38));
    p.drawEllipse(QRectF(42, 22, 40, 38));
    p.drawEllipse(QRectF(28, 4, 44, 40));
    fill(p, QColor(230, 40, 40));
    for (const QPointF &c : {QPointF(32, 38), QPointF(62, 30), QPointF(50, 18), QPointF(68, 46)})
        p.drawEllipse(c, 4, 4);
}

void PicturePainter::cat(QPainter &p)
{
    fill(p, QColor(250, 160, 60));
    p.drawEllipse(QRectF(25, 50, 50, 42));
    p.drawPolygon(QPolygonF({QPointF(28, 32), QPointF(30, 8), QPointF(45, 24)}));
    p.drawPolygon(QPolygonF({QPointF(72, 32), QPointF(70, 8), QPointF(55, 24)}));
    p.drawEllipse(QRectF(26, 16, 48, 40));
    fill(p, QColor(80, 160, 60));
    p.drawEllipse(QPointF(41, 33), 4, 5);
    p.drawEllipse(QPointF(59, 33), 4, 5);
    fill(p, QColor(240, 120, 140));
    p.drawPolygon(QPolygonF({QPointF(46, 41), QPointF(54, 41), QPointF(50, 46)}));
    p.setPen(QPen(QColor(60, 40, 30), 1.2));
    for (int s : {-1, 1}) {
        p.drawLine(QPointF(50 + s * 6, 45), QPointF(50 + s * 22, 42));
        p.drawLine(QPointF(50 + s * 6, 47), QPointF(50 + s * 22, 50));
    }
}

void PicturePainter::fish(QPainter &p)
{
    fill(p, QColor(60, 150, 230));
    p.drawPolygon(QPolygonF({QPointF(70, 50), QPointF(95, 30), QPointF(95, 70)}));
    p.drawEllipse(QRectF(8, 28, 70, 44));
    fill(p, QColor(255, 255, 255));
    p.drawEllipse(QPointF(26, 44), 6, 6);
    fill(p, QColor(30, 30, 30));
    p.drawEllipse(QPointF(27, 44), 2.5, 2.5);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(40, 34, 20, 32), -60 * 16, 120 * 16);
}

void PicturePainter::balloons(QPainter &p)
{
    const QColor colors[] = {QColor(240, 60, 80), QColor(80, 170, 240), QColor(250, 210, 50)};
    const QPointF centres[] = {QPointF(30, 30), QPointF(68, 26), QPointF(50, 46)};
    for (int i = 0; i < 3; ++i) {
        p.setPen(QPen(QColor(90, 90, 90), 1));
        p.drawLine(centres[i] + QPointF(0, 20), QPointF(50, 95));
        fill(p, colors[i]);
        p.drawEllipse(centres[i], 16, 20);
    }
}

void PicturePainter::flower(QPainter &p)
{
    p.setPen(QPen(QColor(60, 150, 60), 4));
    p.drawLine(QPointF(50, 50), QPointF(50, 96));
    fill(p, QColor(90, 180, 80));
    p.drawEllipse(QRectF(50, 66, 22, 10));
    fill(p, QColor(240, 110, 180));
    for (int i = 0; i < 6; ++i) {
        const double a = i * M_PI / 3;
        p.drawEllipse(QPointF(50 + 18 * qCos(a), 36 + 18 * qSin(a)), 11, 11);
    }
    fill(p, QColor(255, 210, 40));
    p.drawEllipse(QPointF(50, 36), 11, 11);
}

void PicturePainter::car(QPainter &p)
{
    fill(p, QColor(230, 50, 50));
    p.drawRoundedRect(QRectF(8, 48, 84, 26), 6, 6);
    p.drawPolygon(QPolygonF({QPointF(25, 48), QPointF(35, 28), QPointF(68, 28), QPointF(78, 48)}));
    fill(p, QColor(170, 220, 250));
    p.drawPolygon(QPolygonF({QPointF(32, 46), QPointF(39, 32), QPointF(50, 32), QPointF(50, 46)}));
    p.drawPolygon(QPolygonF({QPointF(54, 46), QPointF(54, 32), QPointF(65, 32), QPointF(72, 46)}));
    fill(p, QColor(50, 50, 50));
    p.drawEllipse(QPointF(28, 76), 10, 10);
    p.drawEllipse(QPointF(72, 76), 10, 10);
}

void PicturePainter::boat(QPainter &p)
{
    fill(p, QColor(90, 160, 230));
    p.drawRect(QRectF(0, 80, 100, 20));
    fill(p, QColor(170, 100, 50));
    p.drawPolygon(QPolygonF({QPointF(12, 66), QPointF(88, 66), QPointF(74, 84), QPointF(26, 84)}));
    p.setPen(QPen(QColor(90, 60, 30), 3));
    p.drawLine(QPointF(50, 66), QPointF(50, 10));
    fill(p, QColor(255, 255, 255));
    p.drawPolygon(QPolygonF({QPointF(52, 12), QPointF(85, 60), QPointF(52, 60)}));
    fill(p, QColor(240, 80, 60));
    p.drawPolygon(QPolygonF({QPointF(48, 20), QPointF(22, 60), QPointF(48, 60)}));
}

void PicturePainter::butterfly(QPainter &p)
{
    fill(p, QColor(160, 90, 220));
    p.drawEllipse(QRectF(8, 18, 40, 36));
    p.drawEllipse(QRectF(52, 18, 40, 36));
    fill(p, QColor(250, 170, 60));
    p.drawEllipse(QRectF(16, 50, 32, 30));
    p.drawEllipse(QRectF(52, 50, 32, 30));
    fill(p, QColor(70, 50, 40));
    p.drawRoundedRect(QRectF(46, 20, 8, 62), 4, 4);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(36, 4, 14, 20), 0, 120 * 16);
    p.drawArc(QRectF(50, 4, 14, 20), 60 * 16, 120 * 16);
}

void PicturePainter::snail(QPainter &p)
{
    fill(p, QColor(190, 220, 120));
    p.drawRoundedRect(QRectF(10, 70, 80, 16), 8, 8);
    p.drawLine(QPointF(80, 72), QPointF(84, 52));
    p.drawLine(QPointF(86, 72), QPointF(92, 54));
    fill(p, QColor(210, 140, 70));
    p.drawEllipse(QRectF(22, 30, 50, 48));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(33, 40, 28, 28));
    p.drawEllipse(QRectF(42, 49, 10, 10));
}
