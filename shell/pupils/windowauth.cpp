#include "windowauth.h"

#include "environment.h"
#include "pupilkeys.h"
#include "pupillist.h"
#include "teachersignin.h"
#include "windowteacher.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>

WindowAuth::WindowAuth(QWidget *parent)
    : ShellWindow(ShellWindowTheme::signInWindow(), parent)
{
    buildWidgets();
    setWindowTitle(tr("Введите имя пользователя"));
    pupilDir = QDir(courseDataPath());
    preparePupilList();
}

void WindowAuth::showEvent(QShowEvent *event)
{
    ShellWindow::showEvent(event);
    // Reported over this window, once it is on the screen, not at the screen's corner before it.
    if (!m_pupilsReady && !m_pupilsReported) {
        m_pupilsReported = true;
        QTimer::singleShot(0, this, [this] { showError(tr("Не могу создать каталог pupils")); });
    }
}

void WindowAuth::buildWidgets()
{
    auto *outer = new QGridLayout(this);
    outer->setContentsMargins(3, 3, 3, 3);
    outer->setSizeConstraint(QLayout::SetFixedSize);
    outer->setRowMinimumHeight(0, 26);

    auto *titleRow = new QHBoxLayout;
    titleRow->setContentsMargins(0, 0, 0, 0);
    titleRow->setSpacing(2);
    m_close = new QPushButton(this);
    m_close->setObjectName(QStringLiteral("button_window_close"));
    m_close->setFixedSize(29, 29);
    m_close->setFocusPolicy(Qt::NoFocus);
    m_close->setToolTip(tr("Закрыть"));
    m_close->setAccessibleName(m_close->toolTip());
    titleRow->addWidget(m_close);
    outer->addLayout(titleRow, 0, 0, Qt::AlignRight);

    auto *form = new QGridLayout;
    form->setContentsMargins(20, 20, 20, 20);
    form->setSpacing(6);
    form->setSizeConstraint(QLayout::SetFixedSize);
    m_name = new QComboBox(this);
    m_name->setObjectName(QStringLiteral("uname"));
    m_name->setEditable(true);
    // Return must sign in, not add the typed name to the list of known pupils.
    m_name->setInsertPolicy(QComboBox::NoInsert);
    m_name->setMinimumWidth(215);
    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("lineedit_password"));
    m_password->setEchoMode(QLineEdit::Password);
    m_confirmLabel = new QLabel(tr("Подтверждение:"), this);
    m_confirm = new QLineEdit(this);
    m_confirm->setObjectName(QStringLiteral("lineedit_confirm"));
    m_confirm->setEchoMode(QLineEdit::Password);
    m_remember = new QCheckBox(tr("Запомнить пароль"), this);
    m_remember->setObjectName(QStringLiteral("checkbox_remember"));
    m_enter = new QPushButton(this);
    m_enter->setObjectName(QStringLiteral("button_enter"));
    m_enter->setFixedSize(152, 48);
    m_enter->setToolTip(tr("Войти"));
    m_enter->setAccessibleName(m_enter->toolTip());
    m_teacher = new QPushButton(tr("Учитель"), this);
    m_teacher->setObjectName(QStringLiteral("button_teacher"));
    m_teacher->setFocusPolicy(Qt::NoFocus);
    m_teacher->setToolTip(tr("Для учителя: ученики, их пароли и оценки класса"));

    form->addWidget(new QLabel(tr("Имя пользователя:"), this), 0, 0);
    form->addWidget(m_name, 0, 1);
    form->addWidget(new QLabel(tr("Пароль:"), this), 1, 0);
    form->addWidget(m_password, 1, 1);
    form->addWidget(m_confirmLabel, 2, 0);
    form->addWidget(m_confirm, 2, 1);
    form->setRowStretch(2, 1);
    form->addWidget(m_remember, 3, 1);
    form->setRowMinimumHeight(4, 10);
    form->addWidget(m_enter, 5, 0, 1, 2, Qt::AlignHCenter | Qt::AlignBottom);
    form->addWidget(m_teacher, 6, 1, Qt::AlignRight);
    outer->addLayout(form, 1, 0);

    // Ends the modal run without a pupil. (Quitting the application would do nothing here: the
    // application's own event loop has not started yet while the sign-in window runs.)
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_name, &QComboBox::editTextChanged, this, &WindowAuth::changePupil);
    connect(m_name, &QComboBox::textActivated, this, &WindowAuth::choosePupil);
    connect(m_name->lineEdit(), &QLineEdit::returnPressed, this, &WindowAuth::selectPupil);
    connect(m_password, &QLineEdit::returnPressed, this, &WindowAuth::selectPupil);
    connect(m_confirm, &QLineEdit::returnPressed, this, &WindowAuth::selectPupil);
    connect(m_enter, &QPushButton::clicked, this, &WindowAuth::selectPupil);
    connect(m_teacher, &QPushButton::clicked, this, &WindowAuth::openTeacherDesk);
}

