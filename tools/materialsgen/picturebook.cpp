#include "picturebook.h"

#include "picturepainter.h"

#include <QHash>
#include <QPainterPath>
#include <QtMath>

// Every drawing here is made on a 100 × 100 grid that paint() scales into the square.

namespace {

const QColor outline(60, 40, 30);

void fill(QPainter &p, const QColor &color)
{
    p.setPen(QPen(outline, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(color);
}

void line(QPainter &p, const QColor &color, double width)
{
    p.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
}

void eye(QPainter &p, const QPointF &at, double radius)
{
    fill(p, Qt::white);
    p.drawEllipse(at, radius, radius);
    fill(p, QColor(30, 30, 30));
    p.drawEllipse(at + QPointF(radius * 0.2, 0), radius * 0.45, radius * 0.45);
}

void owl(QPainter &p)
{
    fill(p, QColor(150, 100, 60));
    p.drawPolygon(QPolygonF({QPointF(24, 22), QPointF(30, 4), QPointF(40, 18)}));
    p.drawPolygon(QPolygonF({QPointF(76, 22), QPointF(70, 4), QPointF(60, 18)}));
    p.drawEllipse(QRectF(18, 10, 64, 86));
    fill(p, QColor(235, 205, 160));
    p.drawEllipse(QRectF(32, 50, 36, 42));
    fill(p, QColor(120, 80, 45));
    p.drawEllipse(QRectF(8, 46, 20, 36));
    p.drawEllipse(QRectF(72, 46, 20, 36));
    eye(p, QPointF(38, 34), 11);
    eye(p, QPointF(62, 34), 11);
    fill(p, QColor(250, 160, 30));
    p.drawPolygon(QPolygonF({QPointF(45, 44), QPointF(55, 44), QPointF(50, 54)}));
}

void stork(QPainter &p)
{
    line(p, QColor(230, 110, 40), 3);
    p.drawLine(QPointF(44, 66), QPointF(40, 97));
    p.drawLine(QPointF(54, 66), QPointF(60, 97));
    fill(p, Qt::white);
    p.drawEllipse(QRectF(26, 44, 52, 28));
    fill(p, QColor(40, 40, 40));
    p.drawPolygon(QPolygonF({QPointF(60, 48), QPointF(92, 56), QPointF(72, 66)}));
    line(p, outline, 6);
    p.drawLine(QPointF(34, 50), QPointF(24, 18));
    line(p, Qt::white, 4);
    p.drawLine(QPointF(34, 50), QPointF(24, 18));
    fill(p, Qt::white);
    p.drawEllipse(QPointF(24, 16), 8, 8);
    fill(p, QColor(230, 110, 40));
    p.drawPolygon(QPolygonF({QPointF(17, 13), QPointF(17, 19), QPointF(0, 20)}));
    fill(p, QColor(30, 30, 30));
    p.drawEllipse(QPointF(22, 14), 1.8, 1.8);
}

void watermelon(QPainter &p)
{
    const QRectF body(8, 14, 84, 72);
    fill(p, QColor(70, 160, 60));
    p.drawEllipse(body);
    p.save();
    QPainterPath inside;
    inside.addEllipse(body);
    p.setClipPath(inside);
    line(p, QColor(30, 100, 40), 5);
    for (int i = -2; i <= 2; ++i)
        p.drawEllipse(QRectF(50 + i * 17 - 5, 6, 10 + qAbs(i) * 4, 88));
    p.restore();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(outline, 1.6));
    p.drawEllipse(body);
    fill(p, QColor(120, 80, 40));
    p.drawRect(QRectF(47, 8, 6, 9));
}

void donkey(QPainter &p)
{
    fill(p, QColor(150, 150, 160));
    for (double x : {30.0, 40.0, 62.0, 72.0})
        p.drawRect(QRectF(x, 66, 7, 28));
    p.drawRoundedRect(QRectF(24, 44, 58, 30), 14, 14);
    p.drawPolygon(QPolygonF({QPointF(22, 30), QPointF(14, 2), QPointF(26, 24)}));
    p.drawPolygon(QPolygonF({QPointF(30, 28), QPointF(30, 0), QPointF(36, 26)}));
    p.drawRoundedRect(QRectF(6, 22, 30, 36), 12, 12);
    fill(p, QColor(200, 200, 205));
    p.drawEllipse(QRectF(4, 42, 20, 16));
    fill(p, QColor(70, 60, 60));
    p.drawEllipse(QPointF(22, 34), 2.5, 2.5);
    line(p, QColor(70, 60, 60), 3);
    p.drawLine(QPointF(82, 50), QPointF(94, 66));
}

void dog(QPainter &p)
{
    fill(p, QColor(200, 140, 80));
    for (double x : {34.0, 46.0, 66.0, 76.0})
        p.drawRect(QRectF(x, 64, 8, 28));
    p.drawRoundedRect(QRectF(30, 44, 58, 28), 12, 12);
    line(p, QColor(200, 140, 80), 6);
    p.drawLine(QPointF(86, 50), QPointF(96, 34));
    fill(p, QColor(200, 140, 80));
    p.drawEllipse(QRectF(6, 18, 40, 38));
    fill(p, QColor(120, 70, 40));
    p.drawEllipse(QRectF(2, 20, 12, 28));
    p.drawEllipse(QRectF(38, 20, 12, 28));
    fill(p, QColor(30, 30, 30));
    p.drawEllipse(QPointF(19, 32), 2.5, 2.5);
    p.drawEllipse(QPointF(33, 32), 2.5, 2.5);
    p.drawEllipse(QPointF(26, 44), 4, 3);
}

void cow(QPainter &p)
{
    fill(p, Qt::white);
    for (double x : {34.0, 46.0, 66.0, 78.0})
        p.drawRect(QRectF(x, 66, 8, 28));
    p.drawRoundedRect(QRectF(30, 40, 62, 32), 12, 12);
    fill(p, QColor(40, 40, 40));
    p.drawEllipse(QRectF(44, 44, 16, 12));
    p.drawEllipse(QRectF(70, 52, 12, 14));
    fill(p, QColor(230, 220, 200));
    p.drawPolygon(QPolygonF({QPointF(10, 20), QPointF(4, 6), QPointF(16, 16)}));
    p.drawPolygon(QPolygonF({QPointF(34, 20), QPointF(40, 6), QPointF(28, 16)}));
    fill(p, Qt::white);
    p.drawRoundedRect(QRectF(6, 14, 32, 40), 12, 12);
    fill(p, QColor(250, 180, 190));
    p.drawRoundedRect(QRectF(6, 40, 32, 18), 8, 8);
    fill(p, QColor(30, 30, 30));
    p.drawEllipse(QPointF(15, 28), 2.5, 2.5);
    p.drawEllipse(QPointF(29, 28), 2.5, 2.5);
}

void bird(QPainter &p)
{
    fill(p, QColor(70, 150, 230));
    p.drawPolygon(QPolygonF({QPointF(20, 60), QPointF(2, 50), QPointF(4, 72)}));
    p.drawEllipse(QRectF(14, 40, 56, 40));
    p.drawEllipse(QRectF(54, 24, 30, 30));
    fill(p, QColor(250, 190, 40));
    p.drawPolygon(QPolygonF({QPointF(82, 36), QPointF(98, 41), QPointF(82, 46)}));
    fill(p, QColor(40, 110, 190));
    p.drawEllipse(QRectF(28, 46, 30, 18));
    fill(p, QColor(30, 30, 30));
    p.drawEllipse(QPointF(72, 36), 2.5, 2.5);
    line(p, QColor(230, 130, 30), 2);
    p.drawLine(QPointF(40, 80), QPointF(38, 94));
    p.drawLine(QPointF(50, 80), QPointF(52, 94));
}

void rainCloud(QPainter &p)
{
    line(p, QColor(60, 130, 220), 3);
    for (int i = 0; i < 5; ++i)
        p.drawLine(QPointF(22 + i * 14, 68 + (i % 2) * 6), QPointF(18 + i * 14, 80 + (i % 2) * 6));
    fill(p, QColor(200, 215, 230));
    QPainterPath cloud;
    cloud.setFillRule(Qt::WindingFill); // overlapping puffs merge into one outline
    cloud.addEllipse(QRectF(10, 30, 36, 32));
    cloud.addEllipse(QRectF(30, 14, 42, 44));
    cloud.addEllipse(QRectF(56, 28, 36, 32));
    cloud.addRoundedRect(QRectF(10, 42, 82, 22), 11, 11);
    p.drawPath(cloud.simplified());
}

void child(QPainter &p, const QColor &clothes, bool girl)
{
    fill(p, QColor(250, 210, 180));
    p.drawRect(QRectF(36, 84, 8, 14));
    p.drawRect(QRectF(56, 84, 8, 14));
    line(p, QColor(250, 210, 180), 6);
    p.drawLine(QPointF(32, 50), QPointF(18, 70));
    p.drawLine(QPointF(68, 50), QPointF(82, 70));
    fill(p, clothes);
    if (girl)
        p.drawPolygon(QPolygonF({QPointF(38, 44), QPointF(62, 44), QPointF(76, 88), QPointF(24, 88)}));
    else
        p.drawRoundedRect(QRectF(32, 44, 36, 44), 6, 6);
    fill(p, girl ? QColor(200, 110, 40) : QColor(110, 70, 40));
    p.drawEllipse(QRectF(28, 4, 44, 42));
    if (girl) {
        p.drawEllipse(QRectF(16, 18, 16, 26));
        p.drawEllipse(QRectF(68, 18, 16, 26));
    }
    fill(p, QColor(250, 215, 185));
    p.drawEllipse(QRectF(32, 12, 36, 34));
    fill(p, QColor(40, 40, 40));
    p.drawEllipse(QPointF(43, 27), 2.2, 2.2);
    p.drawEllipse(QPointF(57, 27), 2.2, 2.2);
    line(p, QColor(200, 60, 60), 1.8);
    p.drawArc(QRectF(42, 28, 16, 10), 200 * 16, 140 * 16);
}

void girl(QPainter &p)
{
    child(p, QColor(240, 90, 120), true);
}

void boy(QPainter &p)
{
    child(p, QColor(70, 140, 230), false);
}

void school(QPainter &p)
{
    fill(p, QColor(250, 200, 150));
    p.drawRect(QRectF(6, 34, 88, 62));
    fill(p, QColor(200, 70, 60));
    p.drawPolygon(QPolygonF({QPointF(0, 36), QPointF(50, 10), QPointF(100, 36)}));
    fill(p, QColor(150, 210, 250));
    for (double x : {14.0, 34.0, 58.0, 78.0}) {
        p.drawRect(QRectF(x, 44, 10, 12));
        p.drawRect(QRectF(x, 64, 10, 12));
    }
    fill(p, QColor(130, 80, 40));
    p.drawRect(QRectF(44, 70, 12, 26));
    fill(p, Qt::white);
    p.drawEllipse(QPointF(50, 27), 6, 6);
    line(p, outline, 1.2);
    p.drawLine(QPointF(50, 27), QPointF(50, 23));
    p.drawLine(QPointF(50, 27), QPointF(53, 27));
}

void wateringCan(QPainter &p)
{
    fill(p, QColor(80, 170, 120));
    p.drawPolygon(QPolygonF({QPointF(64, 60), QPointF(94, 28), QPointF(98, 32), QPointF(70, 70)}));
    p.drawRoundedRect(QRectF(20, 40, 48, 46), 6, 6);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(80, 170, 120), 6));
    p.drawArc(QRectF(6, 36, 26, 34), 90 * 16, 180 * 16);
    line(p, QColor(60, 130, 220), 2);
    p.drawLine(QPointF(98, 36), QPointF(96, 50));
    p.drawLine(QPointF(94, 38), QPointF(90, 52));
}

