#ifndef SINGLEINSTANCE_H
#define SINGLEINSTANCE_H

#include <QLockFile>
#include <QObject>

class QLocalServer;

// One running shell per course data folder: two shells on the same pupil's files would each
// write the whole markbook and favorites, and one would lose the other's changes. Two
// installations of a course (a reinstall elsewhere, a network copy) share that folder, so
// the folder, not the installation, is what is locked. The first start holds a lock file and
// listens; a second start asks it to come forward and ends.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    // `dataFolder` is the folder the pupils' files live in; the user is whoever runs the process.
    explicit SingleInstance(const QString &dataFolder, QObject *parent = nullptr);
    ~SingleInstance() override;

    // True when this process is now the running shell. False when another one runs; it has
    // then been asked to bring its window forward.
    bool claim();
    // After a failed claim: whether the running shell took the request. A lock whose holder
    // does not answer leaves the pupil with no window at all unless somebody says so.
    bool runningAnswered() const { return m_answered; }

    // The lock file for a data folder, in the user's own runtime folder: a name others can
    // compute in a shared folder could be planted there by another account.
    static QString lockFileName(const QString &dataFolder);

    // Brings the window a pupil works in to the front: the modal one if any, else the main window.
    static void bringForward(QWidget *mainWindow);

signals:
    void forwardRequested();

private:
    bool askRunningToComeForward();

    QString m_serverName;
    bool m_answered = false;
    QLockFile m_lock;
    QLocalServer *m_server = nullptr;
};

#endif
