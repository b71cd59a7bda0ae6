#ifndef MATERIALMAP_H
#define MATERIALMAP_H

#include <QMap>
#include <QString>
#include <QStringList>

// Which material each hitzone of a double page opens: a text file beside the hitzone file,
// one "NUMBER = MATERIAL_ID" a line; blank lines and lines starting with # are ignored.
class MaterialMap
{
public:
    struct Entry {
        QString materialId;
        int line = 0;
    };

    bool read(const QString &path);

    QString path() const;
    QMap<int, Entry> entries() const;
    QStringList errors() const;

private:
    void readLine(const QString &text, int line);

    QString m_path;
    QMap<int, Entry> m_entries;
    QStringList m_errors;
};

#endif
