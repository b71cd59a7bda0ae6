#include "treeitem.h"

#include <QtTest>

class TestTreeItem : public QObject
{
    Q_OBJECT

private slots:
    void rowIsPositionByIdentity();
    void movingKeepsSingleOwnership();
    void takenChildOutlivesItsParent();
    void rowGrowsWithEmptyStrings();
};

// Siblings often carry equal rows (two materials of the same name).
void TestTreeItem::rowIsPositionByIdentity()
{
    TreeItem root;
    TreeItem *first = new TreeItem({QStringLiteral("same")}, TreeItem::ObjectType, &root);
    TreeItem *second = new TreeItem({QStringLiteral("same")}, TreeItem::ObjectType, &root);
    TreeItem *inserted = new TreeItem({QStringLiteral("same")}, TreeItem::ObjectType);
    root.insertChild(1, inserted);

    QCOMPARE(first->row(), 0);
    QCOMPARE(inserted->row(), 1);
    QCOMPARE(second->row(), 2);
    QCOMPARE(inserted->parentItem(), &root);
}

// Constructing with a parent and then appending (the usual Qt idiom) must not list the
// item twice, and appending an item owned elsewhere moves it: either mistake ends in a
// double delete.
void TestTreeItem::movingKeepsSingleOwnership()
{
    TreeItem root;
    TreeItem *folder = new TreeItem({QStringLiteral("folder")}, TreeItem::FolderType, &root);
    root.appendChild(folder);
    TreeItem *object = new TreeItem({QStringLiteral("object")}, TreeItem::ObjectType, &root);

    folder->appendChild(object);

    QCOMPARE(root.childCount(), 1);
    QCOMPARE(folder->children(), QList<TreeItem *>{object});
    QCOMPARE(object->parentItem(), folder);
    QCOMPARE(object->row(), 0);
}

void TestTreeItem::takenChildOutlivesItsParent()
{
    TreeItem *taken = nullptr;
    {
        TreeItem root;
        new TreeItem({QStringLiteral("a")}, TreeItem::ChapterType, &root);
        new TreeItem({QStringLiteral("b")}, TreeItem::ChapterType, &root);
        taken = root.takeChild(0);
        QCOMPARE(root.takeChild(5), nullptr);
        QCOMPARE(root.childCount(), 1);
    }
    QCOMPARE(taken->parentItem(), nullptr);
    QCOMPARE(taken->data(0), QVariant(QStringLiteral("a")));
    delete taken;
}

void TestTreeItem::rowGrowsWithEmptyStrings()
{
    TreeItem item({QStringLiteral("caption")}, TreeItem::ObjectType);

    QVERIFY(item.setData(2, QStringLiteral("id")));
    QVERIFY(!item.setData(-1, QStringLiteral("x")));

    QCOMPARE(item.itemData(), (QList<QVariant>{QStringLiteral("caption"), QString(), QStringLiteral("id")}));
    QCOMPARE(item.data(3), QVariant());
}

QTEST_APPLESS_MAIN(TestTreeItem)
#include "tst_treeitem.moc"
