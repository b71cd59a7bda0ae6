#include "samples.h"
#include "xmltreemodel.h"

#include <QAbstractItemModelTester>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QMap<int, QString> captions(const QMap<int, TreeItem *> &map)
{
    QMap<int, QString> result;
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        result.insert(it.key(), it.value()->data(0).toString());
    return result;
}

int depthOfFirstChain(const TreeItem *item)
{
    int depth = 0;
    for (; item->childCount() > 0; item = item->child(0))
        ++depth;
    return depth;
}

QByteArray nested(const QByteArray &root, const QByteArray &element, int depth, bool closed)
{
    const QByteArray open = "<" + element + ">";
    const QByteArray close = "</" + element + ">";
    QByteArray xml = "<" + root + ">" + open.repeated(depth);
    if (closed)
        xml += close.repeated(depth) + "</" + root + ">";
    return xml;
}

} // namespace

class TestTreeModel : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void contentsTree();
    void contentsMaps();
    void favoritesAndMarkbookTrees_data();
    void favoritesAndMarkbookTrees();
    void reloadingReplacesTheTree();

    void consistentModel_data();
    void consistentModel();
    void indexesAndRoles();

    void unusableFileLeavesOnlyTheRoot_data();
    void unusableFileLeavesOnlyTheRoot();
    void deepNestingIsRefusedNotFatal_data();
    void deepNestingIsRefusedNotFatal();

private:
    QString writeFile(const QByteArray &bytes);

    QTemporaryDir m_dir;
    int m_fileCount = 0;
};

// A course file that cannot be read is an ordinary situation (a new pupil, a damaged
// disk); the model must stay silent about it.
void TestTreeModel::init()
{
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
}

