#include "sliderart.h"

#include "canvas.h"
#include "outputfolder.h"
#include "palette.h"
#include "shapes.h"

namespace {

enum State { Normal, Hover, Press };

} // namespace

SliderArt::SliderArt(OutputFolder &out)
    : m_out(out)
{
}

void SliderArt::write()
{
    writeTrack();
    writeHandles();
    writeHints();
    writeStrokes();
    writeArrowButtons();
}

void SliderArt::writeTrack()
{
    // Only the part's height is read; a light bar keeps it harmless wherever it lands.
    Canvas part(8, 8);
    part.painter().fillRect(part.rect(), Canvas::vertical(part.rect(), QColor(0xff, 0xe7, 0xb0),
                                                          QColor(0xf7, 0xc9, 0x7a)));
    m_out.writeImage(QStringLiteral("theme/slider/slider_part.png"), part.finish());

    Canvas groove(200, 14);
    const QPainterPath track = Shapes::rounded(QRectF(0.5, 1.5, 199, 11), 5.5);
    groove.fill(track, Canvas::vertical(groove.rect(), QColor(0xe9, 0xc9, 0x9a), QColor(0xff, 0xf1, 0xd6)),
                QColor(0xc7, 0x92, 0x55), 1);
    groove.fill(Shapes::rounded(QRectF(2, 3, 196, 3), 1.5), QColor(0x8a, 0x55, 0x20, 40));
    m_out.writeImage(QStringLiteral("theme/slider/slider_groove.png"), groove.finish());
}

void SliderArt::writeHandles()
{
    // A round-headed pin leaning a little to one side, so the mirrored one reads as
    // its twin rather than a copy.
    Canvas canvas(28, 40);
    QPainterPath pin(QPointF(12, 39));
    pin.cubicTo(10, 30, 2, 24, 2, 14);
    pin.cubicTo(2, 6.5, 7.5, 1, 14, 1);
    pin.cubicTo(21.5, 1, 26, 6.5, 26, 14);
    pin.cubicTo(26, 24, 16, 29, 12, 39);
    pin.closeSubpath();
    canvas.shadow(pin, QPointF(1, 1), 50);
    canvas.glossy(pin, Palette::coral, Palette::coral.darker(150));
    canvas.fill(Shapes::ellipse(QRectF(8.5, 8.5, 11, 11)), Palette::white, Palette::coral.darker(130), 1);
    const QImage handle = canvas.finish();
    m_out.writeImage(QStringLiteral("theme/slider/slider_handle.png"), handle);
    m_out.writeImage(QStringLiteral("theme/slider/slider_handle_inverse.png"), handle.mirrored(true, false));
}

QImage SliderArt::hint(int width, qreal tailX, qreal stretchColumn)
{
    // The program stretches one column of the bubble, so the tail must stay clear of
    // it and the body must be plain there from top edge to bottom edge.
    Canvas canvas(width, 70);
    const qreal side = tailX < stretchColumn ? 1 : -1;
    const QPainterPath body = Shapes::rounded(QRectF(11.5, 5.5, width - 14, 36), 12);
    const QPainterPath tail = Shapes::triangle({tailX - 6 * side, 36}, {tailX + 9 * side, 36},
                                               {tailX - 4 * side, 62});
    canvas.shadow(body.united(tail), QPointF(0, 2), 40);
    // Outline both parts first, then fill them: the fill hides the seam where the
    // tail joins the body without a boolean outline and its stray corner points.
    const QColor outline(0xe0, 0x9a, 0x4a);
    canvas.fill(body, Qt::NoBrush, outline, 4);
    canvas.fill(tail, Qt::NoBrush, outline, 4);
    const QLinearGradient paper = Canvas::vertical(QRectF(0, 5, width, 40), Palette::white, QColor(0xff, 0xf4, 0xcf));
    canvas.fill(body, paper);
    canvas.fill(tail, paper);
    return canvas.finish();
}

void SliderArt::writeHints()
{
    m_out.writeImage(QStringLiteral("theme/slider/slider_hint_normal.png"), hint(90, 24, 40));
    m_out.writeImage(QStringLiteral("theme/slider/slider_hint_inverse.png"), hint(90, 72, 25));
}

void SliderArt::writeStrokes()
{
    for (const auto &[name, height] : {std::pair{"big", 10}, std::pair{"small", 6}}) {
        Canvas canvas(2, height);
        canvas.painter().fillRect(QRectF(0, 0, 2, height), QColor(0xa0, 0x64, 0x30, name[0] == 'b' ? 220 : 150));
        m_out.writeImage(QStringLiteral("theme/slider/slider_stroke_%1.png").arg(QLatin1String(name)),
                         canvas.finish());
    }
}

QImage SliderArt::arrowButton(bool next, int state)
{
    Canvas canvas(48, 36);
    QColor base = Palette::sky.darker(108);
    if (state == Hover)
        base = base.lighter(115);
    else if (state == Press)
        base = base.darker(118);
    const qreal sink = state == Press ? 1 : 0;
    const QPainterPath ball = Shapes::ellipse(QRectF(7, 1 + sink, 34, 34 - sink));
    canvas.shadow(ball, QPointF(0, 1.2), state == Press ? 20 : 55);
    canvas.glossy(ball, base, base.darker(145));
    QPainterPath arrow = Shapes::chevron(QRectF(next ? 20 : 18, 10 + sink, 10, 16), next);
    canvas.painter().setPen(QPen(Palette::white, 4.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    canvas.painter().drawPath(arrow);
    return canvas.finish();
}

void SliderArt::writeArrowButtons()
{
    const char *states[] = {"normal", "hover", "press"};
    for (const bool next : {false, true}) {
        for (int state = Normal; state <= Press; ++state) {
            m_out.writeImage(QStringLiteral("theme/slider/slider_button_%1_%2.png")
                                 .arg(QLatin1String(next ? "next" : "prev"), QLatin1String(states[state])),
                             arrowButton(next, state));
        }
    }
}
