// A favorite dragged onto a folder with the real mouse (xdotool on the test's X display), and
// the file that has the move a moment later.

#include "environment.h"
#include "favorites.h"
#include "favoritesmodel.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

class TestFavoritesDrag : public QObject
{
    Q_OBJECT

private slots:
    void materialDraggedOntoAFolderMovesThere();
};

void TestFavoritesDrag::materialDraggedOntoAFolderMovesThere()
{
    const QString xdotool = QStandardPaths::findExecutable("xdotool");
    if (xdotool.isEmpty() || qgetenv("DISPLAY").isEmpty() || QGuiApplication::platformName() != "xcb")
        QSKIP("needs xdotool and an X display");
    QTemporaryDir pupil;
    pupilDir = QDir(pupil.path());
    QFile file(pupil.filePath("favorites.xml"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<favorites>\n    <folder caption=\"Папка\"/>\n"
               "    <object caption=\"Тест\" type=\"con\" id=\"t1\" path=\"p\" name=\"Мой тест\"/>\n</favorites>\n");
    file.close();

    Favorites favorites;
    favorites.resize(400, 300);
    favorites.show();
    favorites.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&favorites));
    QTreeView *tree = favorites.tree();
    const auto centre = [tree](int row) {
        return tree->viewport()->mapToGlobal(tree->visualRect(favoritesModel->index(row, 0)).center());
    };
    const QPoint from = centre(1), to = centre(0);
    const QString steps = QString("mousemove %1 %2 mousedown 1 sleep 0.2 mousemove %3 %4 sleep 0.2 "
                                  "mousemove %5 %6 sleep 0.3 mousemove %7 %8 sleep 0.3 mouseup 1")
                              .arg(from.x()).arg(from.y()).arg(from.x() + 10).arg(from.y() - 6)
                              .arg(to.x() + 5).arg(to.y()).arg(to.x()).arg(to.y());
    QProcess mouse;
    mouse.start(xdotool, steps.split(' '));
    QTRY_COMPARE_WITH_TIMEOUT(favoritesModel->rowCount(), 1, 10000);
    mouse.waitForFinished(5000);
    const QModelIndex folder = favoritesModel->index(0, 0);
    QCOMPARE(favoritesModel->rowCount(folder), 1);
    QCOMPARE(favoritesModel->index(0, 0, folder).data().toString(), QString("Мой тест"));

    QTRY_VERIFY_WITH_TIMEOUT(!favoritesModel->hasUnsavedChanges(), 2000);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains("<folder caption=\"Папка\">\n        <object caption=\"Тест\""));
}

QTEST_MAIN(TestFavoritesDrag)
#include "tst_favoritesdrag.moc"