QString TestTreeModel::writeFile(const QByteArray &bytes)
{
    const QString path = m_dir.filePath(QString::number(++m_fileCount) + QStringLiteral(".xml"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void TestTreeModel::contentsTree()
{
    TreeModel model(writeFile(Samples::contents));

    QCOMPARE(model.caption(), QStringLiteral("Математика, 1 класс"));
    // Only a chapter holding materials itself becomes 20: neither its sub-chapters nor
    // its parent (Фигуры) do. An unknown element is skipped with its subtree.
    QCOMPARE(XmlTreeModel::childrenOutline(model.rootItem()),
             QStringLiteral("20:Числа|1|3{16:Разминка|swf|100|warmup.swf,"
                            "20:Счёт|2|4{16:Считаем до 10|con|101|count.swf,"
                            "16:Картинка|img|102|count.png},4:Сравнение|3|6},"
                            "4:Фигуры|4|8{20:Круг|5|9{16:Обведи круг|con|103|circle.swf},4:Квадрат||9},"
                            "4:Повтор|2|12"));
}

void TestTreeModel::contentsMaps()
{
    XmlTreeModel model(Samples::contents);

    // Фигуры (8) holds only sub-chapters and is not a page of its own. Page 9 is claimed
    // by Круг through its material, then by the leaf chapter Квадрат: the later wins.
    const QMap<int, QString> pages{{3, QStringLiteral("Числа")}, {4, QStringLiteral("Счёт")},
                                   {6, QStringLiteral("Сравнение")}, {9, QStringLiteral("Квадрат")},
                                   {12, QStringLiteral("Повтор")}};
    QCOMPARE(captions(model.startPageMap()), pages);

    // Id 2 appears twice: the later chapter replaces the first. Квадрат has no id.
    const QMap<int, QString> ids{{1, QStringLiteral("Числа")}, {2, QStringLiteral("Повтор")},
                                 {3, QStringLiteral("Сравнение")}, {4, QStringLiteral("Фигуры")},
                                 {5, QStringLiteral("Круг")}};
    QCOMPARE(captions(model.chapterIdMap()), ids);
}

void TestTreeModel::favoritesAndMarkbookTrees_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QString>("outline");

    QTest::newRow("favorites keep folder ids")
        << Samples::favorites
        << QStringLiteral("8:Мои игры|7{16:Считаем|con|101|count.swf|Счёт,8:Пустая|8},"
                          "16:Круг & \"квадрат\"|swf|103|a<b.swf|n");
    // A test never taken has no mark and reads as 0.0; the third column is always empty.
    QTest::newRow("markbook")
        << Samples::markbook
        << QStringLiteral("4:Числа||{16:Считаем|4.5||101|12.01 <b>4.5</b> & «молодец»,"
                          "16:Сравниваем|0.0||104|},16:Без главы|-1.0||105|");
}

void TestTreeModel::favoritesAndMarkbookTrees()
{
    QFETCH(QByteArray, xml);
    QFETCH(QString, outline);

    XmlTreeModel model(xml);

    QCOMPARE(model.outline(), outline);
    QVERIFY(model.caption().isEmpty());
    QVERIFY(model.startPageMap().isEmpty());
}

// Stale map entries would point into a deleted tree.
void TestTreeModel::reloadingReplacesTheTree()
{
    XmlTreeModel model(Samples::contents);

    model.load(Samples::favorites);

    QVERIFY(model.caption().isEmpty());
    QVERIFY(model.startPageMap().isEmpty());
    QVERIFY(model.chapterIdMap().isEmpty());
    QCOMPARE(model.rowCount(), 2);
}

void TestTreeModel::consistentModel_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::newRow("contents") << Samples::contents;
    QTest::newRow("favorites") << Samples::favorites;
    QTest::newRow("markbook") << Samples::markbook;
}

void TestTreeModel::consistentModel()
{
    QFETCH(QByteArray, xml);
    TreeModel model(writeFile(xml));
    model.rootItem()->setItemData({QStringLiteral("Название"), QStringLiteral("Тип")});

    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QVERIFY(model.rowCount() > 0);
}

// Only column 0 has children; the roles other trees rely on carry the type and the row.
void TestTreeModel::indexesAndRoles()
{
    XmlTreeModel model(Samples::contents);
    const QModelIndex counting = model.index(1, 0, model.index(0, 0));

    QCOMPARE(model.rowCount(counting), 2);
    QCOMPARE(model.rowCount(counting.siblingAtColumn(1)), 0);
    QCOMPARE(model.data(model.index(0, 4)), QVariant());
    QCOMPARE(model.data(counting, TreeModel::TypeRole), QVariant(int(TreeItem::ChapterWithObjectsType)));
    QCOMPARE(model.data(counting, TreeModel::ItemDataRole),
             QVariant(QVariantList{QStringLiteral("Счёт"), QStringLiteral("2"), QStringLiteral("4")}));
}

void TestTreeModel::unusableFileLeavesOnlyTheRoot_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("truncated") << Samples::contents.left(Samples::contents.size() / 2);
    QTest::newRow("mismatched tags") << QByteArray("<content><chapter caption=\"a\"></content>");
    QTest::newRow("two roots") << QByteArray("<favorites/><favorites/>");
    QTest::newRow("unknown root") << QByteArray("<book><chapter caption=\"a\" startpage=\"1\"/></book>");
    QTest::newRow("binary") << QByteArray("\x00\xff\xfe<\x01" "content>", 13);
    QTest::newRow("undeclared entity") << QByteArray("<markbook><object>&nope;</object></markbook>");
}

void TestTreeModel::unusableFileLeavesOnlyTheRoot()
{
    QFETCH(QByteArray, xml);
    for (const QString &path : {writeFile(xml), m_dir.filePath(QStringLiteral("missing.xml"))}) {
        TreeModel model(path);
        QCOMPARE(model.fileName(), path);
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(model.rootItem()->type(), int(TreeItem::RootType));
        QVERIFY(model.caption().isEmpty());
        QVERIFY(model.startPageMap().isEmpty());
        QVERIFY(model.chapterIdMap().isEmpty());
    }
}

void TestTreeModel::deepNestingIsRefusedNotFatal_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<int>("depth");

    const int deepest = TreeModel::MaxNestingDepth - 1; // below the document element
    QTest::newRow("deepest accepted") << nested("content", "chapter", deepest, true) << deepest;
    QTest::newRow("one level too deep") << nested("content", "chapter", deepest + 1, true) << 0;
    QTest::newRow("hostile chapters") << nested("content", "chapter", 200000, true) << 0;
    QTest::newRow("hostile, never closed") << nested("markbook", "chapter", 200000, false) << 0;
}

void TestTreeModel::deepNestingIsRefusedNotFatal()
{
    QFETCH(QByteArray, xml);
    QFETCH(int, depth);

    XmlTreeModel model(xml);

    QCOMPARE(depthOfFirstChain(model.rootItem()), depth);
}

QTEST_GUILESS_MAIN(TestTreeModel)
#include "tst_treemodel.moc"
