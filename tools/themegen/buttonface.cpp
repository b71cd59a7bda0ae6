#include "buttonface.h"

#include "canvas.h"
#include "palette.h"
#include "shapes.h"

QColor ButtonFace::tone(const QColor &base, const ButtonLook &look)
{
    if (look.pressed)
        return base.darker(118);
    if (look.hover)
        return base.lighter(114);
    return base;
}

void ButtonFace::ball(Canvas &canvas, const QRectF &box, const QColor &colour, const ButtonLook &look)
{
    const qreal r = qMin(box.width(), box.height()) / 2 - 1;
    const QPointF centre = box.center() + QPointF(0, look.sink() * 0.5 - 0.5);
    canvas.shadow(Shapes::ellipse(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r)), QPointF(0, 0.8),
                  look.pressed ? 20 : 50);
    canvas.glossyBall(centre, r, tone(colour, look));
}

void ButtonFace::pill(Canvas &canvas, const QRectF &box, const QColor &colour, const ButtonLook &look)
{
    const QRectF body = box.adjusted(1, 1 + look.sink(), -1, -3 + look.sink());
    const QPainterPath shape = Shapes::rounded(body, body.height() / 2);
    canvas.fill(shape.translated(0, 2 - look.sink()), tone(colour, look).darker(150));
    canvas.glossy(shape, tone(colour, look), tone(colour, look).darker(150));
}

void ButtonFace::tile(Canvas &canvas, const QRectF &box, const ButtonLook &look)
{
    const QRectF body = box.adjusted(0.5, 0.5 + look.sink(), -0.5, -1.5 + look.sink());
    const qreal radius = qMin<qreal>(7, qMin(body.width(), body.height()) / 3);
    const QPainterPath shape = Shapes::rounded(body, radius);
    if (!look.pressed)
        canvas.fill(shape.translated(0, 1), QColor(0xc0, 0x80, 0x40, 70));
    if (look.checked) {
        canvas.glossy(shape, tone(Palette::orange, look), Palette::orange.darker(140));
        return;
    }
    const QColor top = look.pressed ? Palette::paperDeep : look.hover ? QColor(0xff, 0xfd, 0xe8) : Palette::white;
    const QColor bottom = look.pressed ? QColor(0xf4, 0xd8, 0xa8) : look.hover ? QColor(0xff, 0xec, 0xb0)
                                                                              : Palette::paper;
    const QColor border = look.hover || look.pressed ? Palette::orange : QColor(0xe2, 0xb2, 0x7c);
    canvas.fill(shape, Canvas::vertical(body, top, bottom), border, 1.2);
}

void ButtonFace::panel(Canvas &canvas, const QRectF &box, const ButtonLook &look)
{
    // The page-turning buttons float over the book's spread: a soft translucent
    // panel that only firms up when touched.
    const int alpha = look.pressed ? 220 : look.hover ? 200 : 130;
    const QRectF body = box.adjusted(4, 4 + look.sink(), -4, -5 + look.sink());
    const QPainterPath shape = Shapes::rounded(body, 22);
    if (!look.pressed)
        canvas.shadow(shape, QPointF(0, 2), look.hover ? 45 : 25);
    QColor top = look.pressed ? QColor(0xff, 0xe6, 0xb8) : Palette::white;
    QColor bottom = look.pressed ? QColor(0xff, 0xd0, 0x8a) : QColor(0xff, 0xf2, 0xd0);
    top.setAlpha(alpha);
    bottom.setAlpha(alpha);
    QColor border = Palette::orange;
    border.setAlpha(look.hover || look.pressed ? 230 : 110);
    canvas.fill(shape, Canvas::vertical(body, top, bottom), border, 2);
}

void ButtonFace::halo(Canvas &canvas, const QRectF &box, const ButtonLook &look)
{
    if (!look.hover && !look.pressed)
        return;
    QRadialGradient glow(box.center(), qMax(box.width(), box.height()) / 2);
    glow.setColorAt(0, QColor(0xff, 0xe0, 0x80, look.pressed ? 200 : 150));
    glow.setColorAt(1, QColor(0xff, 0xe0, 0x80, 0));
    canvas.fill(Shapes::ellipse(box), glow);
}
