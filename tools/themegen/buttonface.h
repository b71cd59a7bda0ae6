#pragma once

#include <QColor>
#include <QRectF>

class Canvas;

// How a button is being touched; the disabled look is derived from the normal one.
struct ButtonLook
{
    bool hover = false;
    bool pressed = false;
    bool checked = false;

    // Pressed faces sink by a pixel, which reads as a press even in greyscale.
    qreal sink() const { return pressed ? 1.0 : 0.0; }
};

// The backgrounds buttons are drawn on. Hover is a touch lighter, pressed darker.
class ButtonFace
{
public:
    static QColor tone(const QColor &base, const ButtonLook &look);

    static void ball(Canvas &canvas, const QRectF &box, const QColor &colour, const ButtonLook &look);
    static void pill(Canvas &canvas, const QRectF &box, const QColor &colour, const ButtonLook &look);
    static void tile(Canvas &canvas, const QRectF &box, const ButtonLook &look);
    static void panel(Canvas &canvas, const QRectF &box, const ButtonLook &look);
    static void halo(Canvas &canvas, const QRectF &box, const ButtonLook &look);
};
