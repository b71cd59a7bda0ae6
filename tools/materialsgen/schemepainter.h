#ifndef SCHEMEPAINTER_H
#define SCHEMEPAINTER_H

#include "sourceelement.h"

#include <QImage>

// The drawings of the workbook pages, to work on once printed:
//   <scheme file="s3.png" words="3"/>                    a sentence of three words: lines, the
//                                                        first marked for its capital, a full stop
//   <scheme file="kot.png" sounds="3" picture="cat"/>    a picture over three empty sound boxes
//   <scheme file="k.png" trace="К к К к"/>               letters drawn dashed, to trace over
class SchemePainter
{
public:
    explicit SchemePainter(const SourceElement &element);
    QImage paint() const;

private:
    QImage sentence(int words) const;
    QImage sounds(int count, const QString &picture) const;
    QImage trace(const QString &letters) const;

    const SourceElement &m_element;
};

#endif
