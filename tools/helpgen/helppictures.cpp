#include "helppictures.h"

#include "canvas.h"
#include "palette.h"
#include "picturepainter.h"
#include "shapes.h"

namespace {

constexpr int Width = 480;
constexpr int Height = 300;

// The markbook's colours, as the help's text names them.
const QColor Red(0xd8, 0x41, 0x3a);
const QColor Blue(0x2f, 0x6f, 0xb8);
const QColor Green(0x2f, 0x9a, 0x3a);
const QColor Grey(0x8a, 0x83, 0x7c);

// Picture book numbers (tools/pagesgen/picturepainter.cpp).
enum Drawing { Apple = 0, Sun = 1, House = 2, Cat = 4, Fish = 5, Balloons = 6, Boat = 9 };

const QRectF Whole(8, 8, Width - 16, Height - 16);
const QRectF TabRow(22, 46, Width - 44, 30);

} // namespace

QList<HelpPictures::Picture> HelpPictures::all()
{
    return {
        {QStringLiteral("pictures/start.png"), start()},
        {QStringLiteral("pictures/textbook.png"), textbook()},
        {QStringLiteral("pictures/catalogue.png"), catalogue()},
        {QStringLiteral("pictures/favorites.png"), favorites()},
        {QStringLiteral("pictures/markbook.png"), markbook()},
        {QStringLiteral("pictures/pupils.png"), pupils()},
        {QStringLiteral("pictures/marks.png"), marks()},
    };
}

void HelpPictures::label(Canvas &canvas, const QString &text, const QRectF &box, qreal size, Qt::Alignment align)
{
    QPainter &p = canvas.painter();
    p.setFont(Canvas::font(size, false));
    p.setPen(Palette::ink);
    p.drawText(box, int(align), text);
}

void HelpPictures::windowFrame(Canvas &canvas, const QRectF &box, const QString &title)
{
    const QPainterPath frame = Shapes::rounded(box, 14);
    canvas.shadow(frame, QPointF(3, 4), 70);
    canvas.fill(frame, Palette::wood, Palette::wood.darker(140), 2);
    canvas.fill(Shapes::rounded(box.adjusted(8, 32, -8, -8), 8), Palette::paper);
    canvas.lettering(title, Canvas::font(15), QRectF(box.left() + 16, box.top() + 4, box.width() - 32, 26),
                     Palette::white, Palette::wood.darker(160), 2.5, Qt::AlignLeft | Qt::AlignVCenter);
}

void HelpPictures::tabs(Canvas &canvas, const QRectF &row, int current)
{
    static const char *const names[] = {"Учебник", "Каталог", "Избранное", "Журнал"};
    const qreal width = row.width() / 4;
    for (int i = 0; i < 4; ++i) {
        const QRectF tab(row.left() + i * width + 2, row.top(), width - 4, row.height());
        canvas.glossy(Shapes::rounded(tab, 9), i == current ? Palette::sun : Palette::paperDeep, Palette::wood);
        label(canvas, QString::fromUtf8(names[i]), tab, 14, Qt::AlignCenter);
    }
}

void HelpPictures::textLines(Canvas &canvas, const QRectF &box, int lines)
{
    const qreal step = box.height() / lines;
    for (int i = 0; i < lines; ++i) {
        const qreal length = box.width() * (i % 3 == 2 ? 0.6 : 0.92);
        canvas.fill(Shapes::rounded(QRectF(box.left(), box.top() + i * step, length, step * 0.45), 2), Palette::grey.lighter(125));
    }
}

void HelpPictures::doublePage(Canvas &canvas, const QRectF &box, int leftPicture, int rightPicture)
{
    const QRectF left(box.left(), box.top(), box.width() / 2, box.height());
    const QRectF right = left.translated(left.width(), 0);
    canvas.shadow(Shapes::rounded(box, 4), QPointF(2, 3), 60);
    for (const QRectF &page : {left, right}) {
        canvas.fill(Shapes::rounded(page, 4), Palette::white, Palette::grey, 1);
        const qreal side = qMin(page.width(), page.height()) * 0.5;
        textLines(canvas, QRectF(page.left() + 12, page.top() + side + 20, page.width() - 24, page.bottom() - side - 28 - page.top()), 4);
    }
    const qreal side = qMin(left.width(), left.height()) * 0.5;
    PicturePainter::paint(canvas.painter(), QRectF(left.center().x() - side / 2, left.top() + 12, side, side), leftPicture);
    PicturePainter::paint(canvas.painter(), QRectF(right.center().x() - side / 2, right.top() + 12, side, side), rightPicture);
    canvas.painter().setPen(QPen(Palette::grey, 1.5));
    canvas.painter().drawLine(QPointF(right.left(), box.top() + 2), QPointF(right.left(), box.bottom() - 2));
}

