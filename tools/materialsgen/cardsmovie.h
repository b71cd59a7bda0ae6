#ifndef CARDSMOVIE_H
#define CARDSMOVIE_H

#include "sourceelement.h"
#include "swfactions.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Picture cards that show their word when clicked (vocabulary work):
//   <cards file="cards.swf" title="Слова для чтения" task="Нажми на картинку и прочитай слово.">
//       <card picture="house">дом</card>
//   </cards>
// One to six cards; when every word is open, the game praises and offers to start again.
class CardsMovie
{
public:
    explicit CardsMovie(const SourceElement &element);
    QByteArray build() const;

private:
    struct Card {
        QString picture;
        QString word;
    };
    const SourceElement &m_element;
    QList<Card> m_cards;
};

#endif
