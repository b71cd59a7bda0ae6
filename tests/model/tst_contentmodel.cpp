#include "contentmodel.h"
#include "contentmodelproxy.h"
#include "environment.h"
#include "treeitem.h"

#include <QAbstractItemModelTester>
#include <QFont>
#include <QTemporaryDir>
#include <QTest>

static const char kContents[] = R"(<content caption="Азбука">
    <chapter caption="Звуки" id="1" startpage="3">
        <chapter caption="Гласные" id="2" startpage="4">
            <object caption="Звук А" type="ani" id="a1" path="p"/>
            <chapter caption="Внутри" id="5" startpage="5"/>
        </chapter>
        <chapter caption="Пустая" id="3" startpage="x"/>
    </chapter>
    <chapter caption="Слова" id="4" startpage="9">
        <object caption="Дубликат первый" type="con" id="dup" path="p"/>
        <object caption="Дубликат второй" type="pra" id="dup" path="p"/>
    </chapter>
</content>
)";

class TestContentModel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void modelsPassTheTester();
    void viewsSeeChaptersOnly();
    void boldOnlyForChaptersWithSubChapters();
    void findObjectTakesTheFirstInContentsOrder();
    void proxyShowsCheckStatesOfTheCaptionColumn();
    void missingContentsGiveAnEmptyModel();

private:
    QModelIndex at(const QAbstractItemModel *model, std::initializer_list<int> rows) const;

    QTemporaryDir m_dir;
    QString m_oldCwd;
};

void TestContentModel::initTestCase()
{
    m_oldCwd = QDir::currentPath();
    QDir::setCurrent(m_dir.path());
    QDir().mkpath("data");
    QFile f("data/content.xml");
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(kContents);
    f.close();
    ensureContentModel();
}

void TestContentModel::cleanupTestCase()
{
    QDir::setCurrent(m_oldCwd);
}

QModelIndex TestContentModel::at(const QAbstractItemModel *model, std::initializer_list<int> rows) const
{
    QModelIndex index;
    for (int row : rows)
        index = model->index(row, 0, index);
    return index;
}

void TestContentModel::modelsPassTheTester()
{
    QAbstractItemModelTester modelTester(contentModel, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QAbstractItemModelTester proxyTester(contentProxy, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(contentModel->headerData(0, Qt::Horizontal).toString(), QString("  Оглавление"));
    QCOMPARE(contentModel->caption(), QString("Азбука"));
}

void TestContentModel::viewsSeeChaptersOnly()
{
    const QModelIndex sounds = at(contentModel, {0});
    QCOMPARE(contentModel->rowCount(sounds), 2);
    const QModelIndex vowels = at(contentModel, {0, 0});
    QCOMPARE(contentModel->itemFromIndex(vowels)->type(), 20);
    QCOMPARE(contentModel->rowCount(vowels), 0); // holds materials: a leaf in every view
    QCOMPARE(contentModel->rowCount(at(contentModel, {1})), 0);
    QCOMPARE(contentModel->data(vowels.siblingAtColumn(1), Qt::DisplayRole).toString(), QString("4"));
    QCOMPARE(contentModel->data(vowels.siblingAtColumn(1), Qt::TextAlignmentRole).toInt(), int(Qt::AlignRight));
    QCOMPARE(contentModel->data(vowels.siblingAtColumn(1), Qt::ToolTipRole).toString(), QString("Гласные"));
    QVERIFY(!contentModel->data(vowels, TreeModel::TypeRole).isValid());
    QCOMPARE(contentModel->rowCount(sounds.siblingAtColumn(1)), 0);
}

void TestContentModel::boldOnlyForChaptersWithSubChapters()
{
    const auto bold = [](const QModelIndex &index) { return index.data(Qt::FontRole).value<QFont>().bold(); };
    QVERIFY(bold(at(contentModel, {0})));
    QVERIFY(!bold(at(contentModel, {0, 0}))); // holds materials (and a sub-chapter)
    QVERIFY(!bold(at(contentModel, {0, 1}))); // no children
    QVERIFY(!bold(at(contentModel, {1})));
    QCOMPARE(at(contentModel, {0}).data(Qt::FontRole).value<QFont>().pointSize(), 14);
}

void TestContentModel::findObjectTakesTheFirstInContentsOrder()
{
    TreeItem *root = contentModel->rootItem();
    QCOMPARE(contentModel->findObject("dup", root)->data(0).toString(), QString("Дубликат первый"));
    QCOMPARE(contentModel->findObject("a1", root)->data(1).toString(), QString("ani"));
    QVERIFY(!contentModel->findObject("1", root)); // chapter ids are not material ids
    QVERIFY(!contentModel->findObject("missing", root));
    QVERIFY(!contentModel->findObject(QString(), root));
}

void TestContentModel::proxyShowsCheckStatesOfTheCaptionColumn()
{
    QCOMPARE(contentProxy->columnCount(), 1);
    const QModelIndex sounds = contentProxy->index(0, 0);
    contentModel->itemFromIndex(contentProxy->mapToSource(sounds))->setCheckState(Qt::PartiallyChecked);
    QCOMPARE(sounds.data(Qt::CheckStateRole).toInt(), int(Qt::PartiallyChecked));
    QVERIFY(sounds.data(Qt::FontRole).value<QFont>().bold());
    QCOMPARE(sounds.data().toString(), QString("Звуки"));
}

void TestContentModel::missingContentsGiveAnEmptyModel()
{
    QDir::setCurrent(m_oldCwd);
    QTemporaryDir empty;
    QDir::setCurrent(empty.path());
    ContentModel model;
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.columnCount(), 2);
    QVERIFY(!model.findObject("a1", model.rootItem()));
    QDir::setCurrent(m_dir.path());
}

QTEST_MAIN(TestContentModel)
#include "tst_contentmodel.moc"
