#include "pictograms.h"

#include "canvas.h"
#include "gridscope.h"
#include "palette.h"
#include "shapes.h"

#include <QStringList>
#include <QtMath>

namespace {

QPen roundPen(const QColor &colour, qreal width)
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

} // namespace

const QStringList &Pictograms::groupKeys()
{
    static const QStringList keys{QStringLiteral("ani"), QStringLiteral("pra"), QStringLiteral("wrk"),
                                  QStringLiteral("rzv"), QStringLiteral("con"), QStringLiteral("slv"),
                                  QStringLiteral("igr")};
    return keys;
}

QColor Pictograms::groupColour(const QString &key)
{
    if (key == QLatin1String("ani"))
        return Palette::berry;
    if (key == QLatin1String("pra"))
        return Palette::orange;
    if (key == QLatin1String("wrk"))
        return Palette::blue;
    if (key == QLatin1String("rzv"))
        return Palette::teal;
    if (key == QLatin1String("con"))
        return Palette::grass;
    if (key == QLatin1String("slv"))
        return Palette::violet;
    return QColor(0xf0, 0xbe, 0x00); // igr: sunny yellow, clear of pra's orange
}

void Pictograms::group(Canvas &canvas, const QString &key, const QRectF &box)
{
    const QColor tile = groupColour(key);
    GridScope grid(canvas.painter(), box);
    if (key == QLatin1String("ani"))
        film(canvas, tile);
    else if (key == QLatin1String("pra"))
        pencil(canvas, tile);
    else if (key == QLatin1String("wrk"))
        notebook(canvas, tile);
    else if (key == QLatin1String("rzv"))
        speech(canvas, tile);
    else if (key == QLatin1String("con"))
        testSheet(canvas, tile);
    else if (key == QLatin1String("slv"))
        letters(canvas);
    else
        ball(canvas);
}

void Pictograms::film(Canvas &canvas, const QColor &tile)
{
    canvas.fill(Shapes::rounded(QRectF(6, 16, 88, 68), 10), Palette::white);
    for (int i = 0; i < 5; ++i) {
        canvas.fill(Shapes::rounded(QRectF(12 + i * 16, 21, 9, 8), 2), tile);
        canvas.fill(Shapes::rounded(QRectF(12 + i * 16, 71, 9, 8), 2), tile);
    }
    canvas.fill(Shapes::triangle({40, 35}, {40, 65}, {66, 50}), tile.darker(115), tile.darker(115), 5);
}

void Pictograms::pencil(Canvas &canvas, const QColor &tile)
{
    QPainter &p = canvas.painter();
    p.save();
    p.translate(50, 50);
    p.rotate(-45);
    canvas.fill(Shapes::rounded(QRectF(-40, -13, 62, 26), 4), Palette::white);
    canvas.fill(Shapes::rounded(QRectF(-44, -13, 12, 26), 5), QColor(0xff, 0xb3, 0xc1)); // eraser
    canvas.fill(Shapes::triangle({22, -13}, {22, 13}, {46, 0}), QColor(0xff, 0xe7, 0xc4));
    canvas.fill(Shapes::triangle({38, -4.3}, {38, 4.3}, {46, 0}), tile.darker(170));
    p.setPen(roundPen(tile, 3));
    p.drawLine(QPointF(-30, 0), QPointF(18, 0));
    p.restore();
}

void Pictograms::notebook(Canvas &canvas, const QColor &tile)
{
    canvas.fill(Shapes::rounded(QRectF(22, 8, 62, 84), 7), Palette::white);
    QPainter &p = canvas.painter();
    p.setPen(roundPen(tile.lighter(130), 3.5));
    for (int y = 30; y <= 78; y += 12)
        p.drawLine(QPointF(38, y), QPointF(74, y));
    // The spiral: rings that cross the sheet's left edge.
    p.setPen(roundPen(Palette::white, 5));
    p.setBrush(Qt::NoBrush);
    for (int y = 18; y <= 82; y += 16)
        p.drawArc(QRectF(12, y - 5, 18, 10), 90 * 16, 180 * 16);
    for (int y = 18; y <= 82; y += 16)
        canvas.fill(Shapes::ellipse(QRectF(24, y - 3.5, 7, 7)), tile.darker(120));
}

