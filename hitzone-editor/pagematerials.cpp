#include "pagematerials.h"

#include "coursefolder.h"
#include "doublepage.h"
#include "materialcommand.h"

#include <QFileInfo>
#include <QUndoStack>

PageMaterials::PageMaterials(DoublePage *page)
    : QObject(page)
    , m_page(page)
{
    connect(page, &DoublePage::zonesChanged, this, &PageMaterials::changed);
}

void PageMaterials::load(const QString &hitzonePath)
{
    const QString path = CourseFolder::mapFile(hitzonePath);
    m_hadFile = QFileInfo::exists(path);
    m_map = MaterialMap();
    if (m_hadFile)
        m_map.read(path);
    emit changed();
}

bool PageMaterials::save(const QString &hitzonePath, QString *error)
{
    MaterialMap written = m_map;
    const QList<int> numbers = m_page->numbers();
    for (int number : m_map.entries().keys()) {
        if (!numbers.contains(number))
            written.setMaterial(number, QString());
    }
    if (!m_hadFile && written.entries().isEmpty())
        return true;
    if (!written.write(CourseFolder::mapFile(hitzonePath), error))
        return false;
    m_hadFile = true;
    return true;
}

QString PageMaterials::materialOf(int number) const
{
    return m_map.materialOf(number);
}

void PageMaterials::setMaterial(int number, const QString &materialId)
{
    const QString before = materialOf(number);
    if (before != materialId)
        m_page->undoStack()->push(new MaterialCommand(this, number, before, materialId));
}

void PageMaterials::apply(int number, const QString &materialId)
{
    m_map.setMaterial(number, materialId);
    m_page->setModified(true);
    emit changed();
}

QSet<int> PageMaterials::unmapped() const
{
    QSet<int> numbers;
    for (int number : m_page->numbers()) {
        if (materialOf(number).isEmpty())
            numbers.insert(number);
    }
    return numbers;
}
