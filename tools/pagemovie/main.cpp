// pagemovie: builds the page movie of one textbook double page. See README.md, "Page movies".

#include "pagemoviejob.h"

#include <QCommandLineParser>
#include <QCoreApplication>
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

    PageMovieJob job;
    job.imagePath = parser.value(image);
    job.hitzonePath = parser.value(hitzones);
    job.mapPath = parser.value(map);
    job.contentsPath = parser.value(contents);
    job.outputPath = parser.value(output);
    job.jpegQuality = parser.value(jpeg).toInt();
    job.frameRate = parser.value(frameRate).toDouble();
    const bool written = job.run();
    for (const QString &warning : job.warnings())
        err << "pagemovie: warning: " << warning << '\n';
    for (const QString &error : job.errors())
        err << "pagemovie: " << error << '\n';
    if (!written)
        return 1;
    return 0;
}
