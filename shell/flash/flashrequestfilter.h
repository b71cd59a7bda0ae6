#ifndef FLASHREQUESTFILTER_H
#define FLASHREQUESTFILTER_H

#include "flashfiles.h"

#include <QWebEngineUrlRequestInterceptor>

// Keeps the player offline by construction: every request that is not for something our
// own origin serves is blocked before it starts.
class FlashRequestFilter : public QWebEngineUrlRequestInterceptor
{
    Q_OBJECT
public:
    explicit FlashRequestFilter(const FlashFiles &files, QObject *parent = nullptr);

    void interceptRequest(QWebEngineUrlRequestInfo &info) override;

private:
    FlashFiles m_files;
    int m_reported = 0;
};

#endif
