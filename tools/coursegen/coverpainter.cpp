#include "coverpainter.h"

#include "canvas.h"
#include "palette.h"
#include "shapes.h"

#include <QFontMetricsF>
#include <QtMath>

namespace {

QPen roundPen(const QColor &colour, qreal width)
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

} // namespace

CoverPainter::CoverPainter(const QString &title)
    : m_title(title)
{
}

QImage CoverPainter::paint() const
{
    Canvas canvas(width, height);
    sky(canvas);
    sun(canvas);
    hills(canvas);
    heading(canvas);
    gradeBadge(canvas);
    letterBlock(canvas, QPointF(84, 560), 86, QStringLiteral("А"), Palette::berry, true);
    letterBlock(canvas, QPointF(182, 560), 86, QStringLiteral("Б"), Palette::blue, true);
    letterBlock(canvas, QPointF(132, 470), 86, QStringLiteral("В"), Palette::grass, false);
    cat(canvas, QPointF(420, 600));
    spine(canvas);
    return canvas.finish();
}

void CoverPainter::sky(Canvas &canvas) const
{
    QPainter &p = canvas.painter();
    p.fillRect(canvas.rect(), Canvas::vertical(canvas.rect(), QColor(0x7f, 0xcc, 0xf2), QColor(0xe6, 0xf7, 0xff)));
    const QColor bands[] = {QColor(0xff, 0x6b, 0x6b), QColor(0xff, 0xa9, 0x4d), QColor(0xff, 0xdc, 0x5c),
                            QColor(0x7e, 0xd9, 0x57), QColor(0x5b, 0xb8, 0xeb), QColor(0x9b, 0x7b, 0xe0)};
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 6; ++i) {
        QColor colour = bands[i];
        colour.setAlpha(140);
        p.setPen(QPen(colour, 17, Qt::SolidLine, Qt::FlatCap));
        const qreal r = 330 - i * 16;
        p.drawArc(QRectF(300 - r, 540 - r, 2 * r, 2 * r), 0, 180 * 16);
    }
    for (const QRectF &box : {QRectF(40, 300, 150, 64), QRectF(400, 340, 130, 56)}) {
        const QPainterPath cloud = Shapes::cloud(box);
        canvas.fill(cloud.translated(0, 5), QColor(0x90, 0xc0, 0xe0, 70));
        canvas.fill(cloud, Canvas::vertical(box, Palette::white, QColor(0xee, 0xf6, 0xff)));
    }
}

void CoverPainter::sun(Canvas &canvas) const
{
    const QPointF centre(505, 95);
    QPainter &p = canvas.painter();
    p.save();
    p.setPen(roundPen(QColor(0xff, 0xc2, 0x2e), 8));
    for (int i = 0; i < 12; ++i) {
        const qreal angle = i * M_PI / 6 + 0.13;
        const QPointF direction(std::cos(angle), std::sin(angle));
        p.drawLine(centre + direction * 58, centre + direction * 76);
    }
    p.restore();
    canvas.glossyBall(centre, 48, QColor(0xff, 0xcc, 0x33));
    // A smiling face: the cover is meant for six-year-olds.
    canvas.fill(Shapes::ellipse(QRectF(486, 86, 9, 12)), Palette::ink);
    canvas.fill(Shapes::ellipse(QRectF(515, 86, 9, 12)), Palette::ink);
    canvas.fill(Shapes::ellipse(QRectF(472, 104, 14, 9)), QColor(0xff, 0x8a, 0x80, 150));
    canvas.fill(Shapes::ellipse(QRectF(524, 104, 14, 9)), QColor(0xff, 0x8a, 0x80, 150));
    p.save();
    p.setPen(roundPen(Palette::ink, 4));
    p.drawArc(QRectF(490, 96, 30, 22), 200 * 16, 140 * 16);
    p.restore();
}

