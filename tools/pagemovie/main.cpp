// pagemovie: builds the page movie of one textbook double page. See README.md, "Page movies".

#include "pagemoviebuilder.h"
#include "pagesources.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSaveFile>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Builds a textbook page movie (NNN-NNN.swf) from a double-page "
                                                    "image, its hitzone file and its hitzone-to-material map."));
    parser.addHelpOption();
    const QCommandLineOption image(QStringLiteral("image"), QStringLiteral("Double-page image (PNG); default: the "
                                   "hitzone file's `file`, relative to the current folder."), QStringLiteral("file"));
    const QCommandLineOption hitzones(QStringLiteral("hitzones"), QStringLiteral("Hitzone file."), QStringLiteral("file"));
    const QCommandLineOption map(QStringLiteral("map"), QStringLiteral("Hitzone-to-material map."), QStringLiteral("file"));
    const QCommandLineOption contents(QStringLiteral("contents"), QStringLiteral("Course contents, to check the "
                                      "material ids against."), QStringLiteral("file"));
    const QCommandLineOption jpeg(QStringLiteral("jpeg"), QStringLiteral("Store the image as JPEG of this quality "
                                  "(1-100) instead of losslessly."), QStringLiteral("quality"), QStringLiteral("0"));
    const QCommandLineOption frameRate(QStringLiteral("frame-rate"), QStringLiteral("Frames a second (default 24)."),
                                       QStringLiteral("fps"), QStringLiteral("24"));
    const QCommandLineOption output(QStringLiteral("output"), QStringLiteral("The movie to write."), QStringLiteral("file"));
    parser.addOptions({image, hitzones, map, contents, jpeg, frameRate, output});
    parser.process(app);

    if (!parser.isSet(hitzones) || !parser.isSet(map) || !parser.isSet(output)) {
        err << "pagemovie: --hitzones, --map and --output are required (see --help)\n";
        return 2;
    }

    PageSources sources;
    sources.load(parser.value(image), parser.value(hitzones), parser.value(map), parser.value(contents));
    for (const QString &warning : sources.warnings())
        err << "pagemovie: warning: " << warning << '\n';
    for (const QString &error : sources.errors())
        err << "pagemovie: " << error << '\n';
    if (!sources.errors().isEmpty())
        return 1;

    PageMovieBuilder builder(sources);
    builder.setJpegQuality(parser.value(jpeg).toInt());
    builder.setFrameRate(qBound(0.25, parser.value(frameRate).toDouble(), 120.0));
    QSaveFile file(parser.value(output));
    if (!file.open(QIODevice::WriteOnly) || file.write(builder.build()) < 0 || !file.commit()) {
        err << "pagemovie: " << parser.value(output) << ": " << file.errorString() << '\n';
        return 1;
    }
    return 0;
}
