#ifndef PAGESOURCES_H
#define PAGESOURCES_H

#include "hitzonefile.h"
#include "materialmap.h"

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

// Everything one page movie is made from, read and checked against each other: every
// hitzone needs a material in the map, and (when a contents file is given) every mapped
// material must exist in the course.
class PageSources
{
public:
    struct Link {
        QPolygonF polygon;
        QString materialId;
    };

    // An empty imagePath takes the hitzone file's `file` attribute, relative to the current directory.
    bool load(const QString &imagePath, const QString &hitzonePath, const QString &mapPath,
              const QString &contentsPath = QString());

    QImage image() const;
    QList<Link> links() const;
    // "file:line: message" lines naming what is wrong.
    QStringList errors() const;
    // Hitzones left out for enclosing nothing, and map entries for hitzones the page does not
    // have: not fatal, but worth a word.
    QStringList warnings() const;

private:
    void loadImage(const QString &path);
    void linkZones(const HitzoneFile &zones, const MaterialMap &map);
    void checkIds(const MaterialMap &map, const QString &contentsPath);

    QImage m_image;
    QList<Link> m_links;
    QStringList m_errors;
    QStringList m_warnings;
};

#endif
