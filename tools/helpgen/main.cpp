// helpgen OUTDIR: draws the demo help's pictures into OUTDIR/pictures. chmc then packs
// them with the pages of course/help into help.chm.

#include "helppictures.h"
#include "outputfolder.h"

#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    // Text needs a platform plugin, and a build machine may have no display.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    if (app.arguments().size() != 2) {
        err << "usage: helpgen OUTDIR\n";
        return 2;
    }
    OutputFolder out(app.arguments().at(1));
    for (const HelpPictures::Picture &picture : HelpPictures::all())
        out.writeImage(picture.file, picture.image);
    for (const QString &error : out.errors())
        err << "helpgen: " << error << '\n';
    return out.ok() ? 0 : 1;
}
