#include "menuicons.h"

#include "canvas.h"
#include "outputfolder.h"
#include "palette.h"
#include "pictograms.h"

#include <QPainter>

namespace {

// The shell's icon is the window icon (a book on the sun); the editor's, the pencil of the
// exercises on the sky.
enum class Program { Shell, HitzoneEditor };

QImage draw(Program program, int size)
{
    Canvas canvas(size, size);
    // Designed on the window icon's 64-pixel grid.
    canvas.painter().scale(size / 64.0, size / 64.0);
    if (program == Program::Shell) {
        canvas.glossyBall(QPointF(32, 32), 30, Palette::sun);
        Pictograms::openBook(canvas, QRectF(7, 9, 50, 46));
    } else {
        canvas.glossyBall(QPointF(32, 32), 30, Palette::sky);
        Pictograms::group(canvas, QStringLiteral("pra"), QRectF(12, 12, 40, 40));
    }
    return canvas.finish();
}

} // namespace

MenuIcons::MenuIcons(OutputFolder &out)
    : m_out(out)
{
}

void MenuIcons::write()
{
    const std::pair<Program, const char *> programs[] = {
        {Program::Shell, "pellora-shell"}, {Program::HitzoneEditor, "pellora-hitzone-editor"}};
    for (const auto &[program, name] : programs) {
        for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
            m_out.writeImage(QStringLiteral("icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(QLatin1String(name)),
                             draw(program, size));
    }
}
