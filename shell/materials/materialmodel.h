#ifndef MATERIALMODEL_H
#define MATERIALMODEL_H

#include "treemodel.h"

// A list of materials for the catalogue: every material row given to it, sorted by caption,
// either under a header per material group or as one flat list, and narrowed down by a
// search text. A material item has type 2, a group header type 4.
class MaterialModel : public TreeModel
{
    Q_OBJECT

public:
    enum ItemKind { GroupItem = 4, MaterialItem = 2 };

    explicit MaterialModel(QObject *parent = nullptr);

    // Rebuilds the list from material rows (caption, group key, id, path); the rows are
    // kept for a later change of grouping or search text.
    void build(const QList<QVariant> &rows);

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    bool isGrouped() const { return m_grouped; }
    QString filterText() const { return m_filter; }
    // How many of these rows the list would show with its present grouping and search text.
    int countListed(const QList<QVariant> &rows) const;

    // What a caption is sorted by: the caption from its first word character on.
    static QString sortKey(const QString &caption);
    // Whether a caption holds the search text, whatever the case; "ё" and "е" are one letter.
    static bool matches(const QString &caption, const QString &text);
    // The group keys in the order their headers are listed.
    static const QStringList &groupOrder();

public slots:
    void groupByType(bool group);
    void update(QString str);

private:
    void rebuild();
    bool lists(const QList<QVariant> &columns) const;
    void appendGrouped(const QList<QVariant> &rows);

    bool m_grouped = true;
    QString m_filter;
    QList<QVariant> m_rows;
};

#endif
