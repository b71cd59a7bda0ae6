#ifndef ASSEMBLEMOVIE_H
#define ASSEMBLEMOVIE_H

#include "sourceelement.h"
#include "swfactions.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Words to put together from their syllables, clicked in order; one word a screen:
//   <assemble file="sobery.swf" title="Собери слово" task="Нажимай на слоги по порядку.">
//       <word picture="car">МА-ШИ-НА</word>
//       <link action="load" material="igr_04_myagkiy">Следующая игра</link>
//   </assemble>
// The syllables show shuffled; a wrong one starts the word again.
class AssembleMovie
{
public:
    explicit AssembleMovie(const SourceElement &element);
    QByteArray build() const;

private:
    struct Word {
        QString picture;
        QStringList parts;
    };
    SwfActions functions() const;

    const SourceElement &m_element;
    QList<Word> m_words;
};

#endif
