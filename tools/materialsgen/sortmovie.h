#ifndef SORTMOVIE_H
#define SORTMOVIE_H

#include "sourceelement.h"
#include "swfactions.h"

#include <QByteArray>
#include <QRectF>
#include <QList>
#include <QString>

// Words dragged with the mouse where they belong. Two descriptions make one:
//   <columns file="slogi.swf" title="…" task="…">          into columns, as many words as fit
//       <column>Один слог</column> <column>Два слога</column>
//       <item column="1">мама</item>                         (columns count from 0)
//   </columns>
//   <dragword file="dragWord.swf" title="…" task="…">      each word under its picture
//       <target picture="cat">кот</target>
//   </dragword>
// A word dropped in the right place stays there; anywhere else it goes back.
class SortMovie
{
public:
    explicit SortMovie(const SourceElement &element);
    QByteArray build() const;

private:
    struct Bin {
        QString caption;
        QString picture;
    };
    struct Item {
        QString text;
        int bin = 0;
    };
    QRectF binRect(int bin) const;
    QPointF home(int item) const;
    SwfActions script(bool hasLink) const;
    quint16 defineItem(class GameStage &stage, const QString &text) const;
    quint16 defineBin(class GameStage &stage, int bin) const;

    const SourceElement &m_element;
    QList<Bin> m_bins;
    QList<Item> m_items;
};

#endif
