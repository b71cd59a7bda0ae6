#ifndef PAGESTYLE_H
#define PAGESTYLE_H

#include <QByteArray>

// The look of the course's web pages (workbook pages, speech tasks, word lists): one style
// sheet, written beside the pages that link it as style.css.
namespace PageStyle {
QByteArray css();
}

#endif
