// Times the course files at the size of a full textbook: reading a contents file of
// 10,000 materials (2,000 of them tests) into a TreeModel, making a pupil's first markbook
// from it, and saving favorites of 10,000 materials. Prints median figures.
#include "coursexml.h"
#include "treeitem.h"
#include "treemodel.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QXmlStreamWriter>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>

namespace {

constexpr int Chapters = 20;
constexpr int SubChapters = 10;
constexpr int MaterialsPerSubChapter = 50;
constexpr int TestEvery = 5;
constexpr int Runs = 9;

void writeContents(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    QXmlStreamWriter xml(&file);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(4);
    xml.writeStartElement(QStringLiteral("content"));
    xml.writeAttribute(QStringLiteral("caption"), QStringLiteral("Математика, 1 класс"));
    const QStringList groups{QStringLiteral("swf"), QStringLiteral("img"), QStringLiteral("txt"), QStringLiteral("snd")};
    int page = 1;
    int material = 0;
    for (int chapter = 0; chapter < Chapters; ++chapter) {
        xml.writeStartElement(QStringLiteral("chapter"));
        xml.writeAttribute(QStringLiteral("caption"), QStringLiteral("Глава %1").arg(chapter + 1));
        xml.writeAttribute(QStringLiteral("id"), QString::number(chapter * 100));
        xml.writeAttribute(QStringLiteral("startpage"), QString::number(page));
        for (int sub = 0; sub < SubChapters; ++sub, ++page) {
            xml.writeStartElement(QStringLiteral("chapter"));
            xml.writeAttribute(QStringLiteral("caption"), QStringLiteral("Урок %1. Сложение и вычитание").arg(page));
            xml.writeAttribute(QStringLiteral("id"), QString::number(chapter * 100 + sub + 1));
            xml.writeAttribute(QStringLiteral("startpage"), QString::number(page));
            for (int i = 0; i < MaterialsPerSubChapter; ++i, ++material) {
                const bool isTest = material % TestEvery == 0;
                xml.writeEmptyElement(QStringLiteral("object"));
                xml.writeAttribute(QStringLiteral("caption"), QStringLiteral("Материал №%1 «Считаем вместе»").arg(material));
                xml.writeAttribute(QStringLiteral("type"), isTest ? QStringLiteral("con") : groups.at(material % groups.size()));
                xml.writeAttribute(QStringLiteral("id"), QString::number(10000 + material));
                xml.writeAttribute(QStringLiteral("path"), QStringLiteral("materials/%1/m%2.swf").arg(chapter).arg(material));
            }
            xml.writeEndElement();
        }
        xml.writeEndElement();
    }
    xml.writeEndElement();
}

// The favorites of a pupil who saved every material: one folder per chapter.
void fillFavorites(TreeItem *favorites, const TreeItem *contents)
{
    for (const TreeItem *chapter : contents->children()) {
        auto *folder = new TreeItem({chapter->data(0), QString()}, TreeItem::FolderType, favorites);
        for (const TreeItem *sub : chapter->children()) {
            for (const TreeItem *object : sub->children()) {
                new TreeItem({object->data(0), object->data(1), object->data(2), object->data(3),
                              sub->data(0)},
                             TreeItem::ObjectType, folder);
            }
        }
    }
}

int countMaterials(const TreeItem *item)
{
    int count = item->type() == TreeItem::ObjectType ? 1 : 0;
    for (const TreeItem *child : item->children())
        count += countMaterials(child);
    return count;
}

// Wall time is what the pupil waits; processor time stays meaningful on a busy machine.
struct Timing
{
    double wallMs;
    double cpuMs;
};

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

Timing measure(const std::function<void()> &work)
{
    QList<double> wall;
    QList<double> cpu;
    for (int run = 0; run < Runs; ++run) {
        QElapsedTimer timer;
        const std::clock_t cpuStart = std::clock();
        timer.start();
        work();
        wall << timer.nsecsElapsed() / 1e6;
        cpu << (std::clock() - cpuStart) * 1000.0 / CLOCKS_PER_SEC;
    }
    return {median(wall), median(cpu)};
}

void report(const char *what, Timing timing, double targetMs, const QString &file)
{
    std::printf("%-36s wall %6.1f ms, cpu %6.1f ms  (target <= %3.0f ms: %s)  %5lld KB\n", what,
                timing.wallMs, timing.cpuMs, targetMs, timing.wallMs <= targetMs ? "ok" : "SLOW",
                QFileInfo(file).size() / 1024);
}

} // namespace

int main()
{
    QTemporaryDir dir;
    const QString contentsFile = dir.filePath(QStringLiteral("content.xml"));
    const QString markbookFile = dir.filePath(QStringLiteral("markbook.xml"));
    const QString favoritesFile = dir.filePath(QStringLiteral("favorites.xml"));
    writeContents(contentsFile);

    const Timing load = measure([&] { TreeModel model(contentsFile); });
    TreeModel contents(contentsFile);
    std::printf("contents: %d materials, median of %d runs\n", countMaterials(contents.rootItem()), Runs);
    report("load contents into a TreeModel", load, 50, contentsFile);

    const Timing markbook = measure([&] {
        if (!CourseXml::createMarkbook(contents.rootItem(), markbookFile))
            qFatal("cannot write the markbook");
    });
    report("createMarkbook (2,000 tests)", markbook, 50, markbookFile);

    TreeItem favorites;
    fillFavorites(&favorites, contents.rootItem());
    const Timing favoritesSave = measure([&] {
        if (!CourseXml::saveFavorites(&favorites, favoritesFile))
            qFatal("cannot write the favorites");
    });
    report("saveFavorites (10,000 materials)", favoritesSave, 50, favoritesFile);
    return 0;
}
