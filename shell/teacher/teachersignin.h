#ifndef TEACHERSIGNIN_H
#define TEACHERSIGNIN_H

#include "shellwindow.h"

#include <QDir>

class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

// The teacher's password before the teacher's desk. The first use sets it (typed twice); later
// it is asked for, and three wrong ones in a row hold the field shut for a few seconds, so that
// guessing at the keyboard is slow as well.
class TeacherSignIn : public ShellWindow
{
    Q_OBJECT

public:
    explicit TeacherSignIn(const QDir &courseFolder, QWidget *parent = nullptr);

    // Empties the fields and asks again, setting the password when none is set yet. A wait
    // after wrong passwords goes on.
    void restart();
    bool isSettingPassword() const { return m_settingPassword; }

private slots:
    void enter();

private:
    void buildWidgets();
    void setPassword();
    void checkPassword();
    void tell(const QString &text);

    QDir m_courseFolder;
    bool m_settingPassword = false;
    int m_wrongInRow = 0;
    QLabel *m_heading = nullptr;
    QLineEdit *m_password = nullptr;
    QLabel *m_confirmLabel = nullptr;
    QLineEdit *m_confirm = nullptr;
    QLabel *m_message = nullptr;
    QPushButton *m_enter = nullptr;
    QTimer *m_wait = nullptr;
};

#endif
