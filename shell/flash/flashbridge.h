#ifndef FLASHBRIDGE_H
#define FLASHBRIDGE_H

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QObject>

// The object a player page reaches as "host" over its QWebChannel. Calls from the page
// arrive asynchronously on the GUI thread; `command` carries the widget's orders to it.
class FlashBridge : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

public slots:
    void pageReady();
    void movieCall(const QString &name, const QJsonArray &arguments);
    void callbackAdded(const QString &url, const QString &name);
    void callDone(int id, const QJsonArray &result);
    void fsCommand(const QString &command, const QString &args);
    void linkRequested(const QString &url, const QString &target, const QString &method, const QString &variables);
    void movieLog(const QString &level, const QString &text);
    void movieLoaded(const QString &url);
    void loadSettled(const QString &url);
    void movieShown(const QString &url);
    void movieFailed(const QString &url, const QString &reason);
    void callWaiting(const QString &name, const QString &url);
    void selfTestDone(const QStringList &failedChecks);
    void log(const QString &message);
    // A picture of the current movie's first frame, as a PNG data: URL.
    void firstFramePicture(const QString &url, int width, int height, const QString &dataUrl);

signals:
    void command(const QJsonObject &command);

    void ready();
    void called(const QString &name, const QJsonArray &arguments);
    void callbackRegistered(const QString &url, const QString &name);
    void callAnswered(int id, const QJsonArray &result);
    void fsCommandGiven(const QString &command, const QString &args);
    void linkAsked(const QString &url, const QString &target, const QString &method, const QString &variables);
    void logged(const QString &level, const QString &text);
    void loaded(const QString &url);
    void settled(const QString &url);
    void shown(const QString &url);
    void failed(const QString &url, const QString &reason);
    void callStillWaiting(const QString &name, const QString &url);
    void selfTestFinished(const QStringList &failedChecks);
    void firstFramePictured(const QString &url, int width, int height, const QString &dataUrl);
};

#endif
