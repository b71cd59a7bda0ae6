#ifndef HITZONEFILE_H
#define HITZONEFILE_H

#include <QList>
#include <QPolygonF>
#include <QString>
#include <QStringList>

class QDomElement;

// A hitzone file as the hitzone editor writes it: a `doublepage` element naming its image
// in `file`, and `hitzone` elements numbered from 1 whose text is "x1,y1,x2,y2,…" in image
// pixels. Unlike the editor, which drops a malformed zone silently, this reader reports it:
// a page movie built without it would lose a link unnoticed. A zone of fewer than three
// points (older editors completed such zones) encloses nothing to click: it is left out of
// zones() with a warning, and the rest of the page still builds.
class HitzoneFile
{
public:
    struct Zone {
        int number = 0;
        QPolygonF polygon;
        int line = 0;
    };

    bool read(const QString &path);

    QString path() const;
    QString imagePath() const;
    QList<Zone> zones() const;
    // Zones left out for having fewer than three points.
    QList<Zone> skippedZones() const;
    // "file:line: message" lines; empty after a clean read.
    QStringList errors() const;
    // "file:line: message" lines about skipped zones.
    QStringList warnings() const;

private:
    void readZone(const QDomElement &element, int position);
    bool readPoints(const QDomElement &element, Zone *zone);
    const Zone *zoneNumbered(int number) const;
    void addError(int line, const QString &message);
    QString located(int line, const QString &message) const;

    QString m_path;
    QString m_imagePath;
    QList<Zone> m_zones;
    QList<Zone> m_skipped;
    QStringList m_errors;
    QStringList m_warnings;
};

#endif
