// pagesgen: the demo textbook's double pages.
//   pagesgen sources CONTENTS PAGESDIR        lays the pages out and writes, for every double
//                                             page, its hitzone file and material map (kept in git)
//   pagesgen images CONTENTS PAGESDIR OUTDIR  draws the double-page images the hitzone files
//                                             name, a picture card in every hitzone (at build time)

#include "coursepages.h"
#include "hitzonefile.h"
#include "materialmap.h"
#include "pagelayout.h"
#include "pagepainter.h"

#include <QDir>
#include <QDomDocument>
#include <QGuiApplication>
#include <QSaveFile>
#include <QTextStream>

namespace {

QTextStream &err()
{
    static QTextStream stream(stderr);
    return stream;
}

bool save(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    err() << "pagesgen: " << path << ": " << file.errorString() << '\n';
    return false;
}

QString pointList(const QRect &box)
{
    // The hitzone editor's format: whole pixels, comma-separated, no spaces.
    const QList<QPoint> corners = {box.topLeft(), QPoint(box.right() + 1, box.top()),
                                   QPoint(box.right() + 1, box.bottom() + 1), QPoint(box.left(), box.bottom() + 1)};
    QStringList parts;
    for (const QPoint &corner : corners)
        parts << QString::number(corner.x()) << QString::number(corner.y());
    return parts.join(QLatin1Char(','));
}

QByteArray hitzoneXml(const QString &stem, const QList<PageLayout::Zone> &zones)
{
    QDomDocument document;
    QDomElement root = document.createElement(QStringLiteral("doublepage"));
    root.setAttribute(QStringLiteral("file"), QStringLiteral("data/pages/%1.png").arg(stem));
    document.appendChild(root);
    for (int i = 0; i < zones.size(); ++i) {
        QDomElement zone = document.createElement(QStringLiteral("hitzone"));
        zone.setAttribute(QStringLiteral("number"), i + 1);
        zone.appendChild(document.createTextNode(pointList(zones[i].box)));
        root.appendChild(zone);
    }
    return document.toByteArray(4);
}

QByteArray materialMap(const QList<PageLayout::Zone> &zones)
{
    QByteArray text = "# Hitzone number = material id (made by tools/pagesgen from course/content.xml)\n";
    for (int i = 0; i < zones.size(); ++i)
        text += QByteArray::number(i + 1) + " = " + zones[i].materialId.toUtf8() + '\n';
    return text;
}

int writeSources(const CoursePages &course, const QDir &pages)
{
    bool ok = QDir().mkpath(pages.path());
    for (int page = 1; page <= course.pageCount(); ++page) {
        const QString stem = PagePainter::fileStem(page);
        const QList<PageLayout::Zone> zones = PageLayout::zones(course.chaptersOn(page));
        ok = save(pages.filePath(stem + QStringLiteral(".xml")), hitzoneXml(stem, zones)) && ok;
        ok = save(pages.filePath(stem + QStringLiteral(".map")), materialMap(zones)) && ok;
    }
    return ok ? 0 : 1;
}

bool drawPage(const CoursePages &course, const QString &hitzonePath, const QDir &out)
{
    HitzoneFile zones;
    MaterialMap map;
    const QString stem = QFileInfo(hitzonePath).completeBaseName();
    if (!zones.read(hitzonePath) || !map.read(QFileInfo(hitzonePath).path() + QLatin1Char('/') + stem + QStringLiteral(".map"))) {
        for (const QString &error : zones.errors() + map.errors())
            err() << "pagesgen: " << error << '\n';
        return false;
    }
    const int doublePage = PagePainter::doublePageOf(stem);
    QList<PagePainter::Card> cards;
    for (const HitzoneFile::Zone &zone : zones.zones())
        cards.append({zone.polygon.boundingRect().toRect(), course.material(map.entries().value(zone.number).materialId)});
    const QImage image = PagePainter(doublePage, course.chaptersOn(doublePage)).paint(cards);
    const QString path = out.filePath(stem + QStringLiteral(".png"));
    if (!image.save(path)) {
        err() << "pagesgen: cannot write " << path << '\n';
        return false;
    }
    return true;
}

int drawImages(const CoursePages &course, const QDir &pages, const QDir &out)
{
    bool ok = QDir().mkpath(out.path());
    const QStringList hitzoneFiles = pages.entryList({QStringLiteral("*.xml")}, QDir::Files, QDir::Name);
    for (const QString &name : hitzoneFiles)
        ok = drawPage(course, pages.filePath(name), out) && ok;
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    // Lettering needs a platform plugin; a build machine may have no display.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    const bool sources = args.size() == 4 && args[1] == QLatin1String("sources");
    const bool images = args.size() == 5 && args[1] == QLatin1String("images");
    if (!sources && !images) {
        err() << "usage: pagesgen sources CONTENTS PAGESDIR\n"
                 "       pagesgen images CONTENTS PAGESDIR OUTDIR\n";
        return 2;
    }
    CoursePages course;
    if (!course.read(args[2])) {
        err() << "pagesgen: " << course.error() << '\n';
        return 1;
    }
    return sources ? writeSources(course, QDir(args[3])) : drawImages(course, QDir(args[3]), QDir(args[4]));
}
