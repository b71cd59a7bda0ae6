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

void FlashBridge::callbackAdded(const QString &url, const QString &name)
{
    emit callbackRegistered(url, name);
}

void FlashBridge::callDone(int id, const QJsonArray &result)
{
    emit callAnswered(id, result);
}

void FlashBridge::fsCommand(const QString &command, const QString &args)
{
    emit fsCommandGiven(command, args);
}

void FlashBridge::linkRequested(const QString &url, const QString &target, const QString &method,
                                const QString &variables)
{
    emit linkAsked(url, target, method, variables);
}

void FlashBridge::movieLog(const QString &level, const QString &text)
{
    emit logged(level, text);
}

void FlashBridge::movieLoaded(const QString &url)
{
    emit loaded(url);
}

void FlashBridge::movieShown(const QString &url)
{
    emit shown(url);
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

void FlashBridge::selfTestDone(const QStringList &failedChecks)
{
    emit selfTestFinished(failedChecks);
}

void FlashBridge::log(const QString &message)
{
    qDebug().noquote() << "Flash player:" << message;
}

void FlashBridge::firstFramePicture(const QString &url, int width, int height, const QString &dataUrl)
{
    emit firstFramePictured(url, width, height, dataUrl);
}
