#include "fuzztarget.h"

#include "coursexml.h"
#include "domreference.h"
#include "xmltreemodel.h"

#include <QSet>
#include <QXmlStreamReader>

namespace {

QString documentElementName(const QByteArray &xml)
{
    QXmlStreamReader reader(xml);
    reader.setNamespaceProcessing(false);
    return reader.readNextStartElement() ? reader.name().toString() : QString();
}

class ModelWalk
{
public:
    explicit ModelWalk(const XmlTreeModel &model) : m_model(model) {}

    QString check()
    {
        walk(QModelIndex());
        if (m_problem.isEmpty())
            checkMap(m_model.startPageMap(), "start page");
        if (m_problem.isEmpty())
            checkMap(m_model.chapterIdMap(), "chapter id");
        return m_problem;
    }

private:
    void fail(const QString &problem)
    {
        if (m_problem.isEmpty())
            m_problem = problem;
    }

    void walk(const QModelIndex &parent)
    {
        const TreeItem *parentItem = m_model.itemFromIndex(parent);
        const int rows = m_model.rowCount(parent);
        const int columns = m_model.columnCount(parent);
        if (rows != parentItem->childCount())
            return fail(QStringLiteral("rowCount differs from the children"));
        if (m_model.index(rows, 0, parent).isValid() || m_model.index(0, columns, parent).isValid())
            return fail(QStringLiteral("an index beyond the end is valid"));
        for (int row = 0; row < rows && m_problem.isEmpty(); ++row) {
            for (int column = 0; column < columns; ++column)
                checkCell(m_model.index(row, column, parent), parent, row, column);
            m_items.insert(parentItem->child(row));
            walk(m_model.index(row, 0, parent));
        }
    }

    void checkCell(const QModelIndex &index, const QModelIndex &parent, int row, int column)
    {
        const TreeItem *item = m_model.itemFromIndex(index);
        if (!index.isValid() || item != m_model.itemFromIndex(parent)->child(row))
            return fail(QStringLiteral("index(%1, %2) misses its item").arg(row).arg(column));
        if (m_model.parent(index) != parent)
            return fail(QStringLiteral("parent() does not lead back"));
        if (column > 0 && m_model.rowCount(index) != 0)
            return fail(QStringLiteral("a cell beyond column 0 has rows"));
        if (m_model.data(index) != item->data(column)
            || m_model.data(index, Qt::ToolTipRole) != item->data(column)
            || m_model.data(index, TreeModel::TypeRole).toInt() != item->type()
            || m_model.data(index, TreeModel::ItemDataRole).toList() != item->itemData())
            return fail(QStringLiteral("data() disagrees with the item"));
        if (item->checkState() != Qt::Unchecked || !item->match())
            return fail(QStringLiteral("a loaded item is checked or unmatched"));
    }

    void checkMap(const QMap<int, TreeItem *> &map, const char *name)
    {
        for (const TreeItem *item : map) {
            if (!m_items.contains(item))
                return fail(QStringLiteral("the %1 map points outside the tree").arg(QLatin1String(name)));
        }
    }

