#ifndef WORDPAIRMOVIES_H
#define WORDPAIRMOVIES_H

#include "sourceelement.h"
#include "swfactions.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Two movies of one material that talk through the shell: a list of words and a board
// that shows the picture of the word clicked in the list.
//   <wordpair file="words.swf" board="board.swf" title="Слова с буквой Н">
//       <word picture="face">нос</word>
//   </wordpair>
// A click in the list sends <flash action="send"><word index="1">нос</word></flash> (index
// from 0) to the shell, which hands it to every movie of the material: the board turns to
// that word, the list marks it. Neither movie reacts to its own click before the shell answers.
class WordPairMovies
{
public:
    static constexpr int maxWords = 6;

    explicit WordPairMovies(const SourceElement &element);

    QByteArray list() const;
    QByteArray board() const;

    static QString message(int index, const QString &word);

private:
    struct Word {
        QString picture;
        QString text;
    };
    // send2flash(message) for both: reads the word's index and calls `react(index)`.
    static SwfActions receiver();

    QString m_title;
    QList<Word> m_words;
};

#endif
