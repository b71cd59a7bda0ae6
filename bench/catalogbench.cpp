// The catalogue and the markbook at the size of a big course: 10,000 materials in 200
// sub-chapters, 2,000 of them tests. Times the first show of the catalogue, rebuilding both
// lists after a chapter is checked, one search keystroke, and the first show of a markbook
// of 2,000 tests. Run from anywhere under an X server:  xvfb-run -a ./bench/catalogbench
#include "benchsupport.h"
#include "contentmodel.h"
#include "contentmodelproxy.h"
#include "coursexml.h"
#include "environment.h"
#include "sheetcatalogue.h"
#include "sheetmarkbook.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTreeView>
#include <QXmlStreamWriter>

#include <cstdio>

namespace {

constexpr int Chapters = 20;
constexpr int SubChapters = 10;
constexpr int MaterialsPerSubChapter = 50;

void writeContents(const QString &path)
{
    const QStringList groups = {"ani", "pra", "wrk", "rzv", "con", "slv", "igr"};
    const QStringList words = {"Азбука", "«Буквы»", "Весна", "Гласные", "Дом", "Ёжик", "Звуки", "Игра", "Кот"};
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    QXmlStreamWriter xml(&file);
    xml.writeStartElement("content");
    xml.writeAttribute("caption", "Азбука");
    int material = 0;
    for (int chapter = 0; chapter < Chapters; ++chapter) {
        xml.writeStartElement("chapter");
        xml.writeAttribute("caption", QString("Глава %1").arg(chapter + 1));
        xml.writeAttribute("id", QString::number(chapter * 100));
        for (int sub = 0; sub < SubChapters; ++sub) {
            xml.writeStartElement("chapter");
            xml.writeAttribute("caption", QString("Урок %1").arg(chapter * SubChapters + sub + 1));
            xml.writeAttribute("id", QString::number(chapter * 100 + sub + 1));
            for (int i = 0; i < MaterialsPerSubChapter; ++i, ++material) {
                // Every fifth material a test: 2,000 tests.
                const QString group = material % 5 == 0 ? QStringLiteral("con") : groups.at(material % 7 == 4 ? 0 : material % 7);
                xml.writeEmptyElement("object");
                xml.writeAttribute("caption", QString("%1 %2, задание %3").arg(words.at(material % words.size())).arg(material % 97).arg(material));
                xml.writeAttribute("type", group);
                xml.writeAttribute("id", QString("m%1").arg(material));
                xml.writeAttribute("path", "p");
            }
            xml.writeEndElement();
        }
        xml.writeEndElement();
    }
    xml.writeEndElement();
}

// Milliseconds until the widget has been shown and painted once.
double timeFirstShow(QWidget *widget, const QElapsedTimer &clock)
{
    widget->resize(1200, 700);
    widget->show();
    bench::waitUntil([widget] { return widget->isVisible(); }, 5000);
    QApplication::processEvents();
    widget->repaint();
    return clock.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTemporaryDir installation;
    QDir::setCurrent(installation.path());
    QDir().mkpath("data");
    writeContents("data/content.xml");
    fillGroupTables();
    pupilDir = QDir(installation.path());

    QElapsedTimer clock;
    clock.start();
    ensureContentModel();
    const double contentsRead = clock.nsecsElapsed() / 1e6;

    clock.restart();
    SheetCatalogue catalogue;
    const double catalogueShown = timeFirstShow(&catalogue, clock);

    QList<double> rebuilds;
    QTreeView *contents = catalogue.contentView();
    const QModelIndex lesson = contents->model()->index(0, 0, contents->model()->index(3, 0));
    for (int i = 0; i < 10; ++i) {
        clock.restart();
        catalogue.updateContent(lesson);
        catalogue.repaint(); // the views lay out what they show at their next paint
        rebuilds << clock.nsecsElapsed() / 1e6;
        QApplication::processEvents();
    }

    QList<double> keystrokes;
    auto *search = catalogue.findChild<QLineEdit *>("lineedit_search");
    for (const char *text : {"е", "ё", "ёж", "ёжи", "ёжик", "ёжи", "ёж", "з", "зв", "зву", "звук", "звуки"}) {
        clock.restart();
        search->setText(text);
        catalogue.repaint();
        keystrokes << clock.nsecsElapsed() / 1e6;
        QApplication::processEvents();
    }
    catalogue.hide();

    CourseXml::createMarkbook(contentModel->rootItem(), pupilDir.filePath("markbook.xml"));
    clock.restart();
    SheetMarkbook markbook;
    const double markbookShown = timeFirstShow(&markbook, clock);

    std::printf("contents of 10,000 materials read: %.1f ms\n", contentsRead);
    std::printf("catalogue first shown (both lists built, painted): %.1f ms\n", catalogueShown);
    std::printf("both lists rebuilt and painted after a chapter check: %s\n", qPrintable(bench::range(rebuilds)));
    std::printf("one search keystroke, list rebuilt and painted: %s\n", qPrintable(bench::range(keystrokes)));
    std::printf("markbook of 2,000 tests first shown: %.1f ms\n", markbookShown);
    return 0;
}