    const XmlTreeModel &m_model;
    QSet<const TreeItem *> m_items;
    QString m_problem;
};

// Each item: its type and its number of columns, as the reader builds them.
QString checkShapes(const TreeItem *item, const QMap<int, int> &columnsOfType)
{
    for (const TreeItem *child : item->children()) {
        if (columnsOfType.value(child->type(), -1) != child->columnCount())
            return QStringLiteral("an item of type %1 has %2 columns").arg(child->type()).arg(child->columnCount());
        const QString problem = checkShapes(child, columnsOfType);
        if (!problem.isEmpty())
            return problem;
    }
    return {};
}

// A contents item is 20 exactly when it holds a material (four columns) directly.
QString checkContentsTypes(const TreeItem *item)
{
    for (const TreeItem *child : item->children()) {
        const bool holdsObject = std::any_of(child->children().cbegin(), child->children().cend(),
                                             [](const TreeItem *c) { return c->columnCount() == 4; });
        const int columns = child->columnCount();
        const bool shapeFits = child->type() == TreeItem::ObjectType ? columns == 4
                             : child->type() == TreeItem::ChapterType ? columns == 3
                             : child->type() == TreeItem::ChapterWithObjectsType && (columns == 3 || columns == 4);
        if (!shapeFits || holdsObject != (child->type() == TreeItem::ChapterWithObjectsType))
            return QStringLiteral("contents item of type %1 with %2 columns").arg(child->type()).arg(columns);
        const QString problem = checkContentsTypes(child);
        if (!problem.isEmpty())
            return problem;
    }
    return {};
}

// What a file written from the tree keeps: materials lose anything nested in them,
// folders lose their ids, values lose halves of surrogate pairs.
void dropWhatWritersOmit(TreeItem *item)
{
    for (TreeItem *child : item->children()) {
        for (int column = 0; column < child->columnCount(); ++column)
            child->setData(column, DomReference::withoutHalfPairs(child->data(column).toString()));
        if (child->type() == TreeItem::ObjectType) {
            while (child->childCount() > 0)
                delete child->takeChild(0);
        }
        if (child->type() == TreeItem::FolderType)
            child->setData(1, QString());
        dropWhatWritersOmit(child);
    }
}

// XML drops text made of nothing but white space, so such a history reads back empty.
void dropBlankHistories(TreeItem *item)
{
    for (TreeItem *child : item->children()) {
        const QString history = child->data(4).toString();
        if (child->type() == TreeItem::ObjectType
            && std::all_of(history.cbegin(), history.cend(), [](QChar c) { return QStringLiteral(" \t\r\n").contains(c); }))
            child->setData(4, QString());
        dropBlankHistories(child);
    }
}

bool sameItems(const TreeItem *ours, const TreeItem *qdom)
{
    if (ours->type() != qdom->type() || ours->itemData() != qdom->itemData()
        || ours->childCount() != qdom->childCount())
        return false;
    for (int row = 0; row < ours->childCount(); ++row) {
        if (!sameItems(ours->child(row), qdom->child(row)))
            return false;
    }
    return true;
}

// Maps of two trees compare through the rows leading to each item.
QMap<int, QList<int>> rowPaths(const QMap<int, TreeItem *> &map)
{
    QMap<int, QList<int>> paths;
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        QList<int> &path = paths[it.key()];
        for (const TreeItem *item = it.value(); item->parentItem(); item = item->parentItem())
            path.prepend(item->row());
    }
    return paths;
}

// The reader must give the tree QDom gives, malformed and hostile files included.
QString checkSameTreeAsQDom(const XmlTreeModel &model, const QByteArray &xml)
{
    DomReference::Tree qdom;
    DomReference::read(xml, &qdom);
    if (model.rootItem()->childCount() != qdom.root.childCount())
        return QStringLiteral("the tree differs from QDom's");
    for (int row = 0; row < qdom.root.childCount(); ++row) {
        if (!sameItems(model.rootItem()->child(row), qdom.root.child(row)))
            return QStringLiteral("the tree differs from QDom's");
    }
    if (model.caption() != qdom.caption)
        return QStringLiteral("the caption differs from QDom's");
    if (rowPaths(model.startPageMap()) != rowPaths(qdom.startPages)
        || rowPaths(model.chapterIdMap()) != rowPaths(qdom.chapterIds))
        return QStringLiteral("the maps differ from QDom's");
    return {};
}

QString checkSameAsQDom(const QByteArray &ours, const QByteArray &qdom)
{
    if (DomReference::withSortedAttributes(ours) != DomReference::withSortedAttributes(qdom))
        return QStringLiteral("the bytes differ from QDom's");
    return {};
}

