#include "swftagreader.h"

#include <QtEndian>

namespace {
struct Bits {
    const QByteArray &data;
    int bit = 0;
    qint32 take(int count, bool isSigned)
    {
        quint32 value = 0;
        for (int i = 0; i < count; ++i, ++bit)
            value = (value << 1) | ((quint8(data[bit / 8]) >> (7 - bit % 8)) & 1u);
        if (isSigned && count > 0 && (value & (1u << (count - 1))))
            value |= ~0u << count;
        return qint32(value);
    }
};
} // namespace

SwfTagReader::SwfTagReader(const QByteArray &file)
    : m_file(file)
{
    if (file.size() < 8)
        return;
    if (file.startsWith("CWS")) {
        QByteArray zlib(4, '\0');
        qToBigEndian<quint32>(declaredLength() - 8, zlib.data());
        m_plain = file.left(8) + qUncompress(zlib + file.mid(8));
        m_plain[0] = 'F';
    } else {
        m_plain = file;
    }
    Bits bits{m_plain, 8 * 8};
    const int n = bits.take(5, false);
    const int xMin = bits.take(n, true), xMax = bits.take(n, true), yMin = bits.take(n, true), yMax = bits.take(n, true);
    m_stage = QRect(xMin, yMin, xMax - xMin, yMax - yMin);
    m_headerEnd = (bits.bit + 7) / 8 + 4;
}

bool SwfTagReader::isValid() const
{
    return m_headerEnd > 0 && quint32(m_plain.size()) == declaredLength();
}

QByteArray SwfTagReader::signature() const
{
    return m_file.left(3);
}

int SwfTagReader::version() const
{
    return quint8(m_file.at(3));
}

quint32 SwfTagReader::declaredLength() const
{
    return qFromLittleEndian<quint32>(m_file.constData() + 4);
}

QByteArray SwfTagReader::uncompressed() const
{
    return m_plain;
}

QRect SwfTagReader::stageTwips() const
{
    return m_stage;
}

double SwfTagReader::frameRate() const
{
    return qFromLittleEndian<quint16>(m_plain.constData() + m_headerEnd - 4) / 256.0;
}

int SwfTagReader::frameCount() const
{
    return qFromLittleEndian<quint16>(m_plain.constData() + m_headerEnd - 2);
}

QList<SwfTagReader::Tag> SwfTagReader::tags() const
{
    QList<Tag> tags;
    int at = m_headerEnd;
    while (at + 2 <= m_plain.size()) {
        const quint16 header = qFromLittleEndian<quint16>(m_plain.constData() + at);
        at += 2;
        int length = header & 0x3f;
        if (length == 0x3f) {
            length = int(qFromLittleEndian<quint32>(m_plain.constData() + at));
            at += 4;
        }
        tags.append({header >> 6, m_plain.mid(at, length)});
        at += length;
        if (tags.last().code == 0)
            break;
    }
    return tags;
}

QList<SwfTagReader::Tag> SwfTagReader::tags(int code) const
{
    QList<Tag> matching;
    for (const Tag &tag : tags()) {
        if (tag.code == code)
            matching.append(tag);
    }
    return matching;
}