void chip(QPainter &p, const QColor &color)
{
    fill(p, color);
    p.drawRoundedRect(QRectF(14, 14, 72, 72), 10, 10);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 90));
    p.drawRoundedRect(QRectF(22, 20, 56, 20), 8, 8);
}

void spool(QPainter &p)
{
    fill(p, QColor(230, 60, 80));
    p.drawRect(QRectF(30, 22, 40, 56));
    line(p, QColor(180, 30, 50), 1.5);
    for (int y = 26; y < 78; y += 5)
        p.drawLine(QPointF(30, y), QPointF(70, y + 2));
    fill(p, QColor(210, 160, 100));
    p.drawRoundedRect(QRectF(20, 12, 60, 12), 4, 4);
    p.drawRoundedRect(QRectF(20, 76, 60, 12), 4, 4);
    line(p, QColor(230, 60, 80), 2);
    p.drawLine(QPointF(70, 60), QPointF(92, 92));
}

void face(QPainter &p)
{
    fill(p, QColor(250, 215, 185));
    p.drawEllipse(QRectF(14, 10, 72, 80));
    fill(p, QColor(40, 40, 40));
    p.drawEllipse(QPointF(36, 40), 3, 3);
    p.drawEllipse(QPointF(64, 40), 3, 3);
    fill(p, QColor(250, 160, 140));
    QPainterPath nose;
    nose.moveTo(50, 40);
    nose.cubicTo(44, 58, 40, 64, 48, 66);
    nose.cubicTo(56, 68, 62, 64, 56, 60);
    nose.closeSubpath();
    p.drawPath(nose);
    line(p, QColor(200, 60, 60), 2);
    p.drawArc(QRectF(38, 62, 24, 14), 200 * 16, 140 * 16);
}

