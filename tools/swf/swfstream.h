#ifndef SWFSTREAM_H
#define SWFSTREAM_H

#include <QByteArray>
#include <QColor>
#include <QRect>
#include <QTransform>

// The SWF record encoding: little-endian bytes interleaved with big-endian bit fields.
// Writing a whole byte first aligns any pending bits, as the format requires.
class SwfStream
{
public:
    void u8(quint32 value);
    void u16(quint32 value);
    void s16(qint32 value);
    void u32(quint32 value);
    void bytes(const QByteArray &data);
    void string(const QString &text);     // UTF-8, NUL-terminated (SWF 6 and later)
    void rgb(const QColor &color);
    void rgba(const QColor &color);
    void fixed8(double value);            // 8.8 fixed point

    void bits(quint32 value, int count);
    void signedBits(qint32 value, int count);
    void align();

    void rect(const QRect &twips);
    void matrix(const QTransform &twips);  // translation in twips, scale and rotation as factors
    void emptyColorTransform();
    // A colour transform with alpha that only scales the alpha channel.
    void alphaColorTransform(double alpha);

    // Tag header: the short form below 63 bytes, else the long form.
    void tag(int code, const QByteArray &body);

    const QByteArray &data();
    int size();

    static int bitsForSigned(qint64 value);
    static int bitsForUnsigned(quint64 value);

private:
    void flushBits();

    QByteArray m_data;
    quint32 m_bitBuffer = 0;
    int m_bitCount = 0;
};

// Pixels to twips, the unit of every SWF coordinate.
inline int twips(double pixels)
{
    return qRound(pixels * 20.0);
}

// A placement in pixels as the matrix record wants it: the translation in twips.
inline QTransform pixelsToTwips(const QTransform &pixels)
{
    return QTransform(pixels.m11(), pixels.m12(), pixels.m21(), pixels.m22(), pixels.dx() * 20.0, pixels.dy() * 20.0);
}

#endif
