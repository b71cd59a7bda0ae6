#ifndef MATCHMOVIE_H
#define MATCHMOVIE_H

#include "sourceelement.h"
#include "swfactions.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

// Pictures on the left, their words on the right in another order: click a picture, then
// its word, and a line joins them.
//   <match file="connectionLines.swf" title="…" task="…">
//       <pair picture="cat">кот</pair>
//   </match>
// Two to four pairs.
class MatchMovie
{
public:
    explicit MatchMovie(const SourceElement &element);
    QByteArray build() const;

private:
    struct Pair {
        QString picture;
        QString word;
    };
    QPointF pictureAt(int row) const;
    QPointF wordAt(int row) const;
    int wordRow(int pair) const;
    SwfActions script(bool hasLink) const;
    quint16 defineChoice(class GameStage &stage, const QImage &face, const QImage &chosen, const QImage &joined,
                         const QString &text, const QString &function) const;

    const SourceElement &m_element;
    QList<Pair> m_pairs;
};

#endif
