#include "contentchecks.h"

#include "treeitem.h"

namespace {
constexpr int kObjectFlag = TreeItem::ObjectType;
}

void ContentChecks::setState(TreeItem *item, int state)
{
    item->setCheckState(state);
    if (state == Qt::PartiallyChecked)
        return;
    for (TreeItem *child : item->children())
        setState(child, state);
}

void ContentChecks::toggle(TreeItem *item)
{
    setState(item, item->checkState() == Qt::Unchecked ? Qt::Checked : Qt::Unchecked);
}

void ContentChecks::recomputeAndCollect(TreeItem *item, QList<QVariant> &rows)
{
    bool allChecked = true;
    bool allUnchecked = true;
    const bool holdsMaterials = item->type() & kObjectFlag;
    for (TreeItem *child : item->children()) {
        if (child->childCount() > 0)
            recomputeAndCollect(child, rows);
        if (child->checkState() == Qt::Checked) {
            allUnchecked = false;
            if (holdsMaterials)
                rows.append(QVariant(child->itemData()));
        } else {
            allChecked = false;
            if (child->checkState() == Qt::PartiallyChecked) {
                allUnchecked = false;
                if (holdsMaterials)
                    rows.append(QVariant(child->itemData()));
            }
        }
    }
    if (allChecked)
        setState(item, Qt::Checked);
    else if (allUnchecked)
        setState(item, Qt::Unchecked);
    else
        item->setCheckState(Qt::PartiallyChecked);
}

bool ContentChecks::allTopLevelChecked(const TreeItem *root)
{
    for (const TreeItem *child : root->children()) {
        if (child->checkState() != Qt::Checked)
            return false;
    }
    return true;
}
