#ifndef GAMESTAGE_H
#define GAMESTAGE_H

#include "sourceelement.h"
#include "stagekit.h"
#include "swfmovie.h"

#include <QSize>
#include <QString>

// What every game movie shares: an 800 × 600 paper stage with the game's title, the task
// in a line below it, a feedback line the script writes (variable feedback_text, instance
// "feedback") and, when the description has a <link>, a button that opens another material.
//   <select file="…" title="Конь или кон?" task="Нажми на слова, которые написаны верно.">
//       …
//       <link action="load" material="igr_04_myagkiy">Следующая игра</link>
//   </select>
class GameStage
{
public:
    static constexpr int width = 800;
    static constexpr int height = 600;

    explicit GameStage(const SourceElement &element, double frameRate = 12);

    SwfMovie &movie() { return m_movie; }
    StageKit &kit() { return m_kit; }
    QString title() const { return m_title; }

    // Where the link button goes when there is one (bottom right); nothing is placed there otherwise.
    static QRectF linkRect();
    // Places the link button at `depth` as instance "link" when the description has one.
    bool placeLink(int depth);

    // Script pieces: write the feedback line in a colour; "Молодец!" is green.
    static void say(SwfActions &a, const QString &text, quint32 rgb);
    static quint32 green() { return 0x2e8b3a; }
    static quint32 red() { return 0xc83232; }
    // The depths the header takes: 1 to 4.
    static constexpr int firstFreeDepth = 5;

private:
    SwfMovie m_movie;
    StageKit m_kit;
    QString m_title;
    QString m_linkText, m_linkAction, m_linkTarget;
};

#endif
