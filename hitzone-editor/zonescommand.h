#ifndef ZONESCOMMAND_H
#define ZONESCOMMAND_H

#include "doublepage.h"

#include <QUndoCommand>

// One change of a page's hitzones, kept as the zones before and after it: every edit (a point,
// a completed zone, a move, a deletion) undoes the same way, and numbers come back with them.
class ZonesCommand : public QUndoCommand
{
public:
    ZonesCommand(DoublePage *page, const QString &text, const DoublePage::Zones &before, const DoublePage::Zones &after);

    void undo() override;
    void redo() override;
    // The page's canvas was rescaled: the kept zones follow, so undoing does not jump back to the old scale.
    void scale(double scaleX, double scaleY);
    // Numbers of zones on either side of the change.
    QSet<int> numbers() const;

private:
    DoublePage *m_page;
    DoublePage::Zones m_before;
    DoublePage::Zones m_after;
    bool m_done = true; // pushed after the change was made on the page
};

#endif
