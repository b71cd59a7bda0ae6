#include "windowauth.h"

#include "environment.h"
#include "pupilkeys.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

WindowAuth::WindowAuth(QWidget *parent)
    : ShellWindow(ShellWindowTheme::signInWindow(), parent)
{
    buildWidgets();
    setWindowTitle(tr("Введите имя пользователя"));
    pupilDir = QDir(courseDataPath());
    preparePupilList();
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
    outer->addLayout(form, 1, 0);

    // Ends the modal run without a pupil. (Quitting the application would do nothing here: the
    // application's own event loop has not started yet while the sign-in window runs.)
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_name, &QComboBox::editTextChanged, this, &WindowAuth::changePupil);
    connect(m_name->lineEdit(), &QLineEdit::returnPressed, this, &WindowAuth::selectPupil);
    connect(m_password, &QLineEdit::returnPressed, this, &WindowAuth::selectPupil);
    connect(m_confirm, &QLineEdit::returnPressed, this, &WindowAuth::selectPupil);
    connect(m_enter, &QPushButton::clicked, this, &WindowAuth::selectPupil);
}

void WindowAuth::preparePupilList()
{
    m_pupils = pupilDir;
    if (!m_pupils.mkpath(QStringLiteral("pupils")) || !m_pupils.cd(QStringLiteral("pupils"))) {
        showError(tr("Не могу создать каталог pupils"));
        setNewPupilMode(true);
        return;
    }
    const QStringList folders = m_pupils.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Unsorted);
    for (const QString &folder : folders) {
        if (QFile::exists(keysFile(folder)))
            m_name->addItem(folder);
    }
    if (m_name->count() == 0)
        setNewPupilMode(true);
}

QString WindowAuth::keysFile(const QString &name) const
{
    return m_pupils.absoluteFilePath(name + QStringLiteral("/pupil.keys"));
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
    if (m_name->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive) < 0) {
        setNewPupilMode(true);
        m_remember->setChecked(false);
        return;
    }
    QFile keys(keysFile(name));
    if (keys.size() == PupilKeys::ShortRecord) {
        setNewPupilMode(false);
        m_remember->setChecked(false);
    } else if (keys.size() == PupilKeys::LongRecord && keys.open(QIODevice::ReadOnly)) {
        m_password->setText(PupilKeys::tokenText(keys.read(PupilKeys::ShortRecord)));
        setNewPupilMode(false);
        m_remember->setChecked(true);
    }
}

void WindowAuth::selectPupil()
{
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
    if (record.size() == PupilKeys::ShortRecord) {
        if (record != hash) {
            showError(tr("Неверный пароль"));
            return;
        }
        if (m_remember->isChecked())
            PupilKeys::writeFile(keys.fileName(), PupilKeys::record(hash, true));
        finishSignIn(name);
    } else if (record.size() == PupilKeys::LongRecord) {
        const QByteArray storedHash = record.mid(PupilKeys::ShortRecord);
        const QString rememberedText = PupilKeys::tokenText(PupilKeys::rememberToken(storedHash));
        if (m_password->text() != rememberedText && hash != storedHash) {
            showError(tr("Неверный пароль"));
            return;
        }
        if (!m_remember->isChecked())
            PupilKeys::writeFile(keys.fileName(), storedHash);
        finishSignIn(name);
    }
}

void WindowAuth::signInNewPupil(const QString &name, const QByteArray &hash)
{
    if (!isAcceptableName(name)) {
        showError(tr("Недопустимые символы в имени пользователя"));
        return;
    }
    const bool madeFolders = m_pupils.mkpath(name + QStringLiteral("/comments"));
    if (m_password->text() != m_confirm->text()) {
        showError(tr("Пароли не совпадают"));
        return;
    }
    // Without its password record the pupil could never sign in again: stop here instead.
    if (!madeFolders || !PupilKeys::writeFile(keysFile(name), PupilKeys::record(hash, m_remember->isChecked()))) {
        showError(tr("Не могу сохранить данные ученика «%1» в каталоге %2").arg(name, m_pupils.absolutePath()));
        return;
    }
    PupilKeys::writeFile(flashSettingsFile.fileName(), QByteArray("\x00\x64", 2));
    finishSignIn(name);
}

void WindowAuth::finishSignIn(const QString &name)
{
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
