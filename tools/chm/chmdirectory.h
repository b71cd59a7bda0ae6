#ifndef CHMDIRECTORY_H
#define CHMDIRECTORY_H

#include <QByteArray>
#include <QList>

// One name in the container and where its bytes are: a content section and the offset
// and length inside it. A name ending in '/' is a folder and has no bytes.
struct ChmEntry
{
    QByteArray name;
    int section = 0;
    quint64 offset = 0;
    quint64 length = 0;
};

// The container's directory: the ITSP header, then fixed-size chunks. Listing chunks
// (PMGL) hold the entries in order and are chained for a walk through all names; when
// there is more than one, index chunks (PMGI) above them lead a lookup to the right one,
// level upon level until a single root chunk remains.
class ChmDirectory
{
public:
    static constexpr int ChunkSize = 0x1000;

    ChmDirectory(QList<ChmEntry> entries, quint32 language);

    QByteArray bytes() const;
    int listingChunks() const { return m_listingChunks; }
    int indexLevels() const { return m_indexLevels; }

    // The directory's order: case-insensitive, on the lower-cased ASCII bytes, which
    // puts '_' before the letters. Readers walk the index with this comparison.
    static bool lessThan(const QByteArray &a, const QByteArray &b);

private:
    struct Record
    {
        QByteArray firstName;
        QByteArray bytes;
    };

    void addLevel(const QList<Record> &records, bool listing);
    QByteArray header() const;

    QList<QByteArray> m_chunks;
    QList<Record> m_nextLevel;
    quint32 m_language;
    int m_listingChunks = 0;
    int m_indexLevels = 0;
};

#endif
