#include "pagelist.h"

#include <QDir>

#include <algorithm>

QStringList PageList::scan(const QString &directory)
{
    QDir dir(directory);
    QStringList names = dir.entryList({QStringLiteral("[0-9]?" "?-[0-9]?" "?.swf")} /* split: "??-" would read as a trigraph */, QDir::Files, QDir::Unsorted);
    std::sort(names.begin(), names.end());
    QStringList paths;
    for (const QString &name : names)
        paths << dir.absoluteFilePath(name);
    return paths;
}
