#include "treemodel.h"

#include "treeitem.h"

#include <QDomDocument>
#include <QFile>
#include <QXmlStreamReader>

using namespace Qt::StringLiterals;

namespace {

bool isLeaf(const QDomElement &element)
{
    return element.firstChildElement().isNull();
}

} // namespace

TreeModel::TreeModel(QObject *parent)
    : QAbstractItemModel(parent),
      m_fileName(QStringLiteral("default.xml")),
      m_rootItem(new TreeItem({}, TreeItem::RootType))
{
}

TreeModel::TreeModel(const QString &fileName, QObject *parent)
    : QAbstractItemModel(parent), m_fileName(fileName), m_rootItem(new TreeItem({}, TreeItem::RootType))
{
    loadFile();
}

TreeModel::~TreeModel()
{
    delete m_rootItem;
}

QModelIndex TreeModel::index(int row, int column, const QModelIndex &parent) const
{
    if (!hasIndex(row, column, parent))
        return {};
    TreeItem *child = itemFromIndex(parent)->child(row);
    return child ? createIndex(row, column, child) : QModelIndex();
}

QModelIndex TreeModel::parent(const QModelIndex &index) const
{
    if (!index.isValid())
        return {};
    return indexFromItem(itemFromIndex(index)->parentItem());
}

int TreeModel::rowCount(const QModelIndex &parent) const
{
    if (parent.column() > 0)
        return 0;
    return itemFromIndex(parent)->childCount();
}

int TreeModel::columnCount(const QModelIndex &parent) const
{
    return itemFromIndex(parent)->columnCount();
}

QVariant TreeModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const TreeItem *item = itemFromIndex(index);
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return item->data(index.column());
    case TypeRole:
        return item->type();
    case ItemDataRole:
        return QVariant(item->itemData());
    default:
        return {};
    }
}

QVariant TreeModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return m_rootItem->data(section);
    return {};
}

TreeItem *TreeModel::findObject(const QString &id, TreeItem *item) const
{
    Q_UNUSED(id)
    Q_UNUSED(item)
    return nullptr;
}

TreeItem *TreeModel::rootItem() const
{
    return m_rootItem;
}

TreeItem *TreeModel::itemFromIndex(const QModelIndex &index) const
{
    if (!index.isValid())
        return m_rootItem;
    Q_ASSERT(index.model() == this);
    return static_cast<TreeItem *>(index.internalPointer());
}

// The root has no index of its own: views show its children as top-level rows.
QModelIndex TreeModel::indexFromItem(TreeItem *item, int column) const
{
    if (!item || item == m_rootItem || !item->parentItem())
        return {};
    return createIndex(item->row(), column, item);
}

QString TreeModel::fileName() const
{
    return m_fileName;
}

QString TreeModel::caption() const
{
    return m_caption;
}

const QMap<int, TreeItem *> &TreeModel::startPageMap() const
{
    return m_startPageMap;
}

const QMap<int, TreeItem *> &TreeModel::chapterIdMap() const
{
    return m_chapterIdMap;
}

// QDom takes time quadratic in the depth to build a document and frees it recursively,
// so a hostile file must be turned away before QDom sees it. The stream reader is linear
// and needs no stack. Namespace processing is off, as it is in QDom, so that both refuse
// the same documents.
QString TreeModel::documentElementName(const QByteArray &xml)
{
    QXmlStreamReader reader(xml);
    reader.setNamespaceProcessing(false);
    QString name;
    int depth = 0;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement:
            if (++depth > MaxNestingDepth)
                return {};
            if (name.isEmpty())
                name = reader.name().toString();
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        default:
            break;
        }
    }
    return reader.hasError() ? QString() : name;
}

void TreeModel::load(const QByteArray &xml)
{
    beginResetModel();
    clear();
    QDomDocument document;
    if (!documentElementName(xml).isEmpty() && document.setContent(xml))
        loadDocument(document.documentElement());
    endResetModel();
}

void TreeModel::clear()
{
    while (TreeItem *child = m_rootItem->takeChild(m_rootItem->childCount() - 1))
        delete child;
    m_caption.clear();
    m_startPageMap.clear();
    m_chapterIdMap.clear();
}

