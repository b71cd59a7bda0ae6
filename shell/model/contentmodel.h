#ifndef CONTENTMODEL_H
#define CONTENTMODEL_H

#include "treemodel.h"

// The course contents, read once from data/content.xml and shared by everything that needs to
// know the chapters and materials. Views see chapters only: materials are found by id.
class ContentModel : public TreeModel
{
    Q_OBJECT

public:
    explicit ContentModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    TreeItem *findObject(const QString &id, TreeItem *item) const override;

    // Set by the catalogue while it recomputes check states.
    bool allChecked() const { return m_allChecked; }
    void setAllChecked(bool all) { m_allChecked = all; }

    // The font of an item in every view of the contents.
    static QFont itemFont(const TreeItem *item);

private:
    bool m_allChecked = false;
};

#endif