void sky(QPainter &p)
{
    fill(p, QColor(120, 200, 250));
    p.drawRoundedRect(QRectF(4, 8, 92, 84), 10, 10);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 220, 60));
    p.drawEllipse(QPointF(74, 30), 12, 12);
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(14, 46, 30, 20));
    p.drawEllipse(QRectF(30, 40, 30, 26));
    p.drawEllipse(QRectF(48, 50, 26, 16));
}

void horse(QPainter &p)
{
    fill(p, QColor(150, 90, 50));
    for (double x : {34.0, 44.0, 68.0, 78.0})
        p.drawRect(QRectF(x, 62, 7, 32));
    p.drawRoundedRect(QRectF(30, 40, 58, 28), 12, 12);
    p.drawPolygon(QPolygonF({QPointF(36, 46), QPointF(20, 14), QPointF(30, 10), QPointF(48, 42)}));
    p.drawRoundedRect(QRectF(4, 10, 30, 16), 7, 7);
    fill(p, QColor(70, 40, 20));
    p.drawPolygon(QPolygonF({QPointF(30, 10), QPointF(40, 14), QPointF(50, 40), QPointF(44, 42)}));
    line(p, QColor(70, 40, 20), 5);
    p.drawLine(QPointF(88, 46), QPointF(96, 70));
    fill(p, QColor(30, 30, 30));
    p.drawEllipse(QPointF(20, 15), 2, 2);
}

