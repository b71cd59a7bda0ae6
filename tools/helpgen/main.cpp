// helpgen OUTDIR: draws the demo help's pictures into OUTDIR/pictures. chmc then packs
// them with the pages of course/help into help.chm.

#include "atomicfile.h"
#include "helppictures.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>

namespace {

bool writePicture(const QString &path, const QImage &image, QString *error)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) {
        *error = QStringLiteral("cannot encode the picture");
        return false;
    }
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        *error = QStringLiteral("cannot create its folder");
        return false;
    }
    return AtomicFile::write(path, png, error);
}

} // namespace

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
    const QDir out(app.arguments().at(1));
    bool ok = true;
    for (const HelpPictures::Picture &picture : HelpPictures::all()) {
        QString error;
        const QString path = out.filePath(picture.file);
        if (!writePicture(path, picture.image, &error)) {
            err << "helpgen: " << path << ": " << error << '\n';
            ok = false;
        }
    }
    return ok ? 0 : 1;
}