void HelpPictures::checkBox(Canvas &canvas, QPointF at, bool checked)
{
    canvas.fill(Shapes::rounded(QRectF(at, QSizeF(18, 18)), 3), Palette::white, Palette::inkSoft, 1.5);
    if (!checked)
        return;
    QPainterPath tick;
    tick.moveTo(at + QPointF(3, 9));
    tick.lineTo(at + QPointF(7.5, 14));
    tick.lineTo(at + QPointF(16, 2));
    canvas.fill(Shapes::stroke(tick, 3.5), Palette::grass.darker(120));
}

void HelpPictures::folder(Canvas &canvas, const QRectF &box, const QColor &colour)
{
    QPainterPath shape;
    shape.addRoundedRect(QRectF(box.left(), box.top(), box.width() * 0.45, box.height() * 0.4), 3, 3);
    shape.addRoundedRect(box.adjusted(0, box.height() * 0.2, 0, 0), 4, 4);
    canvas.glossy(shape.simplified(), colour, colour.darker(140));
}

void HelpPictures::mark(Canvas &canvas, QPointF centre, const QColor &colour)
{
    canvas.glossyBall(centre, 11, colour);
}

void HelpPictures::arrow(Canvas &canvas, QPointF from, QPointF to)
{
    QLineF back(to, from);
    back.setLength(16); // the head, from the tip back
    QLineF across = back.normalVector();
    across.setLength(9);
    const QPointF wing = across.p2() - across.p1();
    QPainterPath shaft;
    shaft.moveTo(from);
    shaft.lineTo(back.p2());
    canvas.fill(Shapes::stroke(shaft, 5), Palette::coral);
    canvas.fill(Shapes::triangle(to, back.p2() + wing, back.p2() - wing), Palette::coral);
}

void HelpPictures::cursor(Canvas &canvas, QPointF tip)
{
    QPainterPath hand;
    hand.moveTo(tip);
    hand.lineTo(tip + QPointF(0, 26));
    hand.lineTo(tip + QPointF(7, 20));
    hand.lineTo(tip + QPointF(12, 31));
    hand.lineTo(tip + QPointF(17, 29));
    hand.lineTo(tip + QPointF(12, 18));
    hand.lineTo(tip + QPointF(21, 18));
    hand.closeSubpath();
    canvas.fill(hand, Palette::white, Palette::ink, 2);
}

// The pointing hand the mouse becomes over a picture that opens something.
void HelpPictures::hand(Canvas &canvas, QPointF fingertip)
{
    const auto part = [&](qreal x, qreal y, qreal w, qreal h) {
        QPainterPath path;
        path.addRoundedRect(QRectF(fingertip + QPointF(x, y), QSizeF(w, h)), qMin(w, h) / 2, qMin(w, h) / 2);
        return path;
    };
    const QPainterPath finger = part(-6, 0, 12, 34);
    const QPainterPath palm = part(-7, 20, 32, 30);
    const QPainterPath thumb = part(-18, 26, 18, 11);
    canvas.fill(finger.united(palm).united(thumb), Palette::white, Palette::ink, 2);
}

QImage HelpPictures::start()
{
    Canvas canvas(Width, Height, Palette::skyPale);
    windowFrame(canvas, Whole, QStringLiteral("Веларин"));
    canvas.glossyBall(QPointF(Whole.right() - 22, Whole.top() + 17), 11, Palette::sky);
    canvas.lettering(QStringLiteral("?"), Canvas::font(15), QRectF(Whole.right() - 33, Whole.top() + 6, 22, 22),
                     Palette::white, Palette::blue.darker(130), 2);
    tabs(canvas, TabRow, 0);
    doublePage(canvas, QRectF(90, 96, 300, 180), Sun, House);
    return canvas.finish();
}

QImage HelpPictures::textbook()
{
    Canvas canvas(Width, Height, Palette::skyPale);
    windowFrame(canvas, Whole, QStringLiteral("Учебник"));
    const QRectF spread(82, 50, 316, 196);
    doublePage(canvas, spread, Cat, Apple);
    canvas.glossy(Shapes::chevron(QRectF(24, 104, 44, 88), false), Palette::orange, Palette::coral.darker(120));
    canvas.glossy(Shapes::chevron(QRectF(Width - 68, 104, 44, 88), true), Palette::orange, Palette::coral.darker(120));
    // The cat lights up under the mouse, as a picture that opens a material does.
    canvas.painter().setPen(QPen(Palette::sun, 4));
    canvas.painter().setBrush(Qt::NoBrush);
    canvas.painter().drawRoundedRect(QRectF(119, 58, 86, 86), 8, 8);
    hand(canvas, QPointF(180, 96));
    canvas.fill(Shapes::rounded(QRectF(110, 260, 260, 10), 5), Palette::paperDeep, Palette::wood, 1);
    canvas.glossy(Shapes::rounded(QRectF(176, 251, 20, 28), 6), Palette::sun, Palette::wood);
    return canvas.finish();
}

