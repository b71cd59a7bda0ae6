#ifndef FAVORITESMODEL_H
#define FAVORITESMODEL_H

#include "treemodel.h"

#include <QHash>
#include <QIcon>
#include <QTimer>

// The pupil's favorites: materials kept under names of the pupil's choice, in folders the
// pupil makes, read from and written to favorites.xml in the pupil's folder. Every change is
// written soon after it is made, so a crash loses nothing. One model serves the process.
class FavoritesModel : public TreeModel
{
    Q_OBJECT

public:
    static constexpr const char *MimeType = "application/favorites";

    explicit FavoritesModel(QObject *parent = nullptr);
    ~FavoritesModel() override;

    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;
    Qt::DropActions supportedDropActions() const override;
    bool dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                      const QModelIndex &parent) override;

    // Appends an item as the last child of `parent` (the top level for an invalid index).
    QModelIndex appendItem(const QModelIndex &parent, TreeItem *item);
    // Takes an item out of the tree, with everything below it.
    void removeItem(const QModelIndex &index);

    // The items whose own name holds the last search text; none when it is empty.
    QModelIndexList searchHits() const;

    // Writes the file now, if anything changed since the last write. False when the write failed.
    bool saveNow();
    bool hasUnsavedChanges() const { return m_unsaved; }
    // Where the file the reader refused at the start was moved; empty when there was none.
    QString keptAside() const { return m_keptAside; }

signals:
    void scrollUpdate();
    // A write of the pupil's favorites failed; the tree in memory stays as it was.
    void saveFailed(const QString &fileName);

public slots:
    void update(QString str);

private:
    void keepUnreadableFileAside();
    void changed();
    bool contains(const TreeItem *item) const;
    static bool isSelfOrDescendant(const TreeItem *item, const TreeItem *ancestor);
    void moveItem(TreeItem *item, TreeItem *folder);
    bool matchFolder(TreeItem *folder);
    static QString ownText(const TreeItem *item);

    QIcon m_folderIcon;
    QString m_search;
    QTimer m_saveTimer;
    QTimer m_saveDeadline;
    bool m_unsaved = false;
    QString m_keptAside;
    // Items on their way in a drag, by handle: the payload never carries a pointer.
    mutable QHash<qint32, TreeItem *> m_dragged;
    mutable qint32 m_nextHandle = 0;
};

#endif
