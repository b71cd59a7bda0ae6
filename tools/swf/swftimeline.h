#ifndef SWFTIMELINE_H
#define SWFTIMELINE_H

#include "swfactions.h"

#include <QByteArray>
#include <QString>
#include <QTransform>

// The control tags of one timeline, frame by frame: the main movie's, or a sprite's (a
// movie clip with a timeline of its own). Character definitions never go in here.
class SwfTimeline
{
public:
    void placeObject(quint16 characterId, int depth, const QTransform &pixels = QTransform(),
                     const QString &instanceName = QString());
    // Changes the transform of what sits at `depth`, keeping the character.
    void moveObject(int depth, const QTransform &pixels);
    // The same, and multiplies the colour's alpha by `alpha` (0 clear … 1 opaque).
    void moveObject(int depth, const QTransform &pixels, double alpha);
    void removeObject(int depth);
    void doAction(const SwfActions &actions);
    // Names the current frame: scripts can go to it by name.
    void frameLabel(const QString &name);
    void showFrame();

    int frameCount() const;
    // The tags so far, without an end tag.
    QByteArray tags() const;

protected:
    void addTag(int code, const QByteArray &body);

private:
    QByteArray m_tags;
    int m_frames = 0;
};

#endif