void CoverPainter::hills(Canvas &canvas) const
{
    const QRectF back(-200, 560, 700, 420);
    const QRectF front(150, 600, 700, 420);
    canvas.fill(Shapes::ellipse(back), Canvas::vertical(back, QColor(0xa8, 0xe0, 0x78), QColor(0x7c, 0xc4, 0x50)));
    canvas.fill(Shapes::ellipse(front), Canvas::vertical(front, QColor(0x96, 0xd6, 0x66), QColor(0x64, 0xb0, 0x3e)));
    const QRectF ground(0, 640, width, 160);
    canvas.fill(Shapes::rounded(ground.adjusted(-40, 0, 40, 80), 60),
                Canvas::vertical(ground, QColor(0x8c, 0xd0, 0x5e), QColor(0x5a, 0xa8, 0x38)));
    const QColor petals[] = {Palette::white, Palette::sun, Palette::berry, Palette::violet};
    for (int i = 0; i < 14; ++i) {
        const QPointF at(40 + i * 41 + (i % 3) * 7, 700 + (i * 37) % 70);
        for (int k = 0; k < 5; ++k) {
            const qreal a = k * 2 * M_PI / 5;
            canvas.fill(Shapes::ellipse(QRectF(at.x() + std::cos(a) * 6 - 4, at.y() + std::sin(a) * 6 - 4, 8, 8)),
                        petals[i % 4]);
        }
        canvas.fill(Shapes::ellipse(QRectF(at.x() - 3, at.y() - 3, 6, 6)), QColor(0xff, 0xa0, 0x10));
    }
}

void CoverPainter::heading(Canvas &canvas) const
{
    // Every letter in its own colour and a little tilt, like letters cut from paper.
    const QFont font = Canvas::font(100);
    const QFontMetricsF metrics(font);
    const QColor colours[] = {Palette::berry, Palette::orange, QColor(0xf0, 0xb4, 0x00), Palette::grass,
                              Palette::blue, Palette::violet};
    qreal total = 0;
    for (const QChar letter : m_title)
        total += metrics.horizontalAdvance(letter) + 4;
    const qreal scale = qMin<qreal>(1.0, 520 / total);
    qreal x = (width - total * scale) / 2;
    QPainter &p = canvas.painter();
    for (int i = 0; i < m_title.size(); ++i) {
        const QString letter = m_title.mid(i, 1);
        const qreal advance = (metrics.horizontalAdvance(letter) + 4) * scale;
        p.save();
        p.translate(x + advance / 2, 200 + ((i % 2) ? 8 : -6));
        p.rotate((i % 2) ? 5 : -5);
        p.scale(scale, scale);
        const QRectF box(-advance / scale / 2, -60, advance / scale, 120);
        canvas.lettering(letter, font, box.translated(3, 5), QColor(0x3a, 0x2e, 0x26, 90), Qt::transparent, 0);
        canvas.lettering(letter, font, box, colours[i % 6], Palette::white, 5);
        p.restore();
        x += advance;
    }
}

void CoverPainter::gradeBadge(Canvas &canvas) const
{
    const QRectF ribbon(180, 282, 240, 58);
    const QPainterPath shape = Shapes::rounded(ribbon, 29);
    canvas.shadow(shape, QPointF(0, 3), 60);
    canvas.glossy(shape, Palette::coral, Palette::coral.darker(140));
    canvas.lettering(QStringLiteral("1 класс"), Canvas::font(34), ribbon, Palette::white,
                     Palette::coral.darker(150), 1.5);
}

void CoverPainter::letterBlock(Canvas &canvas, QPointF at, qreal size, const QString &letter,
                               const QColor &colour, bool onGround) const
{
    // A toy cube seen slightly from above and the right.
    const qreal depth = size * 0.28;
    const QRectF front(at.x(), at.y(), size, size);
    QPainterPath top(front.topLeft());
    top.lineTo(front.left() + depth, front.top() - depth);
    top.lineTo(front.right() + depth, front.top() - depth);
    top.lineTo(front.topRight());
    top.closeSubpath();
    QPainterPath side(front.topRight());
    side.lineTo(front.right() + depth, front.top() - depth);
    side.lineTo(front.right() + depth, front.bottom() - depth);
    side.lineTo(front.bottomRight());
    side.closeSubpath();
    const QColor edge = colour.darker(150);
    if (onGround) {
        canvas.fill(Shapes::ellipse(QRectF(at.x() - 6, front.bottom() - 10, size + depth + 16, 20)),
                    QColor(0x30, 0x60, 0x20, 60));
    }
    canvas.fill(top, colour.lighter(135), edge, 2);
    canvas.fill(side, colour.darker(118), edge, 2);
    canvas.fill(Shapes::rounded(front, 6), Canvas::vertical(front, colour.lighter(112), colour), edge, 2);
    const QRectF face = front.adjusted(10, 10, -10, -10);
    canvas.fill(Shapes::rounded(face, 8), Palette::paper);
    canvas.lettering(letter, Canvas::font(size * 0.6), face, colour.darker(110), Qt::transparent, 0);
}

