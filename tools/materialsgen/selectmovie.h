#ifndef SELECTMOVIE_H
#define SELECTMOVIE_H

#include "sourceelement.h"
#include "swfactions.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Words to pick: the right ones turn green and stay, a wrong one turns red.
//   <select file="select.swf" title="Конь или кон?" task="Нажми на слова, написанные верно." columns="2">
//       <word right="true">конь</word>
//       <word>кон</word>
//   </select>
// Two to twelve words, at least one right; laid out left to right in `columns` columns.
class SelectMovie
{
public:
    explicit SelectMovie(const SourceElement &element);
    QByteArray build() const;

private:
    struct Word {
        QString text;
        bool right = false;
    };
    quint16 defineWord(class GameStage &stage, const QString &text) const;

    const SourceElement &m_element;
    QList<Word> m_words;
    int m_columns = 3;
};

#endif
