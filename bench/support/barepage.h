// The comparison for every player figure: a bare page playing movies in Ruffle, served over
// loopback HTTP in a profile and view of its own, with no shell code at all.
#ifndef BAREPAGE_H
#define BAREPAGE_H

#include "loopbackserver.h"

#include <QColor>
#include <QSize>

class QWebEnginePage;
class QWebEngineProfile;
class QWebEngineView;

class BarePage
{
public:
    BarePage();
    ~BarePage();

    // Shows the page at `size` playing `movie`; milliseconds from load to the movie shown.
    double open(const QString &movie, const QSize &size);
    // load() of `movie` on the live player; milliseconds to its first frame (to the pixel
    // `target` at the centre when one is given).
    double turn(const QString &movie, const QColor &target = QColor());

private:
    QString urlOf(const QString &file) const;

    LoopbackServer m_server;
    QWebEngineProfile *m_profile;
    QWebEngineView *m_view;
    QWebEnginePage *m_page;
};

#endif
