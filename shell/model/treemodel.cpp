#include "treemodel.h"

#include "coursetreereader.h"
#include "treeitem.h"

#include <QFile>
#include <QXmlStreamReader>

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

// The loader's checks of well-formedness and depth, without building a tree: the same
// reader, namespace processing off, the same limit.
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
    CourseTreeReader reader(m_rootItem);
    if (reader.read(xml)) {
        m_caption = reader.caption();
        m_startPageMap = reader.startPageMap();
        m_chapterIdMap = reader.chapterIdMap();
    }
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
