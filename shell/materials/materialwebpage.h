#ifndef MATERIALWEBPAGE_H
#define MATERIALWEBPAGE_H

#include <QWebEnginePage>

// The page of an `htm` medium, on the material pages' own profile and origin (see
// FlashEngine::materialPageProfile). It shows files of the installation's data folder and
// nothing else: a link elsewhere does not navigate, it is only noted in the debug output.
class MaterialWebPage : public QWebEnginePage
{
    Q_OBJECT

public:
    MaterialWebPage(QWebEngineProfile *profile, QObject *parent = nullptr);

    // Whether a page may go to `url`: a file under data/ of the installation, on the pages' origin.
    static bool mayShow(const QUrl &url);

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage *createWindow(WebWindowType type) override;
};

#endif
