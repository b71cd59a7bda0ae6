// themegen OUTDIR: draws the program's theme into OUTDIR/theme and the programs' menu icons
// into OUTDIR/icons. Every picture is painted here at build time; nothing binary is kept in
// the repository.

#include "buttonart.h"
#include "iconart.h"
#include "menuicons.h"
#include "outputfolder.h"
#include "sliderart.h"
#include "stylesheet.h"
#include "windowart.h"

#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    // Text needs a platform plugin, and a build machine may have no display.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);

    const QStringList args = app.arguments();
    if (args.size() != 2) {
        err << "usage: themegen OUTDIR\n";
        return 2;
    }

    OutputFolder out(args.at(1));
    WindowArt(out).write();
    SliderArt(out).write();
    IconArt(out).write();
    MenuIcons(out).write();
    ButtonArt(out).write();
    out.writeBytes(QStringLiteral("theme/style.qss"), StyleSheet::build());

    for (const QString &error : out.errors())
        err << "themegen: " << error << '\n';
    return out.ok() ? 0 : 1;
}
