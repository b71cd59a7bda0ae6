#ifndef WINDOWAUTH_H
#define WINDOWAUTH_H

#include "pupillock.h"
#include "shellwindow.h"

#include <QDir>

#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TeacherSignIn;

// The sign-in window: a known pupil gives the password, a new name creates a pupil.
class WindowAuth : public ShellWindow
{
    Q_OBJECT

public:
    explicit WindowAuth(QWidget *parent = nullptr);

    // Whether a new pupil may be called so: the name becomes a folder name and must stay inside
    // the pupils folder.
    static bool isAcceptableName(const QString &name);

    // False when a file of the pupil could not be written during the sign-in (the remember
    // token, the Flash settings): the pupil is signed in all the same and should be told.
    bool pupilFilesWritten() const { return m_filesWritten; }

    // The signed-in pupil's lock, for whoever keeps it until her files are written at exit;
    // empty before the sign-in, or where her folder takes no lock file.
    std::unique_ptr<PupilLock> takePupilLock() { return std::move(m_pupilLock); }

protected:
    void showEvent(QShowEvent *event) override;

private slots:
    void changePupil(QString name);
    void choosePupil(const QString &name);
    void selectPupil();
    void openTeacherDesk();

private:
    void buildWidgets();
    void preparePupilList();
    bool openPupilsFolder();
    bool isListed(const QString &name) const;
    void refusePassword();
    void takeAsKnownPupil(const QString &name);
    void setNewPassword(const QString &name, const QByteArray &hash);
    void refreshPupilList();
    void setNewPupilMode(bool newPupil);
    void signInKnownPupil(const QString &name, const QByteArray &hash);
    void signInNewPupil(const QString &name, const QByteArray &hash);
    bool lockPupil(const QString &name);
    void finishSignIn(const QString &name);
    void showError(const QString &text);
    QString keysFile(const QString &name) const;

    QDir m_pupils;
    bool m_pupilsReady = false;
    bool m_pupilsReported = false;
    bool m_filesWritten = true;
    std::unique_ptr<PupilLock> m_pupilLock;
    QComboBox *m_name = nullptr;
    QLineEdit *m_password = nullptr;
    QLabel *m_confirmLabel = nullptr;
    QLineEdit *m_confirm = nullptr;
    QCheckBox *m_remember = nullptr;
    QPushButton *m_enter = nullptr;
    QPushButton *m_close = nullptr;
    QPushButton *m_teacher = nullptr;
    TeacherSignIn *m_teacherSignIn = nullptr;
};

#endif
