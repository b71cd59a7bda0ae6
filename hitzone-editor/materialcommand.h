#ifndef MATERIALCOMMAND_H
#define MATERIALCOMMAND_H

#include <QUndoCommand>

class PageMaterials;

// A zone given another material (or none): one step in the page's history, beside its drawing.
class MaterialCommand : public QUndoCommand
{
public:
    MaterialCommand(PageMaterials *materials, int number, const QString &before, const QString &after);

    void undo() override;
    void redo() override;

private:
    PageMaterials *m_materials;
    int m_number;
    QString m_before;
    QString m_after;
};

#endif
