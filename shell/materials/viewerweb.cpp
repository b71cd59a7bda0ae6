#include "viewerweb.h"

#include "flashengine.h"
#include "materialprinter.h"
#include "materialwebpage.h"

#include <QDebug>

ViewerWeb::ViewerWeb(QWidget *parent)
    : QWebEngineView(parent)
{
    setContextMenuPolicy(Qt::NoContextMenu);
    if (QWebEngineProfile *profile = FlashEngine::instance()->materialPageProfile())
        setPage(new MaterialWebPage(profile, this));
}

void ViewerWeb::loadFile(const QString &path)
{
    const QUrl url = FlashEngine::instance()->files().materialPageUrl(path);
    if (!qobject_cast<MaterialWebPage *>(page()) || !MaterialWebPage::mayShow(url)) {
        qDebug().noquote() << "material page: cannot show" << path;
        return;
    }
    load(url);
}

void ViewerWeb::print(QPrinter *printer)
{
    // What the pupil sees of the page, like every other medium.
    MaterialPrinter::printFitted(printer, grab().toImage());
}
