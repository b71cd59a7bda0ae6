// coursegen SOURCE_DIR OUTDIR: checks SOURCE_DIR/course/content.xml and lays the demo
// course into OUTDIR/data: the contents as they are, and a cover picture.

#include "coursechecker.h"
#include "coverpainter.h"
#include "outputfolder.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>

namespace {

QString courseTitle(const QByteArray &xml)
{
    // The cover shows the first word of the course's caption ("Азбука. 1 класс").
    QXmlStreamReader reader(xml);
    reader.readNextStartElement();
    const QString caption = reader.attributes().value(QLatin1String("caption")).toString();
    return caption.section(QLatin1Char('.'), 0, 0).section(QLatin1Char(' '), 0, 0);
}

} // namespace

int main(int argc, char *argv[])
{
    // Lettering on the cover needs a platform plugin; a build machine may have no display.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);

    const QStringList args = app.arguments();
    if (args.size() != 3) {
        err << "usage: coursegen SOURCE_DIR OUTDIR\n";
        return 2;
    }

    const QString sourcePath = QDir(args.at(1)).filePath(QStringLiteral("course/content.xml"));
    QFile source(sourcePath);
    if (!source.open(QIODevice::ReadOnly)) {
        err << "coursegen: " << sourcePath << ": " << source.errorString() << '\n';
        return 1;
    }
    const QByteArray xml = source.readAll();

    const QStringList problems = CourseChecker(sourcePath).check(xml);
    for (const QString &problem : problems)
        err << "coursegen: " << problem << '\n';
    if (!problems.isEmpty())
        return 1;

    OutputFolder out(args.at(2));
    out.writeBytes(QStringLiteral("data/content.xml"), xml);
    out.writeImage(QStringLiteral("data/content.jpg"), CoverPainter(courseTitle(xml)).paint(), 92);
    for (const QString &error : out.errors())
        err << "coursegen: " << error << '\n';
    return out.ok() ? 0 : 1;
}
