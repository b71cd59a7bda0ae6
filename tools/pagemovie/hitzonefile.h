#ifndef HITZONEFILE_H
#define HITZONEFILE_H

#include <QList>
#include <QPolygonF>
#include <QString>

// A hitzone file as the hitzone editor writes it: a `doublepage` element naming its image
// in `file`, and `hitzone` elements numbered from 1 whose text is "x1,y1,x2,y2,…" in image
// pixels. Unlike the editor, which drops a malformed zone silently, this reader reports it:
// a page movie built without it would lose a link unnoticed.
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
    // "file:line: message" lines; empty after a clean read.
    QStringList errors() const;

private:
    void readZone(const class QDomElement &element, int position);
    void addError(int line, const QString &message);

    QString m_path;
    QString m_imagePath;
    QList<Zone> m_zones;
    QStringList m_errors;
};

#endif
