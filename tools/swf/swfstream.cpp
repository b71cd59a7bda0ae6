#include "swfstream.h"

#include <QtMath>

void SwfStream::u8(quint32 value)
{
    align();
    m_data.append(char(value & 0xff));
}

void SwfStream::u16(quint32 value)
{
    u8(value);
    u8(value >> 8);
}

void SwfStream::s16(qint32 value)
{
    u16(quint32(value) & 0xffff);
}

void SwfStream::u32(quint32 value)
{
    u16(value & 0xffff);
    u16(value >> 16);
}

void SwfStream::bytes(const QByteArray &data)
{
    align();
    m_data.append(data);
}

void SwfStream::string(const QString &text)
{
    align();
    m_data.append(text.toUtf8());
    m_data.append('\0');
}

void SwfStream::rgb(const QColor &color)
{
    u8(color.red());
    u8(color.green());
    u8(color.blue());
}

void SwfStream::rgba(const QColor &color)
{
    rgb(color);
    u8(color.alpha());
}

void SwfStream::fixed8(double value)
{
    u16(quint32(qRound(value * 256.0)) & 0xffff);
}

void SwfStream::bits(quint32 value, int count)
{
    for (int i = count - 1; i >= 0; --i) {
        m_bitBuffer = (m_bitBuffer << 1) | ((value >> i) & 1u);
        if (++m_bitCount == 8)
            flushBits();
    }
}

void SwfStream::signedBits(qint32 value, int count)
{
    bits(quint32(value), count);
}

void SwfStream::align()
{
    if (m_bitCount == 0)
        return;
    m_bitBuffer <<= 8 - m_bitCount;
    m_bitCount = 8;
    flushBits();
}

void SwfStream::flushBits()
{
    m_data.append(char(m_bitBuffer & 0xff));
    m_bitBuffer = 0;
    m_bitCount = 0;
}

void SwfStream::rect(const QRect &twips)
{
    const qint32 values[] = {twips.left(), twips.left() + twips.width(), twips.top(), twips.top() + twips.height()};
    int count = 1;
    for (qint32 v : values)
        count = qMax(count, bitsForSigned(v));
    bits(count, 5);
    for (qint32 v : values)
        signedBits(v, count);
    align();
}

static qint32 fixed16(double value)
{
    return qint32(qRound(value * 65536.0));
}

void SwfStream::matrix(const QTransform &twips)
{
    const bool hasScale = twips.m11() != 1.0 || twips.m22() != 1.0;
    bits(hasScale, 1);
    if (hasScale) {
        const int count = qMax(bitsForSigned(fixed16(twips.m11())), bitsForSigned(fixed16(twips.m22())));
        bits(count, 5);
        signedBits(fixed16(twips.m11()), count);
        signedBits(fixed16(twips.m22()), count);
    }
    const bool hasRotate = twips.m12() != 0.0 || twips.m21() != 0.0;
    bits(hasRotate, 1);
    if (hasRotate) {
        const int count = qMax(bitsForSigned(fixed16(twips.m12())), bitsForSigned(fixed16(twips.m21())));
        bits(count, 5);
        signedBits(fixed16(twips.m12()), count);
        signedBits(fixed16(twips.m21()), count);
    }
    const qint32 dx = qRound(twips.dx());
    const qint32 dy = qRound(twips.dy());
    const int count = (dx == 0 && dy == 0) ? 0 : qMax(bitsForSigned(dx), bitsForSigned(dy));
    bits(count, 5);
    signedBits(dx, count);
    signedBits(dy, count);
    align();
}

void SwfStream::emptyColorTransform()
{
    bits(0, 1); // no add terms
    bits(0, 1); // no multiply terms
    bits(1, 4);
    align();
}

void SwfStream::alphaColorTransform(double alpha)
{
    // 8.8 fixed-point factors: red, green and blue stay at 1.0.
    const qint32 one = 256;
    const qint32 alphaFactor = qRound(qBound(0.0, alpha, 1.0) * 256.0);
    const int count = qMax(bitsForSigned(one), bitsForSigned(alphaFactor));
    bits(0, 1); // no add terms
    bits(1, 1); // multiply terms
    bits(quint32(count), 4);
    for (qint32 factor : {one, one, one, alphaFactor})
        signedBits(factor, count);
    align();
}

void SwfStream::tag(int code, const QByteArray &body)
{
    if (body.size() < 0x3f) {
        u16(quint32(code << 6) | quint32(body.size()));
    } else {
        u16(quint32(code << 6) | 0x3f);
        u32(quint32(body.size()));
    }
    bytes(body);
}

const QByteArray &SwfStream::data()
{
    align();
    return m_data;
}

int SwfStream::size()
{
    align();
    return int(m_data.size());
}

int SwfStream::bitsForSigned(qint64 value)
{
    const quint64 magnitude = value < 0 ? quint64(~value) : quint64(value);
    return bitsForUnsigned(magnitude) + 1;
}

int SwfStream::bitsForUnsigned(quint64 value)
{
    int count = 0;
    while (value) {
        ++count;
        value >>= 1;
    }
    return count;
}
