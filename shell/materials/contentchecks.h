#ifndef CONTENTCHECKS_H
#define CONTENTCHECKS_H

#include <QList>
#include <QVariant>

class TreeItem;

// The check boxes of the catalogue's contents: which chapters are chosen, and from them the
// materials the catalogue lists. A chapter is checked when all below it is, unchecked when
// nothing is, partially checked otherwise.
class ContentChecks
{
public:
    // Gives the item a state; a whole (not partial) state goes to everything below it.
    static void setState(TreeItem *item, int state);
    // A press on a chapter: an unchecked one becomes checked, any other unchecked.
    static void toggle(TreeItem *item);
    // Brings every chapter's state in line with its children and appends the rows of the
    // materials of checked chapters to `rows` (depth first, a subtree before its chapter).
    static void recomputeAndCollect(TreeItem *item, QList<QVariant> &rows);
    static bool allTopLevelChecked(const TreeItem *root);
};

#endif
