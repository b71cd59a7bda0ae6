#include "windowart.h"

#include "canvas.h"
#include "outputfolder.h"
#include "palette.h"
#include "shapes.h"

#include <QtMath>

namespace {

const QColor rainbow[] = {QColor(0xff, 0x6b, 0x6b), QColor(0xff, 0xa9, 0x4d), QColor(0xff, 0xdc, 0x5c),
                          QColor(0x7e, 0xd9, 0x57), QColor(0x5b, 0xc0, 0xeb), QColor(0x9b, 0x7b, 0xe0)};

void drawRainbow(Canvas &canvas, QPointF centre, qreal outer, qreal band, int alpha)
{
    QPainter &p = canvas.painter();
    p.save();
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 6; ++i) {
        QColor colour = rainbow[i];
        colour.setAlpha(alpha);
        p.setPen(QPen(colour, band + 0.5, Qt::SolidLine, Qt::FlatCap));
        const qreal r = outer - band / 2 - i * band;
        p.drawArc(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r), 0, 180 * 16);
    }
    p.restore();
}

void drawSun(Canvas &canvas, QPointF centre, qreal radius)
{
    QRadialGradient glow(centre, radius * 2.6);
    glow.setColorAt(0, QColor(255, 240, 170, 170));
    glow.setColorAt(1, QColor(255, 240, 170, 0));
    canvas.fill(Shapes::ellipse(QRectF(centre.x() - radius * 2.6, centre.y() - radius * 2.6,
                                       radius * 5.2, radius * 5.2)), glow);
    QPainter &p = canvas.painter();
    p.save();
    p.setPen(QPen(QColor(0xff, 0xc8, 0x3a), radius * 0.16, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 12; ++i) {
        const qreal angle = i * M_PI / 6;
        const QPointF direction(std::cos(angle), std::sin(angle));
        p.drawLine(centre + direction * radius * 1.25, centre + direction * radius * 1.6);
    }
    p.restore();
    QRadialGradient body(centre - QPointF(radius * 0.3, radius * 0.3), radius * 1.2);
    body.setColorAt(0, QColor(0xff, 0xf3, 0x9a));
    body.setColorAt(1, QColor(0xff, 0xc4, 0x2e));
    canvas.fill(Shapes::ellipse(QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius)),
                body);
}

void drawCloud(Canvas &canvas, const QRectF &box, int alpha)
{
    const QPainterPath cloud = Shapes::cloud(box);
    canvas.fill(cloud.translated(0, box.height() * 0.08), QColor(0x9c, 0xc8, 0xe8, alpha / 3));
    canvas.fill(cloud, Canvas::vertical(box, QColor(255, 255, 255, alpha), QColor(0xee, 0xf6, 0xff, alpha)));
}

// A hill is half an ellipse of grass with a lighter crown.
void drawHill(Canvas &canvas, const QRectF &box, const QColor &colour)
{
    const QPainterPath hill = Shapes::ellipse(box);
    canvas.fill(hill, Canvas::vertical(box, colour.lighter(112), colour.darker(108)));
}

} // namespace

WindowArt::WindowArt(OutputFolder &out)
    : m_out(out)
{
}

void WindowArt::write()
{
    writeMainFrame();
    writeHeadStrip();
    writeWelcomeBackground();
    writePaperBackground();
    writeCaption();
    writeAuthFrame();
    writeAuthBackground();
}

void WindowArt::scatterClouds(Canvas &canvas, int count, qreal minWidth, qreal maxWidth, qreal top,
                              qreal bottom, int alpha)
{
    const qreal width = canvas.rect().width();
    for (int i = 0; i < count; ++i) {
        const qreal w = minWidth + m_random.bounded(1.0) * (maxWidth - minWidth);
        const qreal h = w * 0.45;
        // Spread evenly with some jitter, so no two clouds pile up.
        const qreal x = (i + 0.15 + m_random.bounded(0.7)) * width / count - w / 2;
        const qreal y = top + m_random.bounded(1.0) * qMax<qreal>(0, bottom - top - h);
        drawCloud(canvas, QRectF(x, y, w, h), alpha);
    }
}

void WindowArt::writeMainFrame()
{
    // Only the outer few pixels are visible: a crayon-orange rim with a light inner
    // line. Everything inside the rim stays transparent, the backgrounds show there.
    Canvas canvas(120, 72);
    const QRectF outer(0.5, 0.5, 119, 71);
    QPainterPath rim = Shapes::rounded(outer, 14);
    rim = rim.subtracted(Shapes::rounded(QRectF(4, 5, 112, 63), 10));
    // The shade settles by row 32: every row below is stretched or must join it
    // without a seam.
    QLinearGradient shade = Canvas::vertical(outer, QColor(0xf6, 0xa5, 0x55), Palette::wood);
    shade.setColorAt(32.0 / 72, Palette::wood);
    canvas.fill(rim, shade, QColor(0xa8, 0x62, 0x2c), 1);
    QPainter &p = canvas.painter();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 150), 1));
    p.drawRoundedRect(QRectF(2, 2, 116, 68), 12, 12);
    p.setPen(QPen(QColor(0x8a, 0x4e, 0x22, 110), 1));
    p.drawRoundedRect(QRectF(4.5, 5.5, 111, 62), 9.5, 9.5);
    m_out.writeImage(QStringLiteral("theme/windows/main/frame.png"), canvas.finish());
}