void whale(QPainter &p)
{
    line(p, QColor(60, 150, 230), 3);
    p.drawLine(QPointF(40, 30), QPointF(36, 12));
    p.drawLine(QPointF(40, 30), QPointF(46, 12));
    fill(p, QColor(70, 120, 200));
    p.drawPolygon(QPolygonF({QPointF(82, 56), QPointF(98, 38), QPointF(98, 72)}));
    p.drawEllipse(QRectF(4, 30, 84, 50));
    fill(p, QColor(190, 215, 240));
    p.drawChord(QRectF(8, 40, 76, 40), 190 * 16, 160 * 16);
    fill(p, QColor(30, 30, 30));
    p.drawEllipse(QPointF(24, 48), 2.5, 2.5);
}

void stump(QPainter &p)
{
    fill(p, QColor(150, 95, 50));
    p.drawRect(QRectF(22, 40, 56, 48));
    p.drawPolygon(QPolygonF({QPointF(22, 84), QPointF(8, 94), QPointF(30, 90)}));
    p.drawPolygon(QPolygonF({QPointF(78, 84), QPointF(94, 94), QPointF(70, 90)}));
    fill(p, QColor(230, 190, 130));
    p.drawEllipse(QRectF(22, 30, 56, 20));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(34, 34, 32, 12));
    p.drawEllipse(QRectF(44, 37, 12, 6));
}

void elk(QPainter &p)
{
    line(p, QColor(120, 80, 40), 3);
    p.drawLine(QPointF(22, 16), QPointF(10, 4));
    p.drawLine(QPointF(16, 10), QPointF(6, 14));
    p.drawLine(QPointF(28, 16), QPointF(38, 2));
    p.drawLine(QPointF(33, 9), QPointF(44, 10));
    fill(p, QColor(130, 85, 50));
    for (double x : {36.0, 46.0, 70.0, 80.0})
        p.drawRect(QRectF(x, 60, 7, 34));
    p.drawRoundedRect(QRectF(32, 36, 58, 30), 12, 12);
    p.drawPolygon(QPolygonF({QPointF(34, 44), QPointF(22, 18), QPointF(30, 16), QPointF(46, 40)}));
    p.drawRoundedRect(QRectF(6, 14, 28, 18), 8, 8);
    fill(p, QColor(30, 30, 30));
    p.drawEllipse(QPointF(22, 20), 2, 2);
}

