// materialsgen PROJECT_ROOT OUTDIR: makes every material of PROJECT_ROOT/course/content.xml
// playable in OUTDIR/data/objects from its sources in course/objects, and the test
// templates in OUTDIR/data/templates from course/templates. Mistakes in the sources are
// listed as "file:line: message" and fail the build.

#include "materialsgenerator.h"

#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    // Pictures and lettering need a platform plugin; a build machine may have no display.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        err << "usage: materialsgen PROJECT_ROOT OUTDIR\n";
        return 2;
    }
    MaterialsGenerator generator(args.at(1), args.at(2));
    const bool ok = generator.run();
    for (const QString &error : generator.errors())
        err << "materialsgen: " << error << '\n';
    return ok ? 0 : 1;
}