void WindowArt::writeHeadStrip()
{
    // Anchored at its right edge: the right end is what every window shows, so the
    // rainbow sits there, behind the window buttons' quiet corner.
    Canvas canvas(1920, 52);
    canvas.painter().fillRect(canvas.rect(), Canvas::vertical(canvas.rect(), QColor(0x8f, 0xd3, 0xf4),
                                                              QColor(0xd8, 0xf0, 0xfd)));
    drawRainbow(canvas, QPointF(1640, 80), 92, 7, 120);
    drawSun(canvas, QPointF(1840, 16), 11);
    scatterClouds(canvas, 16, 60, 120, 4, 54, 235);
    // A thin grass line anchors the strip to the sheet below it.
    QLinearGradient grass = Canvas::vertical(QRectF(0, 47, 1, 5), QColor(0x9b, 0xdb, 0x6c), QColor(0x6c, 0xbb, 0x45));
    canvas.painter().fillRect(QRectF(0, 47, 1920, 5), grass);
    m_out.writeImage(QStringLiteral("theme/windows/main/bg_head.jpg"), canvas.finish(), 92);
}

void WindowArt::writeWelcomeBackground()
{
    Canvas canvas(1600, 1000);
    QLinearGradient sky = Canvas::vertical(canvas.rect(), QColor(0x9a, 0xd8, 0xf7), QColor(0xee, 0xf9, 0xff));
    canvas.painter().fillRect(canvas.rect(), sky);
    drawSun(canvas, QPointF(1330, 190), 70);
    drawRainbow(canvas, QPointF(420, 820), 520, 26, 80);
    // Placed by hand: clouds must neither hide the sun nor crowd the rainbow's top.
    for (const QRectF &cloud : {QRectF(90, 130, 250, 110), QRectF(560, 70, 220, 95), QRectF(880, 300, 280, 120),
                                QRectF(250, 380, 200, 85), QRectF(1420, 420, 190, 80)})
        drawCloud(canvas, cloud, 235);
    drawHill(canvas, QRectF(-300, 640, 1200, 700), QColor(0xa6, 0xdc, 0x78));
    drawHill(canvas, QRectF(700, 680, 1300, 640), QColor(0x93, 0xd1, 0x67));
    drawHill(canvas, QRectF(200, 790, 1500, 600), QColor(0x7f, 0xc6, 0x54));
    // Flowers dot the nearest hill; seeded, so they never move between builds.
    const QColor petals[] = {Palette::berry, Palette::sun, Palette::white, Palette::violet};
    for (int i = 0; i < 40; ++i) {
        const QPointF centre(m_random.bounded(1600.0), 880 + m_random.bounded(110.0));
        const qreal r = 5 + m_random.bounded(4.0);
        const QColor colour = petals[i % 4];
        for (int k = 0; k < 5; ++k) {
            const qreal a = k * 2 * M_PI / 5;
            canvas.fill(Shapes::ellipse(QRectF(centre.x() + std::cos(a) * r - r * 0.6,
                                               centre.y() + std::sin(a) * r - r * 0.6, r * 1.2, r * 1.2)),
                        colour);
        }
        canvas.fill(Shapes::ellipse(QRectF(centre.x() - r * 0.45, centre.y() - r * 0.45, r * 0.9, r * 0.9)),
                    QColor(0xff, 0xb0, 0x20));
    }
    m_out.writeImage(QStringLiteral("theme/windows/main/bg_body1.jpg"), canvas.finish(), 90);
}

