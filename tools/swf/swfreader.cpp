#include "swfreader.h"

#include <QtEndian>

#include <lzma.h>
#include <zlib.h>

#include <cstdlib>
#include <cstring>

namespace {

// Bounds-checked reading of the little-endian bytes and big-endian bit fields of a record.
// A read past the end leaves `ok` false and yields zeros, so a caller checks once at the end.
class Cursor
{
public:
    explicit Cursor(const QByteArray &data, int at = 0)
        : m_data(data), m_byte(at)
    {
    }

    bool ok = true;

    int pos() const { return m_byte; }
    int left() const { return int(m_data.size()) - m_byte; }
    bool atEnd() const { return m_byte >= m_data.size(); }

    quint32 u8() { return take(1) ? quint8(m_data[m_byte - 1]) : 0; }
    quint32 u16() { return take(2) ? qFromLittleEndian<quint16>(m_data.constData() + m_byte - 2) : 0; }
    quint32 u32() { return take(4) ? qFromLittleEndian<quint32>(m_data.constData() + m_byte - 4) : 0; }
    void skip(int count) { take(count); }
    QByteArray bytes(int count) { return take(count) ? m_data.mid(m_byte - count, count) : QByteArray(); }
    QByteArray string()
    {
        const int end = int(m_data.indexOf('\0', m_byte));
        if (m_byte > m_data.size() || end < 0) {
            ok = false;
            m_byte = int(m_data.size());
            return QByteArray();
        }
        const QByteArray text = m_data.mid(m_byte, end - m_byte);
        m_byte = end + 1;
        return text;
    }
    // ABC's variable-length unsigned integer: seven bits a byte, at most five bytes.
    quint32 u30()
    {
        quint32 value = 0;
        for (int i = 0; i < 5; ++i) {
            const quint32 byte = u8();
            value |= (byte & 0x7f) << (7 * i);
            if (!(byte & 0x80))
                break;
        }
        return value;
    }

    quint32 bits(int count)
    {
        quint32 value = 0;
        for (int i = 0; i < count; ++i) {
            if (m_byte >= m_data.size()) {
                ok = false;
                return 0;
            }
            value = (value << 1) | ((quint8(m_data[m_byte]) >> (7 - m_bit)) & 1u);
            if (++m_bit == 8) {
                m_bit = 0;
                ++m_byte;
            }
        }
        return value;
    }
    qint32 signedBits(int count)
    {
        quint32 value = bits(count);
        if (count > 0 && count < 32 && (value & (1u << (count - 1))))
            value |= ~0u << count;
        return qint32(value);
    }
    void align()
    {
        if (m_bit != 0) {
            m_bit = 0;
            ++m_byte;
        }
    }

    void matrix()
    {
        if (bits(1)) {
            const int n = int(bits(5));
            bits(n);
            bits(n);
        }
        if (bits(1)) {
            const int n = int(bits(5));
            bits(n);
            bits(n);
        }
        const int n = int(bits(5));
        bits(n);
        bits(n);
        align();
    }
    void colorTransformWithAlpha()
    {
        const bool add = bits(1), multiply = bits(1);
        const int n = int(bits(4));
        bits((add ? 4 * n : 0) + (multiply ? 4 * n : 0));
        align();
    }

private:
    bool take(int count)
    {
        align();
        if (count < 0 || count > left()) {
            ok = false;
            m_byte = int(m_data.size());
            return false;
        }
        m_byte += count;
        return true;
    }

    const QByteArray &m_data;
    int m_byte = 0;
    int m_bit = 0;
};

enum TagCode {
    End = 0, DefineButton = 7, DoAction = 12, PlaceObject2 = 26, DefineButton2 = 34, DefineSprite = 39,
    DoInitAction = 59, FileAttributes = 69, DoAbcPlain = 72, DoAbc = 82,
};

// Sprites inside sprites are not allowed, but a movie may claim them: a limit keeps the
// recursion shallow whatever it claims.
constexpr int MaxSpriteDepth = 8;
constexpr int Chunk = 64 * 1024;

} // namespace

