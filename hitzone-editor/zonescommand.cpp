#include "zonescommand.h"

ZonesCommand::ZonesCommand(DoublePage *page, const QString &text, const DoublePage::Zones &before,
                           const DoublePage::Zones &after)
    : QUndoCommand(text)
    , m_page(page)
    , m_before(before)
    , m_after(after)
{
}

void ZonesCommand::undo()
{
    m_page->restoreZones(m_before);
}

void ZonesCommand::redo()
{
    // QUndoStack::push() redoes at once; the page has made this change already.
    if (m_done) {
        m_done = false;
        return;
    }
    m_page->restoreZones(m_after);
}

void ZonesCommand::scale(double scaleX, double scaleY)
{
    m_before.scale(scaleX, scaleY);
    m_after.scale(scaleX, scaleY);
}

QSet<int> ZonesCommand::numbers() const
{
    QSet<int> numbers(m_before.numbers.cbegin(), m_before.numbers.cend());
    for (int number : m_after.numbers)
        numbers.insert(number);
    return numbers;
}
