#ifndef FLASHREQUESTFILTER_H
#define FLASHREQUESTFILTER_H

#include "flashfiles.h"

#include <QPointer>

#include <QWebEngineUrlRequestInterceptor>

class FlashWasmServer;

// Keeps the pages offline by construction: every request that is not for something our
// own origin serves them is blocked before it starts. A filter serves the pages of one
// kind, each kind on a profile of its own, so what a page may have follows from the page
// that asks, never from the address it shows (which its script can change).
class FlashRequestFilter : public QWebEngineUrlRequestInterceptor
{
    Q_OBJECT
public:
    enum class Pages {
        Players,        // the player origin, and Ruffle's wasm from our loopback server
        MaterialPages   // the data folder under the pages' origin
    };

    FlashRequestFilter(const FlashFiles &files, Pages pages, const FlashWasmServer *wasmServer = nullptr,
                       QObject *parent = nullptr);

    void interceptRequest(QWebEngineUrlRequestInfo &info) override;

private:
    bool mayRequest(const QUrl &url) const;

    FlashFiles m_files;
    Pages m_pages;
    QPointer<const FlashWasmServer> m_wasmServer;
    int m_reported = 0;
};

#endif
