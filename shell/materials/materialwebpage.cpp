#include "materialwebpage.h"

#include "flashengine.h"

#include <QDebug>

MaterialWebPage::MaterialWebPage(QWebEngineProfile *profile, QObject *parent)
    : QWebEnginePage(profile, parent)
{
}

bool MaterialWebPage::mayShow(const QUrl &url)
{
    return !FlashEngine::instance()->files().fileForMaterialPage(url).isEmpty();
}

bool MaterialWebPage::acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame)
{
    Q_UNUSED(type);
    Q_UNUSED(isMainFrame);
    if (mayShow(url))
        return true;
    qDebug().noquote() << "material page: not going to" << url.toString() << "from" << this->url().toString();
    return false;
}

QWebEnginePage *MaterialWebPage::createWindow(WebWindowType type)
{
    Q_UNUSED(type);
    // A child's page opens no windows; a link that asks for one goes nowhere.
    return nullptr;
}
