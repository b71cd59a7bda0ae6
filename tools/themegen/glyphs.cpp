#include "glyphs.h"

#include "canvas.h"
#include "gridscope.h"
#include "palette.h"
#include "pictograms.h"
#include "shapes.h"

namespace {

QPen roundPen(const QColor &colour, qreal width)
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void line(QPainter &painter, const QColor &colour, qreal width, QPointF from, QPointF to)
{
    painter.save();
    painter.setPen(roundPen(colour, width));
    painter.drawLine(from, to);
    painter.restore();
}

} // namespace

void Glyphs::minimize(Canvas &canvas, const QRectF &box, const QColor &colour)
{
    GridScope grid(canvas.painter(), box);
    line(canvas.painter(), colour, 16, {28, 66}, {72, 66});
}

void Glyphs::maximize(Canvas &canvas, const QRectF &box, const QColor &colour)
{
    GridScope grid(canvas.painter(), box);
    canvas.fill(Shapes::rounded(QRectF(27, 27, 46, 46), 8), Qt::NoBrush, colour, 12);
}

void Glyphs::close(Canvas &canvas, const QRectF &box, const QColor &colour)
{
    GridScope grid(canvas.painter(), box);
    line(canvas.painter(), colour, 15, {30, 30}, {70, 70});
    line(canvas.painter(), colour, 15, {70, 30}, {30, 70});
}

void Glyphs::question(Canvas &canvas, const QRectF &box, const QColor &colour)
{
    GridScope grid(canvas.painter(), box);
    canvas.lettering(QStringLiteral("?"), Canvas::font(72), QRectF(0, 0, 100, 100), colour,
                     QColor(0, 0, 0, 50), 2);
}

void Glyphs::bigArrow(Canvas &canvas, const QRectF &box, bool pointsRight, const QColor &colour)
{
    GridScope grid(canvas.painter(), box);
    // A fat arrow with a rounded outline: easy to hit and to understand at six.
    const qreal s = pointsRight ? 1 : -1;
    QPainterPath arrow(QPointF(50 - s * 38, 38));
    arrow.lineTo(50 + s * 2, 38);
    arrow.lineTo(50 + s * 2, 14);
    arrow.lineTo(50 + s * 42, 50);
    arrow.lineTo(50 + s * 2, 86);
    arrow.lineTo(50 + s * 2, 62);
    arrow.lineTo(50 - s * 38, 62);
    arrow.closeSubpath();
    const QPainterPath shape = arrow.united(Shapes::stroke(arrow, 10));
    canvas.shadow(shape, QPointF(0, 3), 45);
    canvas.glossy(shape, colour, colour.darker(150));
}

void Glyphs::printer(Canvas &canvas, const QRectF &box)
{
    GridScope grid(canvas.painter(), box);
    canvas.fill(Shapes::rounded(QRectF(28, 8, 44, 34), 3), Palette::white, Palette::inkSoft, 6);
    canvas.fill(Shapes::rounded(QRectF(8, 34, 84, 38), 12),
                Canvas::vertical(QRectF(0, 34, 100, 38), Palette::sky, Palette::blue), Palette::blue.darker(140), 5);
    canvas.fill(Shapes::rounded(QRectF(26, 60, 48, 34), 3), Palette::white, Palette::inkSoft, 6);
    line(canvas.painter(), Palette::sky.darker(120), 5, {36, 74}, {64, 74});
    canvas.fill(Shapes::ellipse(QRectF(74, 42, 10, 10)), Palette::sun);
}

void Glyphs::star(Canvas &canvas, const QRectF &box, const QColor &colour)
{
    GridScope grid(canvas.painter(), box);
    const QPainterPath shape = Shapes::star(QPointF(50, 54), 46, 21);
    const QPainterPath soft = shape.united(Shapes::stroke(shape, 6));
    canvas.glossy(soft, colour, colour.darker(150));
}

void Glyphs::magnifierPlus(Canvas &canvas, const QRectF &box, const QColor &colour)
{
    Pictograms::magnifier(canvas, box, colour);
    GridScope grid(canvas.painter(), box);
    line(canvas.painter(), colour, 10, {26, 38}, {50, 38});
    line(canvas.painter(), colour, 10, {38, 26}, {38, 50});
}

