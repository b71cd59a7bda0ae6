#include "swfmovie.h"

#include "swfstream.h"
#include "swftags.h"

#include <QBuffer>
#include <QSaveFile>

using namespace SwfTag;

namespace {
QByteArray zlib(const QByteArray &data)
{
    // qCompress prefixes the zlib stream with the uncompressed length; SWF wants the bare stream.
    return qCompress(data, 9).mid(4);
}
} // namespace

SwfMovie::SwfMovie(const QSize &stagePixels, double frameRate, int version)
    : m_stage(stagePixels), m_frameRate(frameRate), m_version(version)
{
    if (m_version >= 8) {
        SwfStream body;
        body.u32(0); // AVM1, no metadata, local files only
        addTag(FileAttributes, body.data());
    }
}

quint16 SwfMovie::nextId()
{
    return ++m_lastId;
}

void SwfMovie::setBackgroundColor(const QColor &color)
{
    SwfStream body;
    body.rgb(color);
    addTag(SetBackgroundColor, body.data());
}

quint16 SwfMovie::defineShape(const SwfShape &shape)
{
    const quint16 id = nextId();
    addTag(DefineShape3, shape.tagBody(id));
    return id;
}

quint16 SwfMovie::defineBitmap(const QImage &image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QByteArray pixels;
    pixels.reserve(qsizetype(argb.width()) * argb.height() * 4);
    for (int y = 0; y < argb.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            pixels.append(char(qAlpha(line[x])));
            pixels.append(char(qRed(line[x])));
            pixels.append(char(qGreen(line[x])));
            pixels.append(char(qBlue(line[x])));
        }
    }
    const quint16 id = nextId();
    SwfStream body;
    body.u16(id);
    body.u8(5); // 32-bit ARGB
    body.u16(quint32(argb.width()));
    body.u16(quint32(argb.height()));
    body.bytes(zlib(pixels));
    addTag(DefineBitsLossless2, body.data());
    return id;
}

quint16 SwfMovie::defineJpegBitmap(const QImage &image, int quality)
{
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    image.convertToFormat(QImage::Format_RGB32).save(&buffer, "JPG", quality);

    const quint16 id = nextId();
    SwfStream body;
    body.u16(id);
    if (!image.hasAlphaChannel()) {
        body.bytes(jpeg);
        addTag(DefineBitsJpeg2, body.data());
        return id;
    }
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    QByteArray alpha;
    alpha.reserve(qsizetype(argb.width()) * argb.height());
    for (int y = 0; y < argb.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x)
            alpha.append(char(qAlpha(line[x])));
    }
    body.u32(quint32(jpeg.size()));
    body.bytes(jpeg);
    body.bytes(zlib(alpha));
    addTag(DefineBitsJpeg3, body.data());
    return id;
}

quint16 SwfMovie::defineDeviceFont(const QString &name, bool bold)
{
    const QByteArray utf8 = name.toUtf8().left(255);
    const quint16 id = nextId();
    SwfStream body;
    body.u16(id);
    body.u8(bold ? 0x01 : 0x00);
    body.u8(1); // language: Latin (the device font covers Cyrillic regardless)
    body.u8(quint32(utf8.size()));
    body.bytes(utf8);
    body.u16(0); // no glyphs
    body.u16(0); // code table offset
    addTag(DefineFont2, body.data());
    return id;
}

quint16 SwfMovie::defineTextField(const SwfTextField &field)
{
    const quint16 id = nextId();
    SwfStream body;
    body.u16(id);
    body.rect(QRect(twips(field.boundsPixels.x()), twips(field.boundsPixels.y()), twips(field.boundsPixels.width()),
                    twips(field.boundsPixels.height())));
    const bool hasText = !field.text.isEmpty();
    const bool hasFont = field.fontId != 0;
    body.bits(hasText, 1);
    body.bits(field.wordWrap, 1);
    body.bits(field.multiline, 1);
    body.bits(0, 1); // password
    body.bits(field.readOnly, 1);
    body.bits(1, 1); // text colour
    body.bits(0, 1); // max length
    body.bits(hasFont, 1);
    body.bits(0, 1); // font class
    body.bits(0, 1); // auto size
    body.bits(1, 1); // layout
    body.bits(!field.selectable, 1);
    body.bits(field.border, 1);
    body.bits(0, 1); // was static
    body.bits(field.html, 1);
    body.bits(0, 1); // device font, not outlines
    if (hasFont) {
        body.u16(field.fontId);
        body.u16(quint32(twips(field.fontHeightPixels)));
    }
    body.rgba(field.color);
    body.u8(field.align);
    body.u16(0);  // left margin
    body.u16(0);  // right margin
    body.u16(0);  // indent
    body.s16(0);  // leading
    body.string(field.variableName);
    if (hasText)
        body.string(field.text);
    addTag(DefineEditText, body.data());
    return id;
}

quint16 SwfMovie::defineButton(const SwfButton &button)
{
    SwfStream records;
    for (const SwfButton::Record &record : button.records) {
        records.u8(record.states & 0x0f);
        records.u16(record.characterId);
        records.u16(quint32(record.depth));
        records.matrix(pixelsToTwips(record.transformPixels));
        records.emptyColorTransform();
    }
    records.u8(0);

    SwfStream actions;
    for (int i = 0; i < button.actions.size(); ++i) {
        const QByteArray program = button.actions[i].actions.program();
        const bool last = i == button.actions.size() - 1;
        actions.u16(last ? 0 : quint32(program.size() + 4));
        actions.u8(button.actions[i].conditions >> 8);
        actions.u8(button.actions[i].conditions & 0xff);
        actions.bytes(program);
    }

    const quint16 id = nextId();
    SwfStream body;
    body.u16(id);
    body.u8(button.trackAsMenu ? 1 : 0);
    body.u16(button.actions.isEmpty() ? 0 : quint32(records.size() + 2));
    body.bytes(records.data());
    body.bytes(actions.data());
    addTag(DefineButton2, body.data());
    return id;
}

quint16 SwfMovie::defineSprite(const SwfTimeline &timeline)
{
    const quint16 id = nextId();
    SwfStream body;
    body.u16(id);
    body.u16(quint32(qMax(1, timeline.frameCount())));
    body.bytes(timeline.tags());
    if (timeline.frameCount() == 0)
        body.tag(ShowFrame, QByteArray());
    body.tag(End, QByteArray());
    addTag(DefineSprite, body.data());
    return id;
}

QSize SwfMovie::stageSize() const
{
    return m_stage;
}

QByteArray SwfMovie::toBytes(bool compressed) const
{
    SwfStream rest;
    rest.rect(QRect(0, 0, twips(m_stage.width()), twips(m_stage.height())));
    rest.fixed8(m_frameRate);
    rest.u16(quint32(qMax(1, frameCount())));
    rest.bytes(tags());
    if (frameCount() == 0)
        rest.tag(ShowFrame, QByteArray());
    rest.tag(End, QByteArray());

    SwfStream file;
    file.bytes(compressed ? QByteArrayLiteral("CWS") : QByteArrayLiteral("FWS"));
    file.u8(quint32(m_version));
    file.u32(quint32(rest.size() + 8));
    file.bytes(compressed ? zlib(rest.data()) : rest.data());
    return file.data();
}

bool SwfMovie::save(const QString &path, QString *error, bool compressed) const
{
    QSaveFile file(path);
    // A failed buffered write only shows at flush; commit alone would rename a short file into place.
    const QByteArray bytes = toBytes(compressed);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush() || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}
