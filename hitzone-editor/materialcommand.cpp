#include "materialcommand.h"

#include "pagematerials.h"

#include <QCoreApplication>

MaterialCommand::MaterialCommand(PageMaterials *materials, int number, const QString &before, const QString &after)
    : QUndoCommand(QCoreApplication::translate("MaterialCommand", "Материал зоны %1").arg(number))
    , m_materials(materials)
    , m_number(number)
    , m_before(before)
    , m_after(after)
{
}

void MaterialCommand::undo()
{
    m_materials->apply(m_number, m_before);
}

void MaterialCommand::redo()
{
    m_materials->apply(m_number, m_after);
}
