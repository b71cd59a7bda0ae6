#include "treeitem.h"

// A parent given here takes ownership at once; appending the item to it again later is harmless.
TreeItem::TreeItem(const QList<QVariant> &data, int type, TreeItem *parent)
    : m_data(data), m_parent(nullptr), m_type(type)
{
    if (parent)
        parent->appendChild(this);
}

TreeItem::~TreeItem()
{
    qDeleteAll(m_children);
}

void TreeItem::appendChild(TreeItem *child)
{
    insertChild(m_children.size(), child);
}

// Takes ownership. An item still held by another parent is moved, so that no item
// is ever owned twice.
void TreeItem::insertChild(int row, TreeItem *child)
{
    Q_ASSERT(child && child != this);
    if (TreeItem *owner = child->m_parent)
        owner->m_children.removeOne(child);
    child->m_parent = this;
    m_children.insert(qBound(0, row, int(m_children.size())), child);
}

// The caller owns the returned item.
TreeItem *TreeItem::takeChild(int row)
{
    if (row < 0 || row >= m_children.size())
        return nullptr;
    TreeItem *child = m_children.takeAt(row);
    child->m_parent = nullptr;
    return child;
}

TreeItem *TreeItem::child(int row) const
{
    return m_children.value(row);
}

int TreeItem::childCount() const
{
    return int(m_children.size());
}

const QList<TreeItem *> &TreeItem::children() const
{
    return m_children;
}

int TreeItem::columnCount() const
{
    return int(m_data.size());
}

QVariant TreeItem::data(int column) const
{
    return m_data.value(column);
}

// Writing past the end pads the row with empty strings: rows are text, never holes.
bool TreeItem::setData(int column, const QVariant &value)
{
    if (column < 0)
        return false;
    while (m_data.size() <= column)
        m_data.append(QString());
    m_data[column] = value;
    return true;
}

QList<QVariant> TreeItem::itemData() const
{
    return m_data;
}

void TreeItem::setItemData(const QList<QVariant> &data)
{
    m_data = data;
}

// By identity: two siblings may carry equal rows.
int TreeItem::row() const
{
    return m_parent ? int(m_parent->m_children.indexOf(const_cast<TreeItem *>(this))) : 0;
}

TreeItem *TreeItem::parentItem() const
{
    return m_parent;
}

int TreeItem::type() const
{
    return m_type;
}

void TreeItem::setType(int type)
{
    m_type = type;
}

int TreeItem::checkState() const
{
    return m_checkState;
}

void TreeItem::setCheckState(int state)
{
    m_checkState = state;
}

bool TreeItem::match() const
{
    return m_match;
}

void TreeItem::setMatch(bool match)
{
    m_match = match;
}