QImage HelpPictures::catalogue()
{
    Canvas canvas(Width, Height, Palette::skyPale);
    windowFrame(canvas, Whole, QStringLiteral("Каталог"));
    tabs(canvas, TabRow, 1);
    chapterList(canvas);
    materialList(canvas);
    return canvas.finish();
}

void HelpPictures::chapterList(Canvas &canvas)
{
    const QRectF contents(22, 86, 170, 190);
    canvas.fill(Shapes::rounded(contents, 8), Palette::white, Palette::grey, 1);
    label(canvas, QStringLiteral("Оглавление"), QRectF(34, 90, 150, 24), 13);
    const bool checked[] = {true, true, false, true};
    for (int i = 0; i < 4; ++i) {
        checkBox(canvas, QPointF(34, 122 + i * 30), checked[i]);
        label(canvas, QStringLiteral("Глава %1").arg(i + 1), QRectF(60, 119 + i * 30, 120, 24), 13);
    }
    checkBox(canvas, QPointF(34, 246), false);
    label(canvas, QStringLiteral("Выделить все"), QRectF(60, 243, 130, 24), 12);
}

void HelpPictures::materialList(Canvas &canvas)
{
    const QRectF search(206, 86, 252, 30);
    canvas.fill(Shapes::rounded(search, 8), Palette::white, Palette::grey, 1);
    label(canvas, QStringLiteral("Найти: буква"), search.adjusted(10, 0, 0, 0), 13);
    canvas.painter().setPen(QPen(Palette::ink, 3));
    canvas.painter().setBrush(Qt::NoBrush);
    canvas.painter().drawEllipse(QPointF(436, 99), 7, 7);
    canvas.painter().drawLine(QPointF(441, 104), QPointF(448, 111));

    const QColor kinds[] = {Palette::coral, Palette::grass, Palette::violet};
    const char *const names[] = {"Буква А", "Собери слово", "Мультфильм"};
    for (int i = 0; i < 3; ++i) {
        const QRectF row(206, 124 + i * 32, 252, 28);
        canvas.fill(Shapes::rounded(row, 6), i == 0 ? Palette::sun.lighter(140) : Palette::white, Palette::grey, 1);
        canvas.glossy(Shapes::rounded(QRectF(row.left() + 6, row.top() + 5, 18, 18), 4), kinds[i], kinds[i].darker(130));
        label(canvas, QString::fromUtf8(names[i]), row.adjusted(32, 0, 0, 0), 13);
    }
    const QRectF preview(206, 226, 252, 50);
    canvas.fill(Shapes::rounded(preview, 8), Palette::white, Palette::grey, 1);
    PicturePainter::paint(canvas.painter(), QRectF(216, 230, 42, 42), Fish);
    label(canvas, QStringLiteral("Буква А"), preview.adjusted(62, 0, 0, 0), 13);
}

QImage HelpPictures::favorites()
{
    Canvas canvas(Width, Height, Palette::skyPale);
    windowFrame(canvas, Whole, QStringLiteral("Избранное"));
    tabs(canvas, TabRow, 2);
    canvas.fill(Shapes::rounded(QRectF(22, 86, 250, 190), 8), Palette::white, Palette::grey, 1);
    canvas.glossy(Shapes::star(QPointF(44, 106), 13, 6), Palette::sun, Palette::orange.darker(120));
    label(canvas, QStringLiteral("Избранное"), QRectF(64, 94, 180, 24), 15);
    folder(canvas, QRectF(52, 132, 30, 24), Palette::sky);
    label(canvas, QStringLiteral("Игры"), QRectF(90, 132, 150, 24), 14);
    folder(canvas, QRectF(52, 172, 30, 24), Palette::grass);
    label(canvas, QStringLiteral("Мультфильмы"), QRectF(90, 172, 160, 24), 14);
    PicturePainter::paint(canvas.painter(), QRectF(80, 206, 24, 24), Boat);
    label(canvas, QStringLiteral("Кораблик"), QRectF(110, 206, 150, 24), 13);
    PicturePainter::paint(canvas.painter(), QRectF(80, 238, 24, 24), Balloons);
    label(canvas, QStringLiteral("Шарики"), QRectF(110, 238, 150, 24), 13);

    // A material on its way into the folder "Игры".
    const QRectF card(326, 150, 120, 96);
    canvas.shadow(Shapes::rounded(card, 10), QPointF(4, 5), 70);
    canvas.fill(Shapes::rounded(card, 10), Palette::white, Palette::coral, 2);
    PicturePainter::paint(canvas.painter(), QRectF(356, 156, 60, 60), Cat);
    label(canvas, QStringLiteral("Котик"), QRectF(326, 216, 120, 26), 14, Qt::AlignCenter);
    arrow(canvas, QPointF(322, 168), QPointF(176, 144));
    cursor(canvas, QPointF(414, 188));
    return canvas.finish();
}

