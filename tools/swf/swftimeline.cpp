#include "swftimeline.h"

#include "swfstream.h"
#include "swftags.h"

namespace {
enum PlaceFlag : quint8 { Move = 0x01, HasCharacter = 0x02, HasMatrix = 0x04, HasColorTransform = 0x08, HasName = 0x20 };
} // namespace

void SwfTimeline::addTag(int code, const QByteArray &body)
{
    SwfStream out;
    out.tag(code, body);
    m_tags.append(out.data());
}

void SwfTimeline::placeObject(quint16 characterId, int depth, const QTransform &pixels, const QString &instanceName)
{
    SwfStream body;
    const bool hasName = !instanceName.isEmpty();
    body.u8((hasName ? HasName : 0) | HasMatrix | HasCharacter);
    body.u16(quint32(depth));
    body.u16(characterId);
    body.matrix(pixelsToTwips(pixels));
    if (hasName)
        body.string(instanceName);
    addTag(SwfTag::PlaceObject2, body.data());
}

void SwfTimeline::moveObject(int depth, const QTransform &pixels)
{
    SwfStream body;
    body.u8(Move | HasMatrix);
    body.u16(quint32(depth));
    body.matrix(pixelsToTwips(pixels));
    addTag(SwfTag::PlaceObject2, body.data());
}

void SwfTimeline::moveObject(int depth, const QTransform &pixels, double alpha)
{
    SwfStream body;
    body.u8(Move | HasMatrix | HasColorTransform);
    body.u16(quint32(depth));
    body.matrix(pixelsToTwips(pixels));
    body.alphaColorTransform(alpha);
    addTag(SwfTag::PlaceObject2, body.data());
}

void SwfTimeline::removeObject(int depth)
{
    SwfStream body;
    body.u16(quint32(depth));
    addTag(SwfTag::RemoveObject2, body.data());
}

void SwfTimeline::doAction(const SwfActions &actions)
{
    addTag(SwfTag::DoAction, actions.program());
}

void SwfTimeline::frameLabel(const QString &name)
{
    SwfStream body;
    body.string(name);
    addTag(SwfTag::FrameLabel, body.data());
}

void SwfTimeline::showFrame()
{
    addTag(SwfTag::ShowFrame, QByteArray());
    ++m_frames;
}

int SwfTimeline::frameCount() const
{
    return m_frames;
}

QByteArray SwfTimeline::tags() const
{
    return m_tags;
}
