#include "favoritesmodel.h"

#include "atomicfile.h"
#include "coursexml.h"
#include "environment.h"
#include "treeitem.h"

#include <QDataStream>
#include <QFile>
#include <QFont>
#include <QIODevice>
#include <QMimeData>

namespace {

constexpr int kSaveDelayMs = 300;
// A pupil who keeps changing things would otherwise put the write off for ever.
constexpr int kLongestSaveDelayMs = 1000;

bool isFolder(const TreeItem *item)
{
    return item->type() == TreeItem::FolderType;
}

bool isMaterial(const TreeItem *item)
{
    return item->type() == TreeItem::ObjectType;
}

} // namespace

FavoritesModel::FavoritesModel(QObject *parent)
    : TreeModel(pupilDir.filePath(QStringLiteral("favorites.xml")), parent)
{
    keepUnreadableFileAside();
    rootItem()->setItemData({tr("  Избранное")});
    m_folderIcon.addFile(themed(QStringLiteral("theme/other/icons/folder_expanded.png")), QSize(), QIcon::Normal, QIcon::On);
    m_folderIcon.addFile(themed(QStringLiteral("theme/other/icons/folder_collapsed.png")), QSize(), QIcon::Normal, QIcon::Off);
    // Changes come in bursts (a drop is an insertion and a removal): one write after them.
    m_saveTimer.setSingleShot(true);
    m_saveTimer.setInterval(kSaveDelayMs);
    connect(&m_saveTimer, &QTimer::timeout, this, &FavoritesModel::saveNow);
    m_saveDeadline.setSingleShot(true);
    m_saveDeadline.setInterval(kLongestSaveDelayMs);
    connect(&m_saveDeadline, &QTimer::timeout, this, &FavoritesModel::saveNow);
    connect(this, &QAbstractItemModel::rowsInserted, this, &FavoritesModel::changed);
    connect(this, &QAbstractItemModel::rowsRemoved, this, &FavoritesModel::changed);
    connect(this, &QAbstractItemModel::rowsMoved, this, &FavoritesModel::changed);
    connect(this, &QAbstractItemModel::dataChanged, this, &FavoritesModel::changed);
}

FavoritesModel::~FavoritesModel()
{
    saveNow();
}

// Left in place, a file the reader refused would show as an empty tree and be kept aside
// only by the next save, unknown to the pupil; moved now, the pupil can be told at once.
void FavoritesModel::keepUnreadableFileAside()
{
    QFile file(fileName());
    if (!file.exists() || file.size() == 0)
        return;
    if (file.open(QIODevice::ReadOnly) && documentElementName(file.readAll()) == QLatin1String("favorites"))
        return;
    file.close();
    QString error;
    m_keptAside = AtomicFile::keepAside(fileName(), QStringLiteral(".bad"), &error);
    if (m_keptAside.isEmpty())
        qWarning("Cannot keep the unreadable %s aside: %s", qPrintable(fileName()), qPrintable(error));
    else
        qWarning("%s could not be read and is kept as %s", qPrintable(fileName()), qPrintable(m_keptAside));
    // Whatever another kind of document gave the tree is no favorite of the pupil's.
    load(QByteArray());
}

void FavoritesModel::changed()
{
    if (!m_unsaved)
        m_saveDeadline.start();
    m_unsaved = true;
    m_saveTimer.start();
}

bool FavoritesModel::saveNow()
{
    m_saveTimer.stop();
    m_saveDeadline.stop();
    if (!m_unsaved)
        return true;
    m_unsaved = false;
    if (CourseXml::saveFavorites(rootItem(), fileName()))
        return true;
    emit saveFailed(fileName());
    return false;
}

QString FavoritesModel::ownText(const TreeItem *item)
{
    return item->data(isMaterial(item) ? 4 : 0).toString();
}

// One column everywhere, whatever a row holds: a selected row moved between folders whose
// rows are of different lengths (a folder from the file keeps its id) would otherwise leave
// the view holding cells that no longer exist.
int FavoritesModel::columnCount(const QModelIndex &) const
{
    return 1;
}

QVariant FavoritesModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.column() != 0)
        return QVariant();
    const TreeItem *item = itemFromIndex(index);
    if (isFolder(item)) {
        switch (role) {
        case Qt::DecorationRole:
            return m_folderIcon;
        case Qt::FontRole:
            return QFont(QStringLiteral("Tahoma"), 14, QFont::Bold);
        case Qt::EditRole:
            return item->data(0);
        default:
            break;
        }
    } else if (isMaterial(item)) {
        switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return item->data(4);
        case Qt::FontRole:
            return QFont(QStringLiteral("Tahoma"), 14, QFont::Normal);
        default:
            break;
        }
    }
    return TreeModel::data(index, role);
}

bool FavoritesModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    TreeItem *item = itemFromIndex(index);
    item->setData(isMaterial(item) ? 4 : index.column(), value);
    emit dataChanged(index, index);
    return true;
}

Qt::ItemFlags FavoritesModel::flags(const QModelIndex &index) const
{
    // The top level takes drops (the blank space below the items): without that nothing can
    // be taken out of a folder again. Qt's views expect no other flags on it.
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    const Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsDragEnabled | Qt::ItemIsEnabled;
    // A material holds nothing: a view then takes a drop on it as one beside it, into its folder.
    return isMaterial(itemFromIndex(index)) ? flags : flags | Qt::ItemIsDropEnabled;
}

