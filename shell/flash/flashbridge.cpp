#include "flashbridge.h"

#include <QDebug>

void FlashBridge::pageReady()
{
    emit ready();
}

void FlashBridge::movieCall(const QString &name, const QJsonArray &arguments)
{
    emit called(name, arguments);
}

void FlashBridge::movieLoaded(const QString &url)
{
    emit loaded(url);
}

void FlashBridge::loadSettled(const QString &url)
{
    emit settled(url);
}

void FlashBridge::movieFailed(const QString &url, const QString &reason)
{
    emit failed(url, reason);
}

void FlashBridge::callWaiting(const QString &name, const QString &url)
{
    emit callStillWaiting(name, url);
}

void FlashBridge::selfTestPassed()
{
    emit hookWorks();
}

void FlashBridge::log(const QString &message)
{
    qDebug().noquote() << "Flash player:" << message;
}
