#pragma once

#include <QList>
#include <QVariant>

// One node of any tree the shell shows: textbook contents, favorites, a pupil's markbook.
// An item owns its children; deleting it deletes the whole subtree.
class TreeItem
{
public:
    // Bit values kept from the course files' era: a chapter holding materials is Chapter | Object.
    enum ItemType {
        RootType = 2,
        ChapterType = 4,
        FolderType = 8,
        ObjectType = 16,
        ChapterWithObjectsType = ChapterType | ObjectType
    };

    explicit TreeItem(const QList<QVariant> &data = {}, int type = RootType,
                      TreeItem *parent = nullptr);
    ~TreeItem();

    void appendChild(TreeItem *child);
    void insertChild(int row, TreeItem *child);
    TreeItem *takeChild(int row);
    TreeItem *child(int row) const;
    int childCount() const;
    const QList<TreeItem *> &children() const;

    int columnCount() const;
    QVariant data(int column) const;
    bool setData(int column, const QVariant &value);
    QList<QVariant> itemData() const;
    void setItemData(const QList<QVariant> &data);

    int row() const;
    TreeItem *parentItem() const;

    int type() const;
    void setType(int type);
    int checkState() const;
    void setCheckState(int state);
    bool match() const;
    void setMatch(bool match);

private:
    Q_DISABLE_COPY(TreeItem)

    QList<QVariant> m_data;
    QList<TreeItem *> m_children;
    TreeItem *m_parent;
    int m_type;
    int m_checkState = Qt::Unchecked;
    bool m_match = true;
};
