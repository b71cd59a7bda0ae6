#pragma once

#include "treeitem.h"
#include "treemodel.h"

#include <QStringList>

// A TreeModel fed from bytes, with a header wide enough to show every column of every
// course file. outline() spells the tree out so that tests compare whole trees at once.
class XmlTreeModel : public TreeModel
{
public:
    explicit XmlTreeModel(const QByteArray &xml = {})
    {
        rootItem()->setItemData({QString(), QString(), QString(), QString(), QString()});
        load(xml);
    }

    using TreeModel::load;

    // The top-level items, each as type:column0|column1|...{children,...}
    QString outline() const { return childrenOutline(rootItem()); }

    static QString outline(const TreeItem *item)
    {
        QStringList columns;
        for (const QVariant &value : item->itemData())
            columns << value.toString();
        QString text = QString::number(item->type()) + u':' + columns.join(u'|');
        if (item->childCount() > 0)
            text += u'{' + childrenOutline(item) + u'}';
        return text;
    }

    static QString childrenOutline(const TreeItem *item)
    {
        QStringList children;
        for (const TreeItem *child : item->children())
            children << outline(child);
        return children.join(u',');
    }
};
