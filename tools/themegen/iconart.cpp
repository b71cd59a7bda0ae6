#include "iconart.h"

#include "canvas.h"
#include "outputfolder.h"
#include "palette.h"
#include "pictograms.h"
#include "shapes.h"

IconArt::IconArt(OutputFolder &out)
    : m_out(out)
{
}

void IconArt::write()
{
    writeApplicationIcon();
    writeGroupIcons();
    writeTreeIcons();
    writeMarks();
    writeHeaderAndSplitter();
    writeCheckBoxes();
    writeComboArrow();
}

void IconArt::writeApplicationIcon()
{
    Canvas canvas(64, 64);
    canvas.glossyBall(QPointF(32, 32), 30, Palette::sun);
    Pictograms::openBook(canvas, QRectF(7, 9, 50, 46));
    m_out.writeImage(QStringLiteral("theme/theme.ico"), canvas.finish());
}

void IconArt::writeGroupIcons()
{
    for (const QString &key : Pictograms::groupKeys()) {
        const QColor colour = Pictograms::groupColour(key);

        Canvas big(42, 43);
        const QPainterPath bigTile = Shapes::rounded(QRectF(1.5, 1, 39, 39), 10);
        big.shadow(bigTile, QPointF(0, 1.5), 60);
        big.glossy(bigTile, colour, colour.darker(140));
        Pictograms::group(big, key, QRectF(7, 6, 28, 28));
        m_out.writeImage(QStringLiteral("theme/other/icons/groups/big/ico_%1.png").arg(key), big.finish());

        // The list rows are short and wide, so the small badge is a pill.
        Canvas small(35, 26);
        const QPainterPath smallTile = Shapes::rounded(QRectF(1, 1, 33, 23.5), 8);
        small.shadow(smallTile, QPointF(0, 1), 50);
        small.glossy(smallTile, colour, colour.darker(140));
        Pictograms::group(small, key, QRectF(7.5, 2.5, 20, 20));
        m_out.writeImage(QStringLiteral("theme/other/icons/groups/small/ico_%1.png").arg(key),
                         small.finish());
    }
}

void IconArt::writeTreeIcons()
{
    for (const bool open : {true, false}) {
        Canvas canvas(24, 24);
        Pictograms::folder(canvas, QRectF(0, 0, 24, 24), open);
        m_out.writeImage(open ? QStringLiteral("theme/other/icons/folder_expanded.png")
                              : QStringLiteral("theme/other/icons/folder_collapsed.png"),
                         canvas.finish());
    }
    Canvas magnifier(16, 16);
    Pictograms::magnifier(magnifier, QRectF(0, 0, 16, 16), Palette::inkSoft);
    m_out.writeImage(QStringLiteral("theme/other/icons/magnifier.png"), magnifier.finish());
}

void IconArt::writeMarks()
{
    const std::pair<const char *, QColor> marks[] = {
        {"gray", Palette::grey}, {"red", Palette::berry}, {"blue", Palette::blue},
        {"green", Palette::grass}};
    for (const auto &[name, colour] : marks) {
        Canvas canvas(24, 24);
        canvas.glossyBall(QPointF(12, 12), 10.5, colour);
        m_out.writeImage(QStringLiteral("theme/other/%1.png").arg(QLatin1String(name)), canvas.finish());
    }
}

void IconArt::writeHeaderAndSplitter()
{
    // The header is stretched through column 11 only, so its end caps hold the
    // rounding and the middle is a plain vertical gradient.
    Canvas header(64, 28);
    const QPainterPath strip = Shapes::rounded(QRectF(0.5, 0.5, 63, 27), 10);
    header.fill(strip, Canvas::vertical(header.rect(), QColor(0xff, 0xe9, 0xa8), QColor(0xff, 0xcf, 0x7a)),
                QColor(0xe3, 0xa2, 0x4a), 1);
    header.fill(Shapes::rounded(QRectF(2, 1.5, 60, 11), 6), QColor(255, 255, 255, 90));
    m_out.writeImage(QStringLiteral("theme/other/header.png"), header.finish());

    Canvas splitter(2, 28);
    QLinearGradient dark = Canvas::vertical(splitter.rect(), QColor(0xc9, 0x9a, 0x6a, 0), QColor(0xc9, 0x9a, 0x6a, 0));
    dark.setColorAt(0.5, QColor(0xc9, 0x9a, 0x6a, 230));
    QLinearGradient light = dark;
    light.setColorAt(0.5, QColor(255, 255, 255, 230));
    splitter.painter().fillRect(QRectF(0, 0, 1, 28), dark);
    splitter.painter().fillRect(QRectF(1, 0, 1, 28), light);
    m_out.writeImage(QStringLiteral("theme/splitter.png"), splitter.finish());
}

void IconArt::writeCheckBoxes()
{
    enum class Mark { None, Tick, Dash };
    struct Look { const char *name; Mark mark; bool hover; bool disabled; };
    const Look looks[] = {
        {"unchecked", Mark::None, false, false}, {"unchecked_hover", Mark::None, true, false},
        {"checked", Mark::Tick, false, false},   {"checked_hover", Mark::Tick, true, false},
        {"partial", Mark::Dash, false, false},   {"partial_hover", Mark::Dash, true, false},
        {"unchecked_disabled", Mark::None, false, true}, {"checked_disabled", Mark::Tick, false, true}};
    for (const Look &look : looks) {
        Canvas canvas(20, 20);
        const QPainterPath box = Shapes::rounded(QRectF(1.5, 1.5, 17, 17), 5);
        const QColor border = look.hover ? Palette::orange : QColor(0xd9, 0x9a, 0x5c);
        if (look.mark == Mark::None)
            canvas.fill(box, Canvas::vertical(canvas.rect(), Palette::white, Palette::paper), border, 1.6);
        else
            canvas.glossy(box, look.hover ? Palette::orange.lighter(110) : Palette::orange, Palette::orange.darker(130));
        QPainter &p = canvas.painter();
        p.setPen(QPen(Palette::white, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        if (look.mark == Mark::Tick)
            p.drawPolyline(QPolygonF({QPointF(5.5, 10.5), QPointF(8.5, 13.5), QPointF(14.5, 6.5)}));
        else if (look.mark == Mark::Dash)
            p.drawLine(QPointF(6, 10), QPointF(14, 10));
        QImage image = canvas.finish();
        if (look.disabled)
            image = Canvas::greyedOut(image);
        m_out.writeImage(QStringLiteral("theme/other/check_%1.png").arg(QLatin1String(look.name)), image);
    }
}

void IconArt::writeComboArrow()
{
    Canvas canvas(14, 10);
    canvas.fill(Shapes::triangle({2, 2.5}, {12, 2.5}, {7, 8}), Palette::coral, Palette::coral, 2);
    m_out.writeImage(QStringLiteral("theme/other/combo_arrow.png"), canvas.finish());
}