// The model is then trimmed to what the file can hold, and compared with the file read back.
QString checkRoundTrip(XmlTreeModel &model, const QByteArray &written, const QByteArray &qdom)
{
    if (QString problem = checkSameAsQDom(written, qdom); !problem.isEmpty())
        return problem;
    dropWhatWritersOmit(model.rootItem());
    if (written.startsWith("<markbook"))
        dropBlankHistories(model.rootItem());
    const XmlTreeModel reread(written);
    if (reread.outline() != model.outline())
        return QStringLiteral("written and read back, the tree changed");
    return {};
}

// The tests of the contents, in order, as caption and id: "con" materials not inside
// another material.
void collectTests(const TreeItem *item, QStringList &tests)
{
    for (const TreeItem *child : item->children()) {
        if (child->type() != TreeItem::ObjectType)
            collectTests(child, tests);
        else if (child->data(1).toString() == QLatin1String("con"))
            tests << child->data(0).toString() + u'#' + child->data(2).toString();
    }
}

// Returns false when a chapter holds no test.
bool collectMarkbookTests(const TreeItem *item, QStringList &tests)
{
    for (const TreeItem *child : item->children()) {
        if (child->type() == TreeItem::ObjectType) {
            if (child->data(1).toString() != QLatin1String("-1.0") || !child->data(4).toString().isEmpty())
                return false;
            tests << child->data(0).toString() + u'#' + child->data(3).toString();
        } else if (child->childCount() == 0 || !collectMarkbookTests(child, tests)) {
            return false;
        }
    }
    return true;
}

QString checkNewMarkbook(const TreeItem *contentsRoot)
{
    QStringList expected;
    collectTests(contentsRoot, expected);
    const QByteArray written = CourseXml::newMarkbookXml(contentsRoot);
    if (QString problem = checkSameAsQDom(written, DomReference::newMarkbookXml(contentsRoot)); !problem.isEmpty())
        return problem;
    const XmlTreeModel markbook(written);
    QStringList found;
    if (!collectMarkbookTests(markbook.rootItem(), found))
        return QStringLiteral("the new markbook has an empty chapter or a marked test");
    if (found != expected)
        return QStringLiteral("the new markbook does not hold exactly the tests of the contents");
    return {};
}

QString checkReader(FuzzTarget::Reader reader, XmlTreeModel &model)
{
    switch (reader) {
    case FuzzTarget::Contents:
        if (QString problem = checkContentsTypes(model.rootItem()); !problem.isEmpty())
            return problem;
        return checkNewMarkbook(model.rootItem());
    case FuzzTarget::Favorites:
        if (QString problem = checkShapes(model.rootItem(), {{TreeItem::FolderType, 2}, {TreeItem::ObjectType, 5}});
            !problem.isEmpty())
            return problem;
        return checkRoundTrip(model, CourseXml::favoritesXml(model.rootItem()),
                              DomReference::favoritesXml(model.rootItem()));
    case FuzzTarget::Markbook:
        if (QString problem = checkShapes(model.rootItem(), {{TreeItem::ChapterType, 3}, {TreeItem::ObjectType, 5}});
            !problem.isEmpty())
            return problem;
        return checkRoundTrip(model, CourseXml::markbookXml(model.rootItem()),
                              DomReference::markbookXml(model.rootItem()));
    }
    return {};
}

} // namespace

QString FuzzTarget::run(Reader reader, const QByteArray &xml)
{
    XmlTreeModel model(xml);
    if (QString problem = ModelWalk(model).check(); !problem.isEmpty())
        return problem;
    if (QString problem = checkSameTreeAsQDom(model, xml); !problem.isEmpty())
        return problem;
    // Mutated inputs often end up with another document element and so another reader.
    static const QStringList rootNames{QStringLiteral("content"), QStringLiteral("favorites"),
                                       QStringLiteral("markbook")};
    if (model.rowCount() == 0 || documentElementName(xml) != rootNames.at(reader))
        return {};
    return checkReader(reader, model);
}