using Painter = void (*)(QPainter &);

const QHash<QString, Painter> &ownPictures()
{
    static const QHash<QString, Painter> pictures = {
        {QStringLiteral("owl"), owl},
        {QStringLiteral("stork"), stork},
        {QStringLiteral("watermelon"), watermelon},
        {QStringLiteral("donkey"), donkey},
        {QStringLiteral("dog"), dog},
        {QStringLiteral("cow"), cow},
        {QStringLiteral("bird"), bird},
        {QStringLiteral("rain"), rainCloud},
        {QStringLiteral("girl"), girl},
        {QStringLiteral("boy"), boy},
        {QStringLiteral("school"), school},
        {QStringLiteral("wateringcan"), wateringCan},
        {QStringLiteral("chip-red"), [](QPainter &p) { chip(p, QColor(230, 60, 50)); }},
        {QStringLiteral("chip-blue"), [](QPainter &p) { chip(p, QColor(50, 110, 220)); }},
        {QStringLiteral("chip-green"), [](QPainter &p) { chip(p, QColor(60, 170, 70)); }},
        {QStringLiteral("spool"), spool},
        {QStringLiteral("face"), face},
        {QStringLiteral("sky"), sky},
        {QStringLiteral("horse"), horse},
        {QStringLiteral("whale"), whale},
        {QStringLiteral("stump"), stump},
        {QStringLiteral("elk"), elk},
    };
    return pictures;
}

// The textbook's own pictures, in PicturePainter's order.
const QStringList &pagePictures()
{
    static const QStringList names = {
        QStringLiteral("apple"), QStringLiteral("sun"), QStringLiteral("house"), QStringLiteral("tree"),
        QStringLiteral("cat"), QStringLiteral("fish"), QStringLiteral("balloons"), QStringLiteral("flower"),
        QStringLiteral("car"), QStringLiteral("boat"), QStringLiteral("butterfly"), QStringLiteral("snail"),
    };
    return names;
}

const QString letterPrefix = QStringLiteral("letter-");

bool isVowel(const QString &letter)
{
    return QStringLiteral("АОУЫЭЕЁИЮЯ").contains(letter.toUpper());
}

const QString alphabet = QStringLiteral("АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ");

} // namespace

bool PictureBook::has(const QString &name)
{
    if (name.startsWith(letterPrefix))
        return name.size() == letterPrefix.size() + 1 && alphabet.contains(name.back());
    return ownPictures().contains(name) || pagePictures().contains(name);
}

QStringList PictureBook::names()
{
    QStringList all = pagePictures() + ownPictures().keys();
    all.sort();
    return all;
}

QStringList PictureBook::letterNames()
{
    QStringList names;
    for (const QChar letter : alphabet)
        names.append(letterPrefix + letter);
    return names;
}

void PictureBook::letterCard(QPainter &p, const QString &letter)
{
    // Vowels red, consonants blue, as the textbook colours them.
    const QColor color = isVowel(letter) ? QColor(220, 50, 50) : QColor(40, 90, 200);
    fill(p, QColor(255, 250, 235));
    p.drawRoundedRect(QRectF(6, 6, 88, 88), 14, 14);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(68);
    font.setBold(true);
    QPainterPath glyph;
    glyph.addText(0, 0, font, letter);
    const QRectF box = glyph.boundingRect();
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPath(glyph.translated(50 - box.center().x(), 50 - box.center().y()));
}

void PictureBook::paint(QPainter &painter, const QRectF &square, const QString &name)
{
    const int page = pagePictures().indexOf(name);
    if (page >= 0) {
        PicturePainter::paint(painter, square, page);
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(square.topLeft());
    painter.scale(square.width() / 100.0, square.height() / 100.0);
    if (name.startsWith(letterPrefix) && has(name))
        letterCard(painter, name.mid(letterPrefix.size()));
    else if (const Painter own = ownPictures().value(name))
        own(painter);
    painter.restore();
}

QImage PictureBook::image(const QString &name, int side)
{
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    paint(painter, QRectF(0, 0, side, side), name);
    painter.end();
    return image;
}
