// favoritesbench: a pupil who kept 10,000 favorites in nested folders. Times one search
// keystroke (the model marks what shows, the search view redraws), one save of the whole
// collection, and the export of a material of 50 files.
//     xvfb-run -a ./bench/favoritesbench
#include "benchsupport.h"
#include "environment.h"
#include "favoritesmodel.h"
#include "favoritesmodelproxy.h"
#include "materialexport.h"
#include "treeitem.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTreeView>

#include <cstdio>

namespace {

// 20 folders of 10 folders of 50 favorites.
void fill(FavoritesModel &model)
{
    const QStringList words = {"Азбука", "Буквы", "Весна", "Гласные", "Дом", "Ёжик", "Звуки", "Игра", "Кот"};
    int n = 0;
    for (int a = 0; a < 20; ++a) {
        const QModelIndex top = model.appendItem({}, new TreeItem({QString("Папка %1").arg(a)}, TreeItem::FolderType));
        for (int b = 0; b < 10; ++b) {
            const QModelIndex inner = model.appendItem(top, new TreeItem({QString("Урок %1").arg(b)}, TreeItem::FolderType));
            for (int c = 0; c < 50; ++c, ++n) {
                const QString caption = QString("%1 %2").arg(words.at(n % words.size())).arg(n);
                model.appendItem(inner, new TreeItem(QList<QVariant>{caption, QStringLiteral("ani"), QString("m%1").arg(n), QStringLiteral("p"), QString(caption + " (моё)")},
                                                     TreeItem::ObjectType));
            }
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTemporaryDir folder;
    QDir::setCurrent(folder.path());
    pupilDir = QDir(folder.path());
    ensureFavoritesModel();
    fill(*favoritesModel);
    favoritesModel->saveNow();

    QTreeView search;
    search.setModel(favoritesProxy);
    search.resize(400, 600);
    search.show();
    QApplication::processEvents();

    QList<double> keystrokes;
    QElapsedTimer clock;
    for (const char *text : {"е", "ё", "ёж", "ёжи", "ёжик", "ёжи", "ёж", "з", "зв", "зву", "звук", "звуки", ""}) {
        clock.restart();
        favoritesModel->update(QString::fromUtf8(text));
        search.repaint();
        keystrokes << clock.nsecsElapsed() / 1e6;
        QApplication::processEvents();
    }

    QList<double> saves;
    for (int i = 0; i < 9; ++i) {
        favoritesModel->setData(favoritesModel->index(0, 0), QString("Папка %1").arg(i));
        clock.restart();
        favoritesModel->saveNow();
        saves << clock.nsecsElapsed() / 1e6;
    }

    QDir().mkpath("data/objects/big");
    for (int i = 0; i < 50; ++i) {
        QFile file(QString("data/objects/big/file%1.png").arg(i));
        file.open(QIODevice::WriteOnly);
        file.write(QByteArray(40 * 1024, char(i)));
    }
    QList<double> exports;
    for (int i = 0; i < 5; ++i) {
        QDir().mkpath(QString("out%1").arg(i));
        clock.restart();
        MaterialExport::run("big", "ani", QDir::current().absoluteFilePath(QString("out%1").arg(i)));
        exports << clock.nsecsElapsed() / 1e6;
    }

    std::printf("10,000 favorites: one search keystroke, marked and redrawn: %s\n", qPrintable(bench::range(keystrokes)));
    std::printf("10,000 favorites: one save of the whole file: %s\n", qPrintable(bench::range(saves)));
    std::printf("export of a material of 50 files (2 MB): %s\n", qPrintable(bench::range(exports)));
    return 0;
}
