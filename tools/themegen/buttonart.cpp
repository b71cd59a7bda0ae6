#include "buttonart.h"

#include "buttoncatalogue.h"
#include "buttonface.h"
#include "canvas.h"
#include "glyphs.h"
#include "gridscope.h"
#include "outputfolder.h"
#include "palette.h"
#include "pictograms.h"

namespace {

bool isOneOf(const QString &file, std::initializer_list<const char *> names)
{
    for (const char *name : names) {
        if (file == QLatin1String(name))
            return true;
    }
    return false;
}

} // namespace

ButtonArt::ButtonArt(OutputFolder &out)
    : m_out(out)
{
}

void ButtonArt::write()
{
    for (const ButtonEntry &entry : ButtonCatalogue::entries()) {
        for (const QString &state : ButtonCatalogue::states(entry))
            m_out.writeImage(ButtonCatalogue::imagePath(entry, state), render(entry, state));
    }
}

QImage ButtonArt::render(const ButtonEntry &entry, const QString &state)
{
    if (state == QLatin1String("disabled"))
        return Canvas::greyedOut(render(entry, QStringLiteral("normal")));
    ButtonLook look;
    look.hover = state.endsWith(QLatin1String("hover"));
    look.pressed = state == QLatin1String("pressed");
    look.checked = state.startsWith(QLatin1String("checked"));
    Canvas canvas(entry.size);
    paint(canvas, entry.file, look);
    return canvas.finish();
}

void ButtonArt::paint(Canvas &canvas, const QString &file, const ButtonLook &look)
{
    if (isOneOf(file, {"minimize", "maximize", "close", "close_big", "help"}))
        paintWindowButton(canvas, file, look);
    else if (file == QLatin1String("enter"))
        paintWordButton(canvas, QStringLiteral("Войти"), Palette::grass.darker(108), look);
    else if (file == QLatin1String("append_resource"))
        paintWordButton(canvas, QStringLiteral("Добавить"), Palette::blue, look);
    else
        paintToolButton(canvas, file, look);
}

void ButtonArt::paintWindowButton(Canvas &canvas, const QString &file, const ButtonLook &look)
{
    const QRectF box = canvas.rect();
    QColor colour = Palette::berry;
    if (file == QLatin1String("minimize"))
        colour = Palette::sun.darker(110);
    else if (file == QLatin1String("maximize"))
        colour = Palette::grass;
    else if (file == QLatin1String("help"))
        colour = Palette::blue;
    ButtonFace::ball(canvas, box, colour, look);

    const QRectF glyph = box.adjusted(1, look.sink(), -1, -2 + look.sink());
    if (file == QLatin1String("minimize"))
        Glyphs::minimize(canvas, glyph, Palette::white);
    else if (file == QLatin1String("maximize"))
        Glyphs::maximize(canvas, glyph, Palette::white);
    else if (file == QLatin1String("help"))
        Glyphs::question(canvas, glyph, Palette::white);
    else
        Glyphs::close(canvas, glyph, Palette::white);
}

void ButtonArt::paintWordButton(Canvas &canvas, const QString &word, const QColor &colour,
                                const ButtonLook &look)
{
    const QRectF box = canvas.rect();
    ButtonFace::pill(canvas, box, colour, look);
    // The word is the button's only label, so it is large and outlined for contrast.
    canvas.lettering(word, Canvas::font(21), box.adjusted(0, look.sink(), 0, -2 + look.sink()), Palette::white,
                     colour.darker(160), 1.6);
}

void ButtonArt::paintToolButton(Canvas &canvas, const QString &file, const ButtonLook &look)
{
    const QRectF box = canvas.rect();
    const QPointF sink(0, look.sink());
    if (file == QLatin1String("prev") || file == QLatin1String("next")) {
        ButtonFace::panel(canvas, box, look);
        const QColor arrow = ButtonFace::tone(Palette::orange, look);
        Glyphs::bigArrow(canvas, GridScope::square(box, 62).translated(sink), file == QLatin1String("next"),
                         arrow);
        return;
    }
    if (file == QLatin1String("favorites") || file == QLatin1String("extensive")) {
        ButtonFace::halo(canvas, box, look);
        const QRectF glyph = GridScope::square(box, qMin(box.width(), box.height()) - 2).translated(sink);
        if (file == QLatin1String("favorites"))
            Glyphs::star(canvas, glyph, ButtonFace::tone(QColor(0xff, 0xc2, 0x1a), look));
        else
            Glyphs::magnifierPlus(canvas, glyph, ButtonFace::tone(Palette::blue, look));
        return;
    }

    ButtonFace::tile(canvas, box, look);
    const QRectF inner = box.adjusted(0, look.sink(), 0, -1 + look.sink());
    const qreal side = qMin(inner.width(), inner.height());
    const QColor ink = look.checked ? Palette::white : Palette::ink;
    if (file == QLatin1String("content"))
        Pictograms::openBook(canvas, GridScope::square(inner, side - 10));
    else if (file == QLatin1String("printer"))
        Glyphs::printer(canvas, GridScope::square(inner, side - 5));
    else if (file == QLatin1String("append"))
        Glyphs::newFolder(canvas, GridScope::square(inner, side - 5));
    else if (file == QLatin1String("remove"))
        Glyphs::trash(canvas, GridScope::square(inner, side - 8), Palette::berry);
    else if (file == QLatin1String("export"))
        Glyphs::exportOut(canvas, GridScope::square(inner, side - 7), Palette::grass);
    else if (file == QLatin1String("append_comment"))
        Glyphs::plus(canvas, GridScope::square(inner, side - 2), Palette::grass.darker(110));
    else if (file == QLatin1String("remove_comment"))
        Glyphs::minus(canvas, GridScope::square(inner, side - 2), Palette::berry);
    else
        Glyphs::format(canvas, GridScope::square(inner, side - 1), file, ink);
}