QStringList FavoritesModel::mimeTypes() const
{
    return {QLatin1String(MimeType)};
}

QMimeData *FavoritesModel::mimeData(const QModelIndexList &indexes) const
{
    auto *mime = new QMimeData;
    if (indexes.isEmpty())
        return mime;
    const QModelIndex index = indexes.first();
    const qint32 handle = ++m_nextHandle;
    m_dragged.clear(); // one drag at a time
    m_dragged.insert(handle, itemFromIndex(index));
    QByteArray payload;
    QDataStream stream(&payload, QIODevice::WriteOnly);
    stream << handle << qint32(index.row()) << qint32(index.column());
    mime->setData(QLatin1String(MimeType), payload);
    return mime;
}

Qt::DropActions FavoritesModel::supportedDropActions() const
{
    return Qt::MoveAction;
}

bool FavoritesModel::contains(const TreeItem *item) const
{
    // By identity, from the root down: a handle may outlive the item it named.
    QList<const TreeItem *> pending = {rootItem()};
    while (!pending.isEmpty()) {
        const TreeItem *next = pending.takeLast();
        if (next == item)
            return true;
        for (const TreeItem *child : next->children())
            pending.append(child);
    }
    return false;
}

bool FavoritesModel::isSelfOrDescendant(const TreeItem *item, const TreeItem *ancestor)
{
    for (const TreeItem *up = item; up; up = up->parentItem()) {
        if (up == ancestor)
            return true;
    }
    return false;
}

bool FavoritesModel::dropMimeData(const QMimeData *data, Qt::DropAction action, int, int column,
                                  const QModelIndex &parent)
{
    if (!data || !data->hasFormat(QLatin1String(MimeType)))
        return false;
    if (action == Qt::IgnoreAction)
        return true;
    // An invalid parent is the top level.
    if (column > 0 || isMaterial(itemFromIndex(parent)))
        return false;
    TreeItem *folder = itemFromIndex(parent);
    QDataStream stream(data->data(QLatin1String(MimeType)));
    bool moved = false;
    while (!stream.atEnd()) {
        qint32 handle = 0, row = 0, itemColumn = 0;
        stream >> handle >> row >> itemColumn;
        if (stream.status() != QDataStream::Ok)
            break;
        TreeItem *item = m_dragged.value(handle);
        // A folder dropped into itself or below itself would cut itself out of the tree.
        if (!item || !contains(item) || isSelfOrDescendant(folder, item))
            continue;
        moveItem(item, folder);
        moved = true;
    }
    return moved;
}

void FavoritesModel::moveItem(TreeItem *item, TreeItem *folder)
{
    // One move to the end of the folder: views keep their hold on the item and what is
    // below it, which an insertion of a copy and a removal of the original would break.
    TreeItem *from = item->parentItem();
    const int row = from->children().indexOf(item);
    const QModelIndex source = indexFromItem(from);
    const QModelIndex target = indexFromItem(folder);
    if (!beginMoveRows(source, row, row, target, folder->childCount()))
        return; // already the folder's last item
    from->takeChild(row);
    item->setMatch(true);
    folder->appendChild(item);
    endMoveRows();
    emit scrollUpdate();
}

QModelIndex FavoritesModel::appendItem(const QModelIndex &parent, TreeItem *item)
{
    TreeItem *folder = itemFromIndex(parent);
    const int row = folder->childCount();
    item->setMatch(true);
    beginInsertRows(parent, row, row);
    folder->appendChild(item);
    endInsertRows();
    emit scrollUpdate();
    return index(row, 0, parent);
}

void FavoritesModel::removeItem(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    TreeItem *item = itemFromIndex(index);
    TreeItem *folder = item->parentItem();
    const int row = folder->children().indexOf(item);
    beginRemoveRows(index.parent(), row, row);
    delete folder->takeChild(row);
    endRemoveRows();
    emit scrollUpdate();
}

void FavoritesModel::update(QString str)
{
    m_search = str;
    emit layoutAboutToBeChanged();
    for (TreeItem *item : rootItem()->children()) {
        item->setMatch(ownText(item).contains(m_search, Qt::CaseInsensitive));
        if (isFolder(item) && matchFolder(item))
            item->setMatch(true);
    }
    emit layoutChanged();
}

// Marks the folder's subtree; true when anything below the folder is shown.
bool FavoritesModel::matchFolder(TreeItem *folder)
{
    bool anyShown = false;
    for (TreeItem *child : folder->children()) {
        child->setMatch(ownText(child).contains(m_search, Qt::CaseInsensitive) || folder->match());
        if (isFolder(child) && matchFolder(child))
            child->setMatch(true);
        anyShown = anyShown || child->match();
    }
    return anyShown;
}

QModelIndexList FavoritesModel::searchHits() const
{
    QModelIndexList hits;
    if (m_search.isEmpty())
        return hits;
    QList<TreeItem *> pending = rootItem()->children();
    while (!pending.isEmpty()) {
        TreeItem *item = pending.takeFirst();
        if (ownText(item).contains(m_search, Qt::CaseInsensitive))
            hits << indexFromItem(item);
        pending << item->children();
    }
    return hits;
}
