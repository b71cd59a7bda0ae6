#ifndef PAGEMATERIALS_H
#define PAGEMATERIALS_H

#include "materialmap.h"

#include <QObject>
#include <QSet>

class DoublePage;

// Which material each zone of a page opens: the page's material map (the file beside its
// hitzone file that the page movie is built from), changed through the page's undo stack.
class PageMaterials : public QObject
{
    Q_OBJECT

public:
    explicit PageMaterials(DoublePage *page);

    // Reads the map beside the hitzone file; a page without one has no materials yet.
    void load(const QString &hitzonePath);
    // Writes the map beside the hitzone file, without lines for zones the page no longer has;
    // a page that never had a map and has no materials gets none. False with the reason in `error`.
    bool save(const QString &hitzonePath, QString *error);

    QString materialOf(int number) const;
    // Undoable; an empty id takes the material away.
    void setMaterial(int number, const QString &materialId);
    // The page's completed zones that open nothing.
    QSet<int> unmapped() const;
    const MaterialMap &map() const { return m_map; }

signals:
    void changed();

private:
    friend class MaterialCommand;
    void apply(int number, const QString &materialId);

    DoublePage *m_page;
    MaterialMap m_map;
    bool m_hadFile = false;
};

#endif
