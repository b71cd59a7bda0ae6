#include "chmdirectory.h"

#include "chmstream.h"

#include <algorithm>

namespace {

constexpr int ListingHeader = 0x14;
constexpr int IndexHeader = 0x08;
// Every fifth entry gets a quick-reference offset at the chunk's end.
constexpr int QuickRefDensityLog = 2;
constexpr int QuickRefInterval = 1 + (1 << QuickRefDensityLog);

// The space a chunk of `entries` entries keeps free at its end: the entry count, one
// offset per interval, and the four spare bytes libmspack insists on.
int quickRefReserve(int entries)
{
    return 2 * ((entries + QuickRefInterval - 1) / QuickRefInterval) + 4;
}

QByteArray encodedName(const QByteArray &name)
{
    ChmStream out;
    out.encint(quint64(name.size()));
    out.bytes(name);
    return out.data();
}

} // namespace

ChmDirectory::ChmDirectory(QList<ChmEntry> entries, quint32 language)
    : m_language(language)
{
    std::sort(entries.begin(), entries.end(),
              [](const ChmEntry &a, const ChmEntry &b) { return lessThan(a.name, b.name); });
    QList<Record> records;
    records.reserve(entries.size());
    for (const ChmEntry &entry : std::as_const(entries)) {
        ChmStream out;
        out.bytes(encodedName(entry.name));
        out.encint(quint64(entry.section));
        out.encint(entry.offset);
        out.encint(entry.length);
        records.append({entry.name, out.data()});
    }
    addLevel(records, true);
    m_listingChunks = m_chunks.size();
    while (m_nextLevel.size() > 1) {
        addLevel(m_nextLevel, false);
        ++m_indexLevels;
    }
}

bool ChmDirectory::lessThan(const QByteArray &a, const QByteArray &b)
{
    return a.toLower() < b.toLower();
}

void ChmDirectory::addLevel(const QList<Record> &records, bool listing)
{
    const int headerSize = listing ? ListingHeader : IndexHeader;
    const int firstChunk = int(m_chunks.size());
    QList<Record> above;
    for (qsizetype next = 0; next < records.size();) {
        QByteArray entries;
        QList<quint16> quickRefs;
        int count = 0;
        while (next < records.size()) {
            const QByteArray &record = records.at(next).bytes;
            if (headerSize + entries.size() + record.size() + quickRefReserve(count + 1) > ChunkSize)
                break;
            if (count > 0 && count % QuickRefInterval == 0)
                quickRefs.append(quint16(entries.size()));
            entries.append(record);
            ++count;
            ++next;
        }
        Q_ASSERT(count > 0); // names are limited well below a chunk
        const int number = int(m_chunks.size());
        const bool last = next == records.size();
        ChmStream chunk;
        chunk.bytes(listing ? "PMGL" : "PMGI");
        chunk.u32(quint32(ChunkSize - headerSize - entries.size()));
        if (listing) {
            chunk.u32(0);
            chunk.u32(number == firstChunk ? 0xffffffff : quint32(number - 1));
            chunk.u32(last ? 0xffffffff : quint32(number + 1));
        }
        chunk.bytes(entries);
        chunk.zeros(ChunkSize - chunk.size() - 2 * (quickRefs.size() + 1));
        // The quick-reference table grows backwards from the end; the count comes last.
        for (auto it = quickRefs.crbegin(); it != quickRefs.crend(); ++it)
            chunk.u16(*it);
        chunk.u16(quint32(count));
        m_chunks.append(chunk.data());

        ChmStream pointer;
        pointer.bytes(encodedName(records.at(next - count).firstName));
        pointer.encint(quint64(number));
        above.append({records.at(next - count).firstName, pointer.data()});
    }
    m_nextLevel = above;
}

QByteArray ChmDirectory::header() const
{
    const bool indexed = m_indexLevels > 0;
    ChmStream out;
    out.bytes("ITSP");
    out.u32(1);
    out.u32(0x54);
    out.u32(0x0a);
    out.u32(ChunkSize);
    out.u32(QuickRefDensityLog);
    out.u32(quint32(1 + m_indexLevels));
    out.u32(indexed ? quint32(m_chunks.size() - 1) : 0xffffffff);
    out.u32(0);
    out.u32(quint32(m_listingChunks - 1));
    out.u32(0xffffffff);
    out.u32(quint32(m_chunks.size()));
    out.u32(m_language);
    out.guid("{5D02926A-212E-11D0-9DF9-00A0C922E6EC}");
    out.u32(0x54);
    out.u32(0xffffffff);
    out.u32(0xffffffff);
    out.u32(0xffffffff);
    return out.data();
}

QByteArray ChmDirectory::bytes() const
{
    QByteArray all = header();
    for (const QByteArray &chunk : m_chunks)
        all.append(chunk);
    return all;
}
