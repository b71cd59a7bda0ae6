#ifndef MATERIALMAP_H
#define MATERIALMAP_H

#include <QMap>
#include <QString>
#include <QStringList>

// Which material each hitzone of a double page opens: a text file beside the hitzone file,
// one "NUMBER = MATERIAL_ID" a line; blank lines and lines starting with # are ignored.
// Changed and written again, the map keeps every other line as it was: authors comment maps.
class MaterialMap
{
public:
    struct Entry {
        QString materialId;
        int line = 0;
    };

    bool read(const QString &path);
    // Replaces the hitzone's line, or adds one at the end; an empty id removes the line.
    void setMaterial(int number, const QString &materialId);
    QString materialOf(int number) const;
    QString text() const;
    // Writes text() to `path` atomically; false with the reason in errorString when nothing was written.
    bool write(const QString &path, QString *errorString) const;

    QString path() const;
    QMap<int, Entry> entries() const;
    QStringList errors() const;

private:
    void parse();
    void readLine(const QString &text, int line);

    QString m_path;
    QStringList m_lines;
    QMap<int, Entry> m_entries;
    QStringList m_errors;
};

#endif