bool SwfReader::fail(const QString &why)
{
    m_error = why;
    m_tags.clear();
    m_programs.clear();
    m_abcStrings.clear();
    m_plain.clear();
    return false;
}

bool SwfReader::read(const QByteArray &file)
{
    *this = SwfReader();
    if (!unpack(file) || !readHeader())
        return false;
    return readTags(m_headerEnd, int(m_plain.size()), 0);
}

bool SwfReader::unpack(const QByteArray &file)
{
    if (file.size() < 8)
        return fail(QStringLiteral("shorter than a movie's header"));
    const QByteArray signature = file.left(3);
    m_version = quint8(file[3]);
    m_declaredLength = qFromLittleEndian<quint32>(file.constData() + 4);
    if (signature == "FWS")
        m_compression = Compression::None;
    else if (signature == "CWS")
        m_compression = Compression::Zlib;
    else if (signature == "ZWS")
        m_compression = Compression::Lzma;
    else
        return fail(QStringLiteral("not a Flash movie (no FWS, CWS or ZWS signature)"));
    if (m_declaredLength < 8 + 5)
        return fail(QStringLiteral("the header declares %1 bytes, too few for a movie").arg(m_declaredLength));
    if (m_declaredLength > MaxLength)
        return fail(QStringLiteral("the header declares %1 bytes, more than the %2 a movie may have")
                        .arg(m_declaredLength).arg(MaxLength));

    const int wanted = int(m_declaredLength) - 8;
    QByteArray body;
    if (m_compression == Compression::None) {
        body = file.mid(8, wanted);
    } else if (m_compression == Compression::Zlib) {
        z_stream zs;
        std::memset(&zs, 0, sizeof zs);
        if (inflateInit(&zs) != Z_OK)
            return fail(QStringLiteral("zlib could not start"));
        zs.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(file.constData() + 8));
        zs.avail_in = uInt(file.size() - 8);
        int status = Z_OK;
        // The output grows as it comes, so a small movie that lies about its length costs little.
        while (status == Z_OK && body.size() < wanted) {
            const int before = int(body.size());
            body.resize(qMin(before + Chunk, wanted));
            zs.next_out = reinterpret_cast<Bytef *>(body.data() + before);
            zs.avail_out = uInt(body.size() - before);
            status = inflate(&zs, Z_NO_FLUSH);
            body.resize(int(body.size()) - int(zs.avail_out));
            if (status == Z_BUF_ERROR && zs.avail_in == 0)
                break;
        }
        if (status == Z_OK && body.size() == wanted) {
            // A body that unpacks beyond the declared length is a bomb or a lie: either way not
            // the movie its header describes.
            char probe;
            zs.next_out = reinterpret_cast<Bytef *>(&probe);
            zs.avail_out = 1;
            if (inflate(&zs, Z_NO_FLUSH) == Z_OK && zs.avail_out == 0) {
                inflateEnd(&zs);
                return fail(QStringLiteral("unpacks beyond the %1 bytes its header declares").arg(m_declaredLength));
            }
        }
        inflateEnd(&zs);
        if (status != Z_OK && status != Z_STREAM_END && status != Z_BUF_ERROR)
            return fail(QStringLiteral("the zlib body is damaged (%1)").arg(QString::fromLatin1(zs.msg ? zs.msg : "")));
    } else {
        // ZWS: the compressed length, LZMA's five property bytes, then a raw LZMA stream.
        if (file.size() < 17)
            return fail(QStringLiteral("shorter than an LZMA movie's header"));
        lzma_options_lzma *options = nullptr;
        lzma_filter filters[2];
        filters[0].id = LZMA_FILTER_LZMA1;
        filters[0].options = nullptr;
        filters[1].id = LZMA_VLI_UNKNOWN;
        if (lzma_properties_decode(&filters[0], nullptr, reinterpret_cast<const uint8_t *>(file.constData() + 12), 5)
            != LZMA_OK)
            return fail(QStringLiteral("the LZMA properties are not valid"));
        options = static_cast<lzma_options_lzma *>(filters[0].options);
        // A dictionary larger than the whole movie is never needed; the header must not make us
        // reserve one.
        options->dict_size = qBound<uint32_t>(LZMA_DICT_SIZE_MIN, options->dict_size, qMax<uint32_t>(wanted, 4096));
        lzma_stream ls = LZMA_STREAM_INIT;
        const lzma_ret started = lzma_raw_decoder(&ls, filters);
        free(options);
        if (started != LZMA_OK)
            return fail(QStringLiteral("LZMA could not start"));
        ls.next_in = reinterpret_cast<const uint8_t *>(file.constData() + 17);
        ls.avail_in = size_t(file.size() - 17);
        lzma_ret status = LZMA_OK;
        while (status == LZMA_OK && body.size() < wanted) {
            const int before = int(body.size());
            body.resize(qMin(before + Chunk, wanted));
            ls.next_out = reinterpret_cast<uint8_t *>(body.data() + before);
            ls.avail_out = size_t(body.size() - before);
            status = lzma_code(&ls, LZMA_RUN);
            body.resize(int(body.size()) - int(ls.avail_out));
            if (status == LZMA_OK && ls.avail_in == 0 && ls.avail_out > 0)
                break;
        }
        if (status == LZMA_OK && body.size() == wanted) {
            uint8_t probe;
            ls.next_out = &probe;
            ls.avail_out = 1;
            if (lzma_code(&ls, LZMA_RUN) == LZMA_OK && ls.avail_out == 0) {
                lzma_end(&ls);
                return fail(QStringLiteral("unpacks beyond the %1 bytes its header declares").arg(m_declaredLength));
            }
        }
        lzma_end(&ls);
        if (status != LZMA_OK && status != LZMA_STREAM_END)
            return fail(QStringLiteral("the LZMA body is damaged"));
    }
    if (body.size() < wanted)
        return fail(QStringLiteral("truncated: the header declares %1 bytes, the movie holds %2")
                        .arg(m_declaredLength).arg(8 + body.size()));
    m_plain = file.left(8) + body;
    return true;
}