void WindowAuth::preparePupilList()
{
    if (!openPupilsFolder()) {
        setNewPupilMode(true);
        return;
    }
    const QStringList names = PupilList::names(m_pupils);
    m_name->addItems(names);
    // The list starts with whoever signed in last here, not with whoever sorts first.
    const int last = m_name->findText(PupilList::lastPupil(pupilDir), Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (last > 0)
        m_name->setCurrentIndex(last);
    if (m_name->count() == 0)
        setNewPupilMode(true);
}

bool WindowAuth::openPupilsFolder()
{
    QDir pupils = pupilDir;
    m_pupilsReady = pupils.mkpath(QStringLiteral("pupils")) && pupils.cd(QStringLiteral("pupils"));
    if (m_pupilsReady)
        m_pupils = pupils;
    return m_pupilsReady;
}

QString WindowAuth::keysFile(const QString &name) const
{
    return m_pupils.absoluteFilePath(name + QStringLiteral("/pupil.keys"));
}

bool WindowAuth::isListed(const QString &name) const
{
    return m_name->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive) >= 0;
}

void WindowAuth::setNewPupilMode(bool newPupil)
{
    m_confirmLabel->setVisible(newPupil);
    m_confirm->setVisible(newPupil);
}

bool WindowAuth::isAcceptableName(const QString &name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..") || name == QLatin1String(" "))
        return false;
    if (name.front().isSpace() || name.back().isSpace() || name.toUtf8().size() > 255)
        return false;
    static const QString forbidden = QStringLiteral("\\/:*?\"><|");
    for (const QChar c : name) {
        if (forbidden.contains(c) || c.category() == QChar::Other_Control || c.isNull())
            return false;
    }
    return true;
}

void WindowAuth::changePupil(QString name)
{
    m_password->clear();
    // A folder that already holds a password record is a known pupil, listed or not: the
    // new-pupil path would write a new record over it.
    const bool known = isListed(name) || (m_pupilsReady && isAcceptableName(name) && PupilList::hasKeys(m_pupils, name));
    if (!known) {
        setNewPupilMode(true);
        m_remember->setChecked(false);
        return;
    }
    QFile keys(keysFile(name));
    if (PupilKeys::isReset(keys.fileName())) {
        setNewPupilMode(true);
        m_remember->setChecked(false);
    } else if (keys.size() == PupilKeys::ShortRecord) {
        setNewPupilMode(false);
        m_remember->setChecked(false);
    } else if (keys.size() == PupilKeys::LongRecord) {
        setNewPupilMode(false);
        m_remember->setChecked(true);
    }
}

// On a shared computer the window opens on whoever signed in last: her remembered password
// waits until a child picks her name, or the next child would work, and be marked, as her.
void WindowAuth::choosePupil(const QString &name)
{
    if (!isListed(name))
        return;
    QFile keys(keysFile(name));
    if (keys.size() == PupilKeys::LongRecord && keys.open(QIODevice::ReadOnly))
        m_password->setText(PupilKeys::tokenText(keys.read(PupilKeys::ShortRecord)));
}

void WindowAuth::selectPupil()
{
    // Nobody signs in while there is no pupils folder: the pupil's files would have no home.
    if (!m_pupilsReady && !openPupilsFolder()) {
        showError(tr("Не могу создать каталог pupils"));
        return;
    }
    const QString name = m_name->currentText();
    flashSettingsFile.setFileName(m_pupils.absoluteFilePath(name + QStringLiteral("/flash.cfg")));
    const QByteArray hash = PupilKeys::passwordHash(m_password->text());
    if (m_confirm->isHidden())
        signInKnownPupil(name, hash);
    else
        signInNewPupil(name, hash);
}

void WindowAuth::signInKnownPupil(const QString &name, const QByteArray &hash)
{
    QFile keys(keysFile(name));
    if (!keys.open(QIODevice::ReadOnly))
        return;
    const QByteArray record = keys.readAll();
    keys.close();
    // Reset since her name was picked (by a teacher at another computer of a shared folder).
    if (record.isEmpty()) {
        changePupil(name);
        showError(tr("Пароль сброшен учителем. Придумайте новый пароль и повторите его."));
        return;
    }
    if (record.size() == PupilKeys::ShortRecord) {
        if (record != hash) {
            refusePassword();
            return;
        }
        if (!lockPupil(name))
            return;
        if (m_remember->isChecked() && !PupilKeys::writeFile(keys.fileName(), PupilKeys::record(hash, true)))
            m_filesWritten = false;
        finishSignIn(name);
    } else if (record.size() == PupilKeys::LongRecord) {
        const QByteArray storedHash = record.mid(PupilKeys::ShortRecord);
        const QString rememberedText = PupilKeys::tokenText(PupilKeys::rememberToken(storedHash));
        if (m_password->text() != rememberedText && hash != storedHash) {
            refusePassword();
            return;
        }
        if (!lockPupil(name))
            return;
        // On a shared computer a password that stays remembered opens the account to anybody.
        if (!m_remember->isChecked() && !PupilKeys::writeFile(keys.fileName(), storedHash)) {
            showError(tr("Не могу забыть пароль: файл %1 не записывается").arg(QDir::toNativeSeparators(keys.fileName())));
            m_pupilLock.reset();
            return;
        }
        finishSignIn(name);
    }
}