QImage HelpPictures::markbook()
{
    Canvas canvas(Width, Height, Palette::skyPale);
    windowFrame(canvas, Whole, QStringLiteral("Журнал"));
    tabs(canvas, TabRow, 3);
    const QRectF grid(22, 86, 436, 190);
    canvas.fill(Shapes::rounded(grid, 8), Palette::white, Palette::grey, 1);
    label(canvas, QStringLiteral("Результат"), QRectF(330, 90, 120, 24), 13, Qt::AlignCenter);
    const char *const names[] = {"Буква А", "Слоги", "Считаем до пяти", "Буква Н", "Собери слово"};
    const QColor marks[] = {Green, Blue, Red, Grey, Green};
    for (int i = 0; i < 5; ++i) {
        const QRectF row(30, 118 + i * 31, 420, 27);
        QColor tint = marks[i];
        tint.setAlpha(i == 3 ? 0 : 40);
        canvas.fill(Shapes::rounded(row, 6), tint);
        label(canvas, QString::fromUtf8(names[i]), row.adjusted(12, 0, 0, 0), 14);
        mark(canvas, QPointF(390, row.center().y()), marks[i]);
    }
    return canvas.finish();
}

QImage HelpPictures::pupils()
{
    Canvas canvas(Width, Height, Palette::skyPale);
    const QRectF dialog(60, 24, 360, 252);
    windowFrame(canvas, dialog, QStringLiteral("Введите имя пользователя"));
    label(canvas, QStringLiteral("Имя пользователя:"), QRectF(84, 72, 150, 28), 13);
    label(canvas, QStringLiteral("Пароль:"), QRectF(84, 116, 150, 28), 13);
    label(canvas, QStringLiteral("Подтверждение:"), QRectF(84, 160, 150, 28), 13);
    for (int i = 0; i < 3; ++i)
        canvas.fill(Shapes::rounded(QRectF(236, 72 + i * 44, 160, 28), 6), Palette::white, Palette::grey, 1);
    label(canvas, QStringLiteral("Маша"), QRectF(246, 72, 140, 28), 14);
    label(canvas, QStringLiteral("● ● ● ●"), QRectF(246, 116, 140, 28), 12);
    label(canvas, QStringLiteral("● ● ● ●"), QRectF(246, 160, 140, 28), 12);
    checkBox(canvas, QPointF(86, 208), true);
    label(canvas, QStringLiteral("Запомнить пароль"), QRectF(112, 204, 160, 26), 13);
    const QRectF enter(286, 226, 110, 36);
    canvas.glossy(Shapes::rounded(enter, 12), Palette::grass, Palette::grass.darker(140));
    canvas.lettering(QStringLiteral("Войти"), Canvas::font(16), enter, Palette::white, Palette::grass.darker(170), 2.5);
    return canvas.finish();
}

QImage HelpPictures::marks()
{
    Canvas canvas(Width, 120, Palette::paper);
    const qreal left = 30;
    const qreal span = Width - 90;
    const auto x = [&](double mark) { return left + span * mark; };
    const struct {
        double from, to;
        QColor colour;
    } bands[] = {{0, 0.65, Red}, {0.65, 0.95, Blue}, {0.95, 1, Green}};
    for (const auto &band : bands) {
        const QRectF strip(x(band.from), 50, x(band.to) - x(band.from), 22);
        canvas.glossy(Shapes::rounded(strip, 4), band.colour, band.colour.darker(130));
        mark(canvas, QPointF(strip.center().x(), 30), band.colour);
    }
    for (const double at : {0.0, 0.65, 0.95}) {
        const QString text = at == 0 ? QStringLiteral("0") : QString::number(at).replace(u'.', u',');
        label(canvas, text, QRectF(x(at) - 30, 78, 60, 28), 14, Qt::AlignCenter);
    }
    label(canvas, QStringLiteral("1"), QRectF(x(1) + 8, 47, 30, 28), 14);
    return canvas.finish();
}