bool SwfReader::readHeader()
{
    Cursor in(m_plain, 8);
    const int n = int(in.bits(5));
    const int xMin = in.signedBits(n), xMax = in.signedBits(n), yMin = in.signedBits(n), yMax = in.signedBits(n);
    in.align();
    m_frameRate = in.u16() / 256.0;
    m_frameCount = int(in.u16());
    if (!in.ok)
        return fail(QStringLiteral("the header ends early"));
    m_stage = QRect(xMin, yMin, xMax - xMin, yMax - yMin);
    m_headerEnd = in.pos();
    return true;
}

bool SwfReader::readTags(int from, int end, int depth)
{
    Cursor in(m_plain, from);
    while (in.pos() + 2 <= end) {
        const quint32 header = in.u16();
        quint32 length = header & 0x3f;
        if (length == 0x3f)
            length = in.u32();
        // The long length may itself lie past the end (of a sprite): count signed, never wrap.
        if (!in.ok || in.pos() > end || qint64(length) > qint64(end) - in.pos())
            return fail(QStringLiteral("tag %1 at byte %2 runs past the end of the movie").arg(header >> 6).arg(in.pos()));
        Tag tag;
        tag.code = int(header >> 6);
        tag.offset = in.pos();
        tag.body = in.bytes(int(length));
        if (tag.code == End)
            return true;
        m_tags.append(tag);
        readTag(tag);
        if (tag.code == DefineSprite && depth < MaxSpriteDepth && tag.body.size() >= 4
            && !readTags(tag.offset + 4, tag.offset + int(tag.body.size()), depth + 1))
            return false;
    }
    return true;
}

