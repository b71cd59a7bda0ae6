#include "flashrequestfilter.h"

#include "flashwasmserver.h"

#include <QDebug>

namespace {
// A movie that retries in a loop must not flood the debug output.
constexpr int reportLimit = 50;
}

FlashRequestFilter::FlashRequestFilter(const FlashFiles &files, Pages pages, const FlashWasmServer *wasmServer,
                                       QObject *parent)
    : QWebEngineUrlRequestInterceptor(parent), m_files(files), m_pages(pages), m_wasmServer(wasmServer)
{
}

bool FlashRequestFilter::mayRequest(const QUrl &url) const
{
    if (m_pages == Pages::MaterialPages)
        return m_files.mayRequestFromMaterialPage(url);
    return m_files.mayRequest(url) || (m_wasmServer && m_wasmServer->serves(url));
}

void FlashRequestFilter::interceptRequest(QWebEngineUrlRequestInfo &info)
{
    const QUrl url = info.requestUrl();
    if (mayRequest(url))
        return;
    info.block(true);
    const char *who = m_pages == Pages::MaterialPages ? "material page:" : "Flash player:";
    if (m_reported < reportLimit)
        qDebug().noquote() << who << "blocked" << url.toString();
    if (++m_reported == reportLimit)
        qDebug().noquote() << who << "further blocked requests are not reported";
}