void Pictograms::speech(Canvas &canvas, const QColor &tile)
{
    const QPainterPath bubble = Shapes::rounded(QRectF(8, 14, 84, 58), 22)
                                    .united(Shapes::triangle({24, 60}, {44, 66}, {18, 90}));
    canvas.fill(bubble, Palette::white);
    for (int i = 0; i < 3; ++i)
        canvas.fill(Shapes::ellipse(QRectF(29 + i * 16, 37, 11, 11)), tile.darker(110));
}

void Pictograms::testSheet(Canvas &canvas, const QColor &tile)
{
    QPainterPath sheet(QPointF(20, 6));
    sheet.lineTo(64, 6);
    sheet.lineTo(82, 24);
    sheet.lineTo(82, 94);
    sheet.lineTo(20, 94);
    sheet.closeSubpath();
    canvas.fill(sheet, Palette::white);
    canvas.fill(Shapes::triangle({64, 6}, {64, 24}, {82, 24}), tile.lighter(150));
    QPainter &p = canvas.painter();
    p.setPen(roundPen(tile.lighter(140), 3.5));
    p.drawLine(QPointF(30, 20), QPointF(54, 20));
    p.drawLine(QPointF(30, 32), QPointF(60, 32));
    QPainterPath tick(QPointF(30, 62));
    tick.lineTo(46, 78);
    tick.lineTo(74, 42);
    p.setPen(roundPen(tile.darker(135), 11));
    p.setBrush(Qt::NoBrush);
    p.drawPath(tick);
}

void Pictograms::letters(Canvas &canvas)
{
    const QFont big = Canvas::font(54);
    const QFont small = Canvas::font(38);
    canvas.lettering(QStringLiteral("А"), big, QRectF(0, 12, 56, 60), Palette::white,
                     QColor(0, 0, 0, 40), 2);
    canvas.lettering(QStringLiteral("Б"), small, QRectF(44, 44, 52, 50), QColor(0xff, 0xf1, 0xa8),
                     QColor(0, 0, 0, 40), 2);
}

void Pictograms::ball(Canvas &canvas)
{
    // A beach ball: lens-shaped panels meeting at the poles, tilted so it looks thrown.
    const QRectF whole(10, 10, 80, 80);
    QPainter &p = canvas.painter();
    p.save();
    p.translate(50, 50);
    p.rotate(-28);
    p.translate(-50, -50);
    QPainterPath clip;
    clip.addEllipse(whole);
    p.setClipPath(clip);
    canvas.fill(clip, Palette::white);
    const QRectF inner(50 - 9, 10, 18, 80);
    const QRectF middle(50 - 23, 10, 46, 80);
    const QPainterPath innerLens = Shapes::ellipse(inner);
    const QPainterPath middleRing = Shapes::ellipse(middle).subtracted(innerLens);
    const QPainterPath outer = clip.subtracted(Shapes::ellipse(middle));
    canvas.fill(innerLens, Palette::berry);
    QPainterPath left;
    left.addRect(QRectF(0, 0, 50, 100));
    canvas.fill(outer.intersected(left), Palette::blue);
    canvas.fill(outer.subtracted(left), QColor(0x5c, 0xc2, 0x3c));
    canvas.fill(middleRing, Palette::white);
    p.setClipping(false);
    canvas.fill(clip, Qt::NoBrush, Palette::white, 4);
    canvas.fill(Shapes::ellipse(QRectF(22, 20, 24, 14)), QColor(255, 255, 255, 120));
    p.restore();
}