void SwfReader::readTag(const Tag &tag)
{
    switch (tag.code) {
    case DoAction:
        m_programs.append(tag.body);
        break;
    case DoInitAction:
        m_programs.append(tag.body.mid(2));
        break;
    case DefineButton:
        readButton(tag.body);
        break;
    case DefineButton2:
        readButton2(tag.body);
        break;
    case PlaceObject2:
        readPlaceObject2(tag.body);
        break;
    case FileAttributes:
        m_avm2 = !tag.body.isEmpty() && (quint8(tag.body[0]) & 0x08);
        break;
    case DoAbc: {
        Cursor in(tag.body);
        in.u32();
        in.string();
        if (in.ok)
            readAbc(tag.body.mid(in.pos()));
        m_hasAbc = true;
        break;
    }
    case DoAbcPlain:
        readAbc(tag.body);
        m_hasAbc = true;
        break;
    default:
        break;
    }
}

void SwfReader::readButton(const QByteArray &body)
{
    Cursor in(body, 2);
    while (in.ok && in.u8() != 0) {
        in.u16();
        in.u16();
        in.matrix();
    }
    if (in.ok)
        m_programs.append(body.mid(in.pos()));
}

void SwfReader::readButton2(const QByteArray &body)
{
    Cursor in(body, 3);
    const int offset = int(in.u16());
    if (!in.ok || offset == 0)
        return;
    // The offset counts from its own field; each condition record then names the next.
    int at = 3 + offset;
    while (at + 4 <= body.size()) {
        Cursor record(body, at);
        const int size = int(record.u16());
        record.u16();
        const int end = size == 0 ? int(body.size()) : qMin(int(body.size()), at + size);
        if (end > at + 4)
            m_programs.append(body.mid(at + 4, end - at - 4));
        if (size == 0 || size < 4)
            break;
        at += size;
    }
}

void SwfReader::readPlaceObject2(const QByteArray &body)
{
    Cursor in(body);
    const quint32 flags = in.u8();
    if (!(flags & 0x80))
        return;
    in.u16();
    if (flags & 0x02)
        in.u16();
    if (flags & 0x04)
        in.matrix();
    if (flags & 0x08)
        in.colorTransformWithAlpha();
    if (flags & 0x10)
        in.u16();
    if (flags & 0x20)
        in.string();
    if (flags & 0x40)
        in.u16();
    // Clip actions: the events of all records, then one record per event set.
    const bool wide = m_version >= 6;
    in.u16();
    wide ? in.u32() : in.u16();
    while (in.ok) {
        const quint32 events = wide ? in.u32() : in.u16();
        if (events == 0 || !in.ok)
            break;
        int size = int(qMin<quint32>(in.u32(), quint32(qMax(0, in.left()))));
        if (wide && (events & 0x00020000u)) {
            in.u8();
            --size;
        }
        const QByteArray program = in.bytes(qMax(0, size));
        if (in.ok)
            m_programs.append(program);
    }
}

void SwfReader::readAbc(const QByteArray &block)
{
    Cursor in(block, 4);
    // The constant pool opens with integers, unsigned integers and doubles; the strings follow.
    for (int pool = 0; pool < 2 && in.ok; ++pool) {
        const quint32 count = in.u30();
        for (quint32 i = 1; i < count && in.ok; ++i)
            in.u30();
    }
    const quint32 doubles = in.u30();
    if (doubles > 1)
        in.skip(int(qMin<quint32>(doubles - 1, quint32(block.size())) * 8));
    const quint32 strings = in.u30();
    for (quint32 i = 1; i < strings && in.ok; ++i) {
        const quint32 size = in.u30();
        const QByteArray text = in.bytes(int(qMin<quint32>(size, quint32(block.size()) + 1)));
        if (in.ok)
            m_abcStrings.append(QString::fromUtf8(text));
    }
}