// A missing or unreadable file is an empty tree: a new pupil has no markbook yet. The
// writers keep an unreadable file aside before they replace it (CourseXml::save).
void TreeModel::loadFile()
{
    QFile file(m_fileName);
    if (file.open(QIODevice::ReadOnly))
        load(file.readAll());
}

void TreeModel::loadDocument(const QDomElement &root)
{
    const QString tag = root.tagName();
    if (tag == QLatin1String("content"))
        loadContents(root);
    else if (tag == QLatin1String("favorites"))
        addChildren(root, m_rootItem, &TreeModel::addFavoritesItem);
    else if (tag == QLatin1String("markbook"))
        addChildren(root, m_rootItem, &TreeModel::addMarkbookItem);
}

void TreeModel::loadContents(const QDomElement &root)
{
    m_caption = root.attribute(u"caption"_s);
    for (QDomElement chapter = root.firstChildElement(u"chapter"_s); !chapter.isNull();
         chapter = chapter.nextSiblingElement(u"chapter"_s)) {
        if (TreeItem *item = addContentsItem(chapter, m_rootItem))
            addChildren(chapter, item, &TreeModel::addContentsItem);
    }
}

// Depth is bounded by MaxNestingDepth, checked before the document was built.
void TreeModel::addChildren(const QDomElement &element, TreeItem *parent, ItemFactory makeItem)
{
    for (QDomElement child = element.firstChildElement(); !child.isNull();
         child = child.nextSiblingElement()) {
        if (TreeItem *item = (this->*makeItem)(child, parent))
            addChildren(child, item, makeItem);
    }
}

// Elements of any other name carry nothing the shell can show; they are skipped with
// everything below them.
TreeItem *TreeModel::addContentsItem(const QDomElement &element, TreeItem *parent)
{
    TreeItem *item = nullptr;
    if (element.tagName() == QLatin1String("chapter")) {
        item = new TreeItem({element.attribute(u"caption"_s), element.attribute(u"id"_s),
                             element.attribute(u"startpage"_s)},
                            TreeItem::ChapterType);
        if (element.hasAttribute(u"id"_s))
            m_chapterIdMap.insert(element.attribute(u"id"_s).toInt(), item);
        if (isLeaf(element))
            m_startPageMap.insert(element.attribute(u"startpage"_s).toInt(), item);
    } else if (element.tagName() == QLatin1String("object")) {
        item = new TreeItem({element.attribute(u"caption"_s), element.attribute(u"type"_s),
                             element.attribute(u"id"_s), element.attribute(u"path"_s)},
                            TreeItem::ObjectType);
        parent->setType(TreeItem::ChapterWithObjectsType);
        // A page with materials opens its chapter.
        if (isLeaf(element))
            m_startPageMap.insert(parent->data(2).toString().toInt(), parent);
    } else {
        return nullptr;
    }
    parent->appendChild(item);
    return item;
}

TreeItem *TreeModel::addFavoritesItem(const QDomElement &element, TreeItem *parent)
{
    TreeItem *item = nullptr;
    if (element.tagName() == QLatin1String("folder")) {
        item = new TreeItem({element.attribute(u"caption"_s), element.attribute(u"id"_s)},
                            TreeItem::FolderType);
    } else if (element.tagName() == QLatin1String("object")) {
        item = new TreeItem({element.attribute(u"caption"_s), element.attribute(u"type"_s),
                             element.attribute(u"id"_s), element.attribute(u"path"_s),
                             element.attribute(u"name"_s)},
                            TreeItem::ObjectType);
    } else {
        return nullptr;
    }
    parent->appendChild(item);
    return item;
}

// A test never taken has no mark attribute; the pupil's history is the element's text.
TreeItem *TreeModel::addMarkbookItem(const QDomElement &element, TreeItem *parent)
{
    TreeItem *item = nullptr;
    if (element.tagName() == QLatin1String("chapter")) {
        item = new TreeItem({element.attribute(u"caption"_s), QString(), QString()},
                            TreeItem::ChapterType);
    } else if (element.tagName() == QLatin1String("object")) {
        item = new TreeItem({element.attribute(u"caption"_s),
                             element.attribute(u"mark"_s, u"0.0"_s),
                             QString(), element.attribute(u"id"_s), element.text()},
                            TreeItem::ObjectType);
    } else {
        return nullptr;
    }
    parent->appendChild(item);
    return item;
}
