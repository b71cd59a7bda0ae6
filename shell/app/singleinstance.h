#ifndef SINGLEINSTANCE_H
#define SINGLEINSTANCE_H

#include <QLockFile>
#include <QObject>

class QLocalServer;

// One running shell per user and installation: two shells on the same pupil's files would
// each write the whole markbook, and one would lose the other's results. The first start
// holds a lock file and listens; a second start asks it to come forward and ends.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    // `installation` is the installation folder; the user is whoever runs the process.
    explicit SingleInstance(const QString &installation, QObject *parent = nullptr);
    ~SingleInstance() override;

    // True when this process is now the running shell. False when another one runs; it has
    // then been asked to bring its window forward.
    bool claim();

    // Brings the window a pupil works in to the front: the modal one if any, else the main window.
    static void bringForward(QWidget *mainWindow);

signals:
    void forwardRequested();

private:
    bool askRunningToComeForward();

    QString m_serverName;
    QLockFile m_lock;
    QLocalServer *m_server = nullptr;
};

#endif