void WindowArt::writePaperBackground()
{
    // Drawn centred at natural size, so a window of any size sees only a middle cut.
    // The reading area in the middle stays clean; faint letters and stars get denser
    // further out, so every window size finds a few near its edges.
    Canvas canvas(2560, 1600);
    QRadialGradient paper(canvas.rect().center(), 1500);
    paper.setColorAt(0, QColor(0xff, 0xfb, 0xf0));
    paper.setColorAt(1, QColor(0xfb, 0xef, 0xd6));
    canvas.painter().fillRect(canvas.rect(), paper);

    const QString alphabet = QStringLiteral("АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЭЮЯ");
    const QColor tints[] = {Palette::coral, Palette::sky, Palette::grass, Palette::violet, Palette::sun,
                            Palette::berry};
    const QPointF middle = canvas.rect().center();
    int placed = 0;
    while (placed < 170) {
        const QPointF at(m_random.bounded(2560.0), m_random.bounded(1600.0));
        const QPointF offset = at - middle;
        const qreal reach = qMax(std::abs(offset.x()) / 1280.0, std::abs(offset.y()) / 800.0);
        if (reach < 0.45 || m_random.bounded(1.0) > reach)
            continue;
        QColor tint = tints[placed % 6];
        tint.setAlpha(30 + int(reach * 26));
        QPainter &p = canvas.painter();
        p.save();
        p.translate(at);
        p.rotate(m_random.bounded(50.0) - 25);
        if (placed % 3 == 0) {
            canvas.fill(Shapes::star(QPointF(0, 0), 14 + m_random.bounded(10.0), 7), tint);
        } else {
            const QString letter = alphabet.at(m_random.bounded(int(alphabet.size())));
            canvas.lettering(letter, Canvas::font(34 + m_random.bounded(26)), QRectF(-30, -30, 60, 60), tint,
                             Qt::transparent, 0);
        }
        p.restore();
        ++placed;
    }
    m_out.writeImage(QStringLiteral("theme/windows/main/bg_body2.jpg"), canvas.finish(), 90);
}

void WindowArt::writeCaption()
{
    Canvas canvas(300, 30);
    const QFont font = Canvas::font(21);
    const QString name = QStringLiteral("Веларин.");
    const QString grade = QStringLiteral("1 класс");
    const QFontMetricsF metrics(font);
    const qreal gap = metrics.horizontalAdvance(QLatin1Char(' '));
    const QRectF nameBox(4, 2, metrics.horizontalAdvance(name), 26);
    const QRectF gradeBox(nameBox.right() + gap, 2, metrics.horizontalAdvance(grade), 26);
    // A white halo keeps the title legible over clouds and rainbow alike.
    canvas.lettering(name, font, nameBox.translated(0, 1.2), QColor(0x60, 0x30, 0x10, 70), Qt::transparent, 0,
                     Qt::AlignLeft | Qt::AlignVCenter);
    canvas.lettering(name, font, nameBox, Palette::coral.darker(108), Palette::white, 2.2,
                     Qt::AlignLeft | Qt::AlignVCenter);
    canvas.lettering(grade, font, gradeBox.translated(0, 1.2), QColor(0x10, 0x30, 0x60, 70), Qt::transparent, 0,
                     Qt::AlignLeft | Qt::AlignVCenter);
    canvas.lettering(grade, font, gradeBox, Palette::blue.darker(115), Palette::white, 2.2,
                     Qt::AlignLeft | Qt::AlignVCenter);
    m_out.writeImage(QStringLiteral("theme/windows/main/caption.png"), canvas.finish());
}

void WindowArt::writeAuthFrame()
{
    // 48x48 with borders 2/35/2/2; the picture's size is also the window's minimum.
    Canvas canvas(48, 48, Palette::paper);
    const QColor edge = Palette::coral.darker(118);
    QLinearGradient band = Canvas::vertical(QRectF(0, 0, 48, 35), Palette::coral.lighter(112),
                                            Palette::coral.darker(106));
    band.setColorAt(0.5, Palette::coral);
    QPainter &p = canvas.painter();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(QRect(0, 0, 48, 35), band);
    p.fillRect(QRect(0, 1, 48, 1), QColor(255, 255, 255, 90));
    p.fillRect(QRect(0, 34, 48, 1), edge);
    p.fillRect(QRect(0, 35, 2, 13), edge);
    p.fillRect(QRect(46, 35, 2, 13), edge);
    p.fillRect(QRect(0, 46, 48, 2), edge);
    p.fillRect(QRect(0, 0, 48, 1), edge);
    p.fillRect(QRect(0, 0, 1, 35), edge);
    p.fillRect(QRect(47, 0, 1, 35), edge);
    m_out.writeImage(QStringLiteral("theme/windows/auth/frame.png"), canvas.finish());
}

void WindowArt::writeAuthBackground()
{
    Canvas canvas(800, 600);
    canvas.painter().fillRect(canvas.rect(), Canvas::vertical(canvas.rect(), QColor(0xff, 0xfb, 0xf1),
                                                              QColor(0xfd, 0xf0, 0xda)));
    // Faint polka dots in the corners only: the middle carries forms and materials.
    const QColor dots[] = {Palette::sky, Palette::sun, Palette::berry, Palette::grass};
    for (int i = 0; i < 90; ++i) {
        const QPointF at(m_random.bounded(800.0), m_random.bounded(600.0));
        const qreal fromCentre = std::hypot((at.x() - 400) / 400, (at.y() - 300) / 300);
        if (fromCentre < 0.95)
            continue;
        QColor colour = dots[i % 4];
        colour.setAlpha(45);
        const qreal r = 6 + m_random.bounded(14.0);
        canvas.fill(Shapes::ellipse(QRectF(at.x() - r, at.y() - r, 2 * r, 2 * r)), colour);
    }
    m_out.writeImage(QStringLiteral("theme/windows/auth/bg_body.jpg"), canvas.finish(), 92);
}
