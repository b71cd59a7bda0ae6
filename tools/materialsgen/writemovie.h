#ifndef WRITEMOVIE_H
#define WRITEMOVIE_H

#include "sourceelement.h"
#include "swfactions.h"

#include <QByteArray>
#include <QList>
#include <QString>

// A word with a letter missing, to type in; one word a screen:
//   <write file="writeWord.swf" title="…" task="Впиши пропущенную букву.">
//       <word picture="cat" missing="2">кот</word>        (letters count from 1)
//   </write>
class WriteMovie
{
public:
    explicit WriteMovie(const SourceElement &element);
    QByteArray build() const;

private:
    struct Word {
        QString picture;
        QString text;
        int missing = 1;
    };
    SwfActions functions() const;

    const SourceElement &m_element;
    QList<Word> m_words;
};

#endif