void CoverPainter::cat(Canvas &canvas, QPointF at) const
{
    const QColor fur(0xff, 0xa6, 0x4d);
    const QColor edge = fur.darker(150);
    QPainter &p = canvas.painter();
    // Tail first, so the body covers its root.
    QPainterPath tail(at + QPointF(50, 110));
    tail.cubicTo(at + QPointF(120, 120), at + QPointF(120, 40), at + QPointF(90, 20));
    p.save();
    p.setPen(roundPen(edge, 20));
    p.drawPath(tail);
    p.setPen(roundPen(fur, 15));
    p.drawPath(tail);
    p.restore();

    canvas.fill(Shapes::ellipse(QRectF(at.x() - 60, at.y() + 130, 120, 22)), QColor(0x30, 0x60, 0x20, 60));
    const QRectF body(at.x() - 58, at.y() + 10, 116, 134);
    canvas.fill(Shapes::ellipse(body), Canvas::vertical(body, fur.lighter(110), fur.darker(105)), edge, 2.5);
    canvas.fill(Shapes::ellipse(QRectF(at.x() - 30, at.y() + 50, 60, 80)), QColor(0xff, 0xf0, 0xdc));
    for (const qreal dx : {-28.0, 28.0})
        canvas.fill(Shapes::ellipse(QRectF(at.x() + dx - 16, at.y() + 126, 32, 20)), fur.lighter(105), edge, 2);

    for (const qreal s : {-1.0, 1.0}) {
        const QPainterPath ear = Shapes::triangle(at + QPointF(s * 20, -62), at + QPointF(s * 58, -84),
                                                  at + QPointF(s * 54, -30));
        canvas.fill(ear, fur, edge, 2.5);
        canvas.fill(Shapes::triangle(at + QPointF(s * 28, -58), at + QPointF(s * 52, -74), at + QPointF(s * 49, -40)),
                    QColor(0xff, 0xb8, 0xc0));
    }
    const QRectF head(at.x() - 64, at.y() - 72, 128, 104);
    canvas.fill(Shapes::ellipse(head), Canvas::vertical(head, fur.lighter(115), fur), edge, 2.5);
    for (const qreal s : {-1.0, 1.0}) {
        canvas.fill(Shapes::ellipse(QRectF(at.x() + s * 26 - 10, at.y() - 40, 20, 26)), Palette::ink);
        canvas.fill(Shapes::ellipse(QRectF(at.x() + s * 26 - 5, at.y() - 36, 8, 9)), Palette::white);
        canvas.fill(Shapes::ellipse(QRectF(at.x() + s * 40 - 10, at.y() - 8, 20, 11)), QColor(0xff, 0x7a, 0x7a, 120));
    }
    canvas.fill(Shapes::triangle(at + QPointF(-8, -10), at + QPointF(8, -10), at + QPointF(0, -1)),
                QColor(0xf0, 0x6a, 0x80), QColor(0xf0, 0x6a, 0x80), 2);
    p.save();
    p.setPen(roundPen(edge, 2.5));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(at.x() - 14, at.y() - 12, 14, 14), 200 * 16, 160 * 16);
    p.drawArc(QRectF(at.x(), at.y() - 12, 14, 14), 180 * 16, 160 * 16);
    p.setPen(roundPen(QColor(0x8a, 0x50, 0x20, 160), 1.8));
    for (const qreal s : {-1.0, 1.0}) {
        for (const qreal dy : {-8.0, 0.0, 8.0})
            p.drawLine(at + QPointF(s * 22, -4 + dy / 3), at + QPointF(s * 62, -10 + dy));
    }
    p.restore();
}

void CoverPainter::spine(Canvas &canvas) const
{
    // A darker band and a crease on the left make the picture read as a book cover.
    QLinearGradient band(QPointF(0, 0), QPointF(36, 0));
    band.setColorAt(0, QColor(0x40, 0x20, 0x10, 110));
    band.setColorAt(0.55, QColor(0x40, 0x20, 0x10, 40));
    band.setColorAt(0.6, QColor(255, 255, 255, 70));
    band.setColorAt(1, QColor(255, 255, 255, 0));
    canvas.painter().fillRect(QRectF(0, 0, 36, height), band);
}