void Glyphs::newFolder(Canvas &canvas, const QRectF &box)
{
    Pictograms::folder(canvas, box, false);
    GridScope grid(canvas.painter(), box);
    canvas.fill(Shapes::ellipse(QRectF(52, 46, 44, 44)), Palette::grass, Palette::grass.darker(140), 4);
    line(canvas.painter(), Palette::white, 9, {62, 68}, {86, 68});
    line(canvas.painter(), Palette::white, 9, {74, 56}, {74, 80});
}

void Glyphs::trash(Canvas &canvas, const QRectF &box, const QColor &colour)
{
    GridScope grid(canvas.painter(), box);
    QPainterPath bin(QPointF(22, 30));
    bin.lineTo(78, 30);
    bin.lineTo(72, 92);
    bin.lineTo(28, 92);
    bin.closeSubpath();
    canvas.fill(bin, Canvas::vertical(QRectF(0, 30, 100, 62), colour.lighter(115), colour), colour.darker(140), 5);
    canvas.fill(Shapes::rounded(QRectF(14, 16, 72, 12), 5), colour.darker(110), colour.darker(140), 4);
    canvas.fill(Shapes::rounded(QRectF(38, 6, 24, 12), 4), Qt::NoBrush, colour.darker(140), 5);
    for (const qreal x : {38.0, 50.0, 62.0})
        line(canvas.painter(), Palette::white, 5, {x, 44}, {x, 80});
}

void Glyphs::exportOut(Canvas &canvas, const QRectF &box, const QColor &colour)
{
    GridScope grid(canvas.painter(), box);
    QPainterPath tray(QPointF(10, 50));
    tray.lineTo(10, 88);
    tray.lineTo(90, 88);
    tray.lineTo(90, 50);
    QPainter &p = canvas.painter();
    p.save();
    p.setPen(roundPen(Palette::inkSoft, 10));
    p.setBrush(Qt::NoBrush);
    p.drawPath(tray);
    p.restore();
    QPainterPath arrow(QPointF(42, 72));
    arrow.lineTo(42, 36);
    arrow.lineTo(26, 36);
    arrow.lineTo(50, 8);
    arrow.lineTo(74, 36);
    arrow.lineTo(58, 36);
    arrow.lineTo(58, 72);
    arrow.closeSubpath();
    canvas.fill(arrow.united(Shapes::stroke(arrow, 5)), colour, colour.darker(140), 3);
}

void Glyphs::plus(Canvas &canvas, const QRectF &box, const QColor &colour)
{
    GridScope grid(canvas.painter(), box);
    line(canvas.painter(), colour, 18, {22, 50}, {78, 50});
    line(canvas.painter(), colour, 18, {50, 22}, {50, 78});
}

void Glyphs::minus(Canvas &canvas, const QRectF &box, const QColor &colour)
{
    GridScope grid(canvas.painter(), box);
    line(canvas.painter(), colour, 18, {22, 50}, {78, 50});
}

void Glyphs::format(Canvas &canvas, const QRectF &box, const QString &kind, const QColor &colour)
{
    GridScope grid(canvas.painter(), box);
    const QRectF whole(0, 0, 100, 100);
    if (kind == QLatin1String("bold")) {
        canvas.lettering(QStringLiteral("B"), Canvas::font(78, true), whole, colour, Qt::transparent, 0);
    } else if (kind == QLatin1String("italic")) {
        QFont serif = Canvas::font(80, false, true);
        serif.setFamily(QStringLiteral("DejaVu Serif"));
        canvas.lettering(QStringLiteral("I"), serif, whole, colour, Qt::transparent, 0);
    } else if (kind == QLatin1String("underline")) {
        canvas.lettering(QStringLiteral("U"), Canvas::font(70, false), whole.adjusted(0, -10, 0, -10), colour,
                         Qt::transparent, 0);
        line(canvas.painter(), colour, 7, {22, 86}, {78, 86});
    } else {
        // x² and x₂: the small digit says where it goes.
        const bool upper = kind == QLatin1String("upper");
        canvas.lettering(QStringLiteral("x"), Canvas::font(62, false), QRectF(0, 8, 70, 100), colour,
                         Qt::transparent, 0);
        canvas.lettering(QStringLiteral("2"), Canvas::font(42, true),
                         QRectF(56, upper ? -10 : 38, 40, 80), colour, Qt::transparent, 0);
    }
}
