#pragma once

#include <QAbstractItemModel>
#include <QMap>

class TreeItem;

// The model behind every tree of the shell. It reads whichever course file it is given
// (textbook contents, favorites or a markbook, told apart by the document element);
// subclasses put their header row on the root item and add their own behaviour.
class TreeModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    enum Role {
        TypeRole = Qt::UserRole + 1,
        ItemDataRole = Qt::UserRole + 2
    };

    // Files nested deeper than this are refused as a whole; real course files use a handful of levels.
    static constexpr int MaxNestingDepth = 256;

    explicit TreeModel(QObject *parent = nullptr);
    explicit TreeModel(const QString &fileName, QObject *parent = nullptr);
    ~TreeModel() override;

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &index) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    virtual TreeItem *findObject(const QString &id, TreeItem *item) const;

    TreeItem *rootItem() const;
    TreeItem *itemFromIndex(const QModelIndex &index) const;
    QModelIndex indexFromItem(TreeItem *item, int column = 0) const;

    QString fileName() const;
    QString caption() const;
    const QMap<int, TreeItem *> &startPageMap() const;
    const QMap<int, TreeItem *> &chapterIdMap() const;

    // The document element's tag name, which tells the file kinds apart; empty when the
    // loader refuses the bytes as a whole (not well-formed, or nested too deep).
    static QString documentElementName(const QByteArray &xml);

protected:
    // Replaces whatever was loaded; the root keeps its header row.
    void load(const QByteArray &xml);
    void setFileName(const QString &fileName) { m_fileName = fileName; }

private:
    void clear();
    void loadFile();

    QString m_fileName;
    QString m_caption;
    TreeItem *m_rootItem;
    QMap<int, TreeItem *> m_startPageMap;
    QMap<int, TreeItem *> m_chapterIdMap;
};