void WindowAuth::refusePassword()
{
    showError(tr("Неверный пароль"));
    // A child types on after the box: the wrong password goes at the first key.
    m_password->setFocus();
    m_password->selectAll();
}

void WindowAuth::signInNewPupil(const QString &name, const QByteArray &hash)
{
    if (!isAcceptableName(name)) {
        showError(tr("Недопустимые символы в имени пользователя"));
        return;
    }
    if (PupilList::hasKeys(m_pupils, name)) {
        if (PupilKeys::isReset(keysFile(name)))
            setNewPassword(name, hash);
        else
            takeAsKnownPupil(name);
        return;
    }
    const bool madeFolders = m_pupils.mkpath(name + QStringLiteral("/comments"));
    if (m_password->text() != m_confirm->text()) {
        showError(tr("Пароли не совпадают"));
        return;
    }
    if (!lockPupil(name))
        return;
    // Without its password record the pupil could never sign in again: stop here instead.
    if (!madeFolders || !PupilKeys::writeFile(keysFile(name), PupilKeys::record(hash, m_remember->isChecked()))) {
        showError(tr("Не могу сохранить данные ученика «%1» в каталоге %2").arg(name, m_pupils.absolutePath()));
        m_pupilLock.reset();
        return;
    }
    if (!PupilKeys::writeFile(flashSettingsFile.fileName(), QByteArray("\x00\x64", 2)))
        m_filesWritten = false;
    finishSignIn(name);
}

// A pupil whose password the teacher reset chooses a new one as a new pupil does; her files,
// the Flash settings among them, stay as they are.
void WindowAuth::setNewPassword(const QString &name, const QByteArray &hash)
{
    // The window may open on her name: the next child pressing the button must not make the
    // account hers with an empty password.
    if (m_password->text().isEmpty()) {
        showError(tr("Придумайте новый пароль и повторите его"));
        return;
    }
    if (m_password->text() != m_confirm->text()) {
        showError(tr("Пароли не совпадают"));
        return;
    }
    if (!lockPupil(name))
        return;
    if (!PupilKeys::writeFile(keysFile(name), PupilKeys::record(hash, m_remember->isChecked()))) {
        showError(tr("Не могу сохранить пароль ученика «%1» в каталоге %2").arg(name, m_pupils.absolutePath()));
        m_pupilLock.reset();
        return;
    }
    finishSignIn(name);
}

void WindowAuth::openTeacherDesk()
{
    // One sign-in for the window's whole life, so that closing it does not end a wait after
    // wrong passwords.
    if (!m_teacherSignIn)
        m_teacherSignIn = new TeacherSignIn(pupilDir, this);
    m_teacherSignIn->restart();
    if (m_teacherSignIn->exec() != QDialog::Accepted)
        return;
    {
        WindowTeacher desk(pupilDir, this);
        desk.exec();
    }
    refreshPupilList();
}

// Back from the teacher's desk, where pupils may have been renamed, removed or brought back.
void WindowAuth::refreshPupilList()
{
    const QString shown = m_name->currentText();
    {
        const QSignalBlocker blocker(m_name);
        m_name->clear();
        preparePupilList();
        const int index = m_name->findText(shown, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (index >= 0)
            m_name->setCurrentIndex(index);
    }
    changePupil(m_name->currentText());
}

// Taken once the password is right: who works where is told only to whoever knows it.
bool WindowAuth::lockPupil(const QString &name)
{
    auto lock = std::make_unique<PupilLock>(QDir(m_pupils.filePath(name)));
    switch (lock->take()) {
    case PupilLock::Taken:
        m_pupilLock = std::move(lock);
        return true;
    case PupilLock::HeldElsewhere:
        showError(tr("Ученик уже работает на компьютере %1.").arg(lock->holder()));
        return false;
    case PupilLock::NotWritable:
        // Nothing of hers can be written there either: she works on and is told so.
        m_filesWritten = false;
        return true;
    }
    return false;
}

void WindowAuth::takeAsKnownPupil(const QString &name)
{
    QStringList listed;
    for (int i = 0; i < m_name->count(); ++i)
        listed.append(m_name->itemText(i));
    const QString spelling = PupilList::listedSpelling(name, listed);
    {
        const QSignalBlocker blocker(m_name);
        m_name->setEditText(spelling);
    }
    changePupil(spelling);
    m_confirm->clear();
    showError(tr("Ученик «%1» уже есть. Введите его пароль.").arg(spelling));
    m_password->setFocus();
}

void WindowAuth::finishSignIn(const QString &name)
{
    PupilList::setLastPupil(pupilDir, name);
    pupilDir.cd(QStringLiteral("pupils/") + name);
    if (flashSettingsFile.open(QIODevice::ReadOnly)) {
        char bytes[2];
        if (flashSettingsFile.read(bytes, 2) == 2) {
            firstScreenVisible = bytes[0] != 0;
            flashSetting2 = static_cast<signed char>(bytes[1]);
        }
        flashSettingsFile.close();
    }
    accept();
}

void WindowAuth::showError(const QString &text)
{
    QMessageBox::critical(this, tr("Ошибка"), text, QMessageBox::Ok);
}
