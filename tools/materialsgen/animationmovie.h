#ifndef ANIMATIONMOVIE_H
#define ANIMATIONMOVIE_H

#include "sourceelement.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QString>

// A looping cartoon: picture book actors that walk, hop, roll, rock, grow and fade over
// a scenery background, with lines that appear in speech bubbles.
//   <animation file="aist.swf" width="640" height="400" seconds="8" background="meadow">
//       <item picture="tree" x="20" y="120" size="160"/>       scenery, as in a picture
//       <title>Аист и арбуз</title>
//       <actor picture="stork" size="150" from="-80,200" to="700,180" hop="10" hops="8"/>
//       <actor picture="watermelon" size="90" from="700,320" to="300,320" turns="-2" start="2" end="6" stay="true"/>
//       <say x="40" y="40" width="220" start="1" end="4">А-а-аист!</say>
//       <link action="jump" material="pra_03_bukva_a">Найди букву А</link>
//   </animation>
// Actor positions are centres; times are seconds; an actor shows from start to end, and
// after its end only with stay="true". scale="0.2,1" grows it, swing="8" rocks it by ±8°.
class AnimationMovie
{
public:
    static constexpr double frameRate = 12.0;

    // Reads the description; problems go to the element's error list.
    explicit AnimationMovie(const SourceElement &element);

    QByteArray build() const;
    int frameCount() const;

private:
    struct Actor {
        QString picture;
        double size = 100;
        QPointF from, to;
        double start = 0, end = 0;
        bool stay = false;
        double hop = 0, hops = 1, turns = 0, swing = 0, swings = 2;
        double scaleFrom = 1, scaleTo = 1;
    };
    struct Say {
        QString text;
        QRectF rect;
        double size = 24;
        double start = 0, end = 0;
    };
    struct Pose {
        QPointF centre;
        double angle = 0;
        double scale = 1;
        bool visible = false;
        bool operator==(const Pose &other) const;
    };

    Pose pose(const Actor &actor, double seconds) const;
    QImage scenery() const;

    QSize m_size;
    double m_seconds = 6;
    QString m_background;
    QList<QPair<QString, QRectF>> m_scenery;   // picture, box
    QString m_title;
    QList<Actor> m_actors;
    QList<Say> m_says;
    QString m_linkText, m_linkAction, m_linkTarget;
};

#endif
