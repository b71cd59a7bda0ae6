#include "flashrequestfilter.h"

#include <QDebug>

namespace {
// A movie that retries in a loop must not flood the debug output.
constexpr int reportLimit = 50;
}

FlashRequestFilter::FlashRequestFilter(const FlashFiles &files, QObject *parent)
    : QWebEngineUrlRequestInterceptor(parent), m_files(files)
{
}

void FlashRequestFilter::interceptRequest(QWebEngineUrlRequestInfo &info)
{
    // The player pages need Ruffle's files too; a material's own web page needs only the
    // course's data folder.
    const bool fromPlayer = FlashFiles::isPlayerUrl(info.firstPartyUrl());
    if (fromPlayer ? m_files.mayRequest(info.requestUrl()) : m_files.mayRequestFromMaterialPage(info.requestUrl()))
        return;
    info.block(true);
    if (m_reported < reportLimit)
        qDebug().noquote() << "Flash player: blocked" << info.requestUrl().toString();
    if (++m_reported == reportLimit)
        qDebug() << "Flash player: further blocked requests are not reported";
}
