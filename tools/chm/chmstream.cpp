#include "chmstream.h"

#include <QUuid>
#include <QtEndian>

void ChmStream::u16(quint32 value)
{
    char raw[2];
    qToLittleEndian(quint16(value), raw);
    m_data.append(raw, 2);
}

void ChmStream::u32(quint32 value)
{
    char raw[4];
    qToLittleEndian(value, raw);
    m_data.append(raw, 4);
}

void ChmStream::u64(quint64 value)
{
    char raw[8];
    qToLittleEndian(value, raw);
    m_data.append(raw, 8);
}

void ChmStream::encint(quint64 value)
{
    QByteArray groups(1, char(value & 0x7f));
    while (value >>= 7)
        groups.prepend(char(0x80 | (value & 0x7f)));
    m_data.append(groups);
}

int ChmStream::encintSize(quint64 value)
{
    int size = 1;
    while (value >>= 7)
        ++size;
    return size;
}

void ChmStream::guid(const char *text)
{
    // Windows keeps the first three fields in the machine's byte order.
    const QUuid id = QUuid::fromString(QLatin1String(text));
    Q_ASSERT(!id.isNull());
    u32(id.data1);
    u16(id.data2);
    u16(id.data3);
    m_data.append(reinterpret_cast<const char *>(id.data4), 8);
}

void ChmStream::bytes(const QByteArray &data)
{
    m_data.append(data);
}

void ChmStream::cstring(const QByteArray &text)
{
    m_data.append(text);
    m_data.append('\0');
}

void ChmStream::zeros(qsizetype count)
{
    m_data.append(count, '\0');
}

void ChmStream::keepOnOnePage(qsizetype recordSize)
{
    constexpr qsizetype page = 0x1000;
    Q_ASSERT(recordSize <= page);
    const qsizetype used = m_data.size() % page;
    if (used + recordSize > page)
        zeros(page - used);
}

void ChmStream::patch32(qsizetype at, quint32 value)
{
    qToLittleEndian(value, m_data.data() + at);
}