void Pictograms::openBook(Canvas &canvas, const QRectF &box)
{
    GridScope grid(canvas.painter(), box);
    // Cover: a slightly larger, darker outline behind both pages.
    QPainterPath cover(QPointF(50, 30));
    cover.cubicTo(36, 18, 16, 18, 2, 22);
    cover.lineTo(2, 88);
    cover.cubicTo(18, 84, 38, 86, 50, 94);
    cover.cubicTo(62, 86, 82, 84, 98, 88);
    cover.lineTo(98, 22);
    cover.cubicTo(84, 18, 64, 18, 50, 30);
    canvas.shadow(cover, QPointF(0, 2), 50);
    canvas.fill(cover, Canvas::vertical(QRectF(0, 18, 100, 76), Palette::berry.lighter(110),
                                        Palette::berry.darker(115)),
                Palette::berry.darker(150), 1.5);

    auto page = [](bool left) {
        const qreal s = left ? -1 : 1;
        QPainterPath path(QPointF(50, 26));
        path.cubicTo(50 + s * 14, 14, 50 + s * 32, 12, 50 + s * 44, 16);
        path.lineTo(50 + s * 44, 80);
        path.cubicTo(50 + s * 32, 76, 50 + s * 14, 78, 50, 88);
        path.closeSubpath();
        return path;
    };
    const QPainterPath leftPage = page(true);
    const QPainterPath rightPage = page(false);
    canvas.fill(leftPage, Canvas::vertical(QRectF(6, 12, 44, 76), QColor(0xff, 0xfd, 0xf5),
                                           QColor(0xf6, 0xea, 0xd2)),
                QColor(0xc8, 0xa8, 0x80), 1.2);
    canvas.fill(rightPage, Canvas::vertical(QRectF(50, 12, 44, 76), Palette::white,
                                            QColor(0xf3, 0xe6, 0xcc)),
                QColor(0xc8, 0xa8, 0x80), 1.2);

    canvas.lettering(QStringLiteral("А"), Canvas::font(34), QRectF(10, 22, 38, 48), Palette::coral,
                     Qt::transparent, 0);
    canvas.lettering(QStringLiteral("Б"), Canvas::font(34), QRectF(52, 22, 38, 48), Palette::blue,
                     Qt::transparent, 0);
    // A ribbon bookmark hanging out of the spine.
    QPainterPath ribbon(QPointF(54, 60));
    ribbon.lineTo(62, 60);
    ribbon.lineTo(62, 98);
    ribbon.lineTo(58, 93);
    ribbon.lineTo(54, 98);
    ribbon.closeSubpath();
    canvas.fill(ribbon, Palette::sun.darker(105), Palette::sun.darker(140), 1);
}

void Pictograms::folder(Canvas &canvas, const QRectF &box, bool open)
{
    GridScope grid(canvas.painter(), box);
    const QColor body = Palette::sun;
    const QColor edge = QColor(0xc8, 0x8a, 0x10);
    QPainterPath back(QPointF(6, 22));
    back.lineTo(38, 22);
    back.lineTo(46, 30);
    back.lineTo(94, 30);
    back.lineTo(94, 86);
    back.lineTo(6, 86);
    back.closeSubpath();
    canvas.fill(back, body.darker(112), edge, 4);
    if (open) {
        canvas.fill(Shapes::rounded(QRectF(18, 16, 60, 56), 3), Palette::white, QColor(0xb0, 0xb0, 0xb0), 3);
        QPainterPath front(QPointF(20, 44));
        front.lineTo(98, 44);
        front.lineTo(84, 86);
        front.lineTo(6, 86);
        front.closeSubpath();
        canvas.fill(front, Canvas::vertical(QRectF(0, 44, 100, 42), body.lighter(115), body), edge, 4);
    } else {
        canvas.fill(Shapes::rounded(QRectF(6, 38, 88, 48), 4),
                    Canvas::vertical(QRectF(0, 38, 100, 48), body.lighter(118), body), edge, 4);
    }
}

void Pictograms::magnifier(Canvas &canvas, const QRectF &box, const QColor &colour)
{
    GridScope grid(canvas.painter(), box);
    QPainter &p = canvas.painter();
    canvas.fill(Shapes::ellipse(QRectF(10, 10, 56, 56)), QColor(255, 255, 255, 170));
    p.setPen(roundPen(colour, 13));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(10, 10, 56, 56));
    p.setPen(roundPen(colour, 18));
    p.drawLine(QPointF(64, 64), QPointF(88, 88));
}
