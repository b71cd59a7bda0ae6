#ifndef MATERIALID_H
#define MATERIALID_H

#include <QString>

// A material id names the material's folder under data/objects and its comment file. Ids
// come from course files, movies and the pupil's favorites, so an id is checked before it
// becomes part of a path: it must name one folder, right there.
class MaterialId
{
public:
    static bool isSafe(const QString &id);
    // "data/objects/<id>" under the installation folder (the current directory); empty for
    // an id that is not safe.
    static QString folder(const QString &id);
};

#endif
