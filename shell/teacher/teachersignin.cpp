#include "teachersignin.h"

#include "teacherkey.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace {

constexpr int wrongBeforeWait = 3;
constexpr int waitMs = 5000;

} // namespace

TeacherSignIn::TeacherSignIn(const QDir &courseFolder, QWidget *parent)
    : ShellWindow(ShellWindowTheme::signInWindow(), parent)
    , m_courseFolder(courseFolder)
    , m_wait(new QTimer(this))
{
    setObjectName(QStringLiteral("window_teacher_signin"));
    setWindowTitle(tr("Учитель"));
    m_wait->setSingleShot(true);
    m_wait->setInterval(waitMs);
    connect(m_wait, &QTimer::timeout, this, [this] {
        m_wrongInRow = 0;
        m_password->setEnabled(true);
        m_enter->setEnabled(true);
        tell(QString());
        m_password->setFocus();
    });
    buildWidgets();
    restart();
}

void TeacherSignIn::buildWidgets()
{
    auto *outer = new QGridLayout(this);
    outer->setContentsMargins(3, 3, 3, 3);
    outer->setSizeConstraint(QLayout::SetFixedSize);
    outer->setRowMinimumHeight(0, 26);
    auto *close = new QPushButton(this);
    close->setObjectName(QStringLiteral("button_window_close"));
    close->setFixedSize(29, 29);
    close->setFocusPolicy(Qt::NoFocus);
    close->setToolTip(tr("Закрыть"));
    close->setAccessibleName(close->toolTip());
    outer->addWidget(close, 0, 0, Qt::AlignRight);

    m_heading = new QLabel(this);
    m_heading->setObjectName(QStringLiteral("label_teacher_heading"));
    QFont headingFont = m_heading->font();
    headingFont.setBold(true);
    m_heading->setFont(headingFont);
    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("lineedit_teacher_password"));
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setMinimumWidth(215);
    m_confirmLabel = new QLabel(tr("Подтверждение:"), this);
    m_confirm = new QLineEdit(this);
    m_confirm->setObjectName(QStringLiteral("lineedit_teacher_confirm"));
    m_confirm->setEchoMode(QLineEdit::Password);
    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("label_teacher_message"));
    m_message->setWordWrap(true);
    m_enter = new QPushButton(tr("Войти"), this);
    m_enter->setObjectName(QStringLiteral("button_teacher_enter"));
    m_enter->setDefault(true);

    auto *form = new QGridLayout;
    form->setContentsMargins(20, 10, 20, 20);
    form->setSpacing(6);
    form->addWidget(m_heading, 0, 0, 1, 2);
    form->addWidget(new QLabel(tr("Пароль:"), this), 1, 0);
    form->addWidget(m_password, 1, 1);
    form->addWidget(m_confirmLabel, 2, 0);
    form->addWidget(m_confirm, 2, 1);
    form->addWidget(m_message, 3, 0, 1, 2);
    form->addWidget(m_enter, 4, 0, 1, 2, Qt::AlignHCenter);
    outer->addLayout(form, 1, 0);

    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_password, &QLineEdit::returnPressed, this, &TeacherSignIn::enter);
    connect(m_confirm, &QLineEdit::returnPressed, this, &TeacherSignIn::enter);
    connect(m_enter, &QPushButton::clicked, this, &TeacherSignIn::enter);
}

void TeacherSignIn::restart()
{
    m_settingPassword = !TeacherKey::isSet(m_courseFolder);
    m_heading->setText(m_settingPassword ? tr("Задайте пароль учителя") : tr("Введите пароль учителя"));
    m_confirmLabel->setVisible(m_settingPassword);
    m_confirm->setVisible(m_settingPassword);
    m_enter->setText(m_settingPassword ? tr("Задать пароль") : tr("Войти"));
    m_password->clear();
    m_confirm->clear();
    if (!m_wait->isActive())
        tell(QString());
    m_password->setFocus();
}

void TeacherSignIn::enter()
{
    if (m_wait->isActive())
        return;
    if (m_settingPassword)
        setPassword();
    else
        checkPassword();
}

void TeacherSignIn::setPassword()
{
    if (m_password->text().isEmpty()) {
        tell(tr("Пароль не может быть пустым"));
        return;
    }
    if (m_password->text() != m_confirm->text()) {
        tell(tr("Пароли не совпадают"));
        m_confirm->clear();
        m_confirm->setFocus();
        return;
    }
    QString error;
    if (!TeacherKey::set(m_courseFolder, m_password->text(), &error)) {
        tell(tr("Не могу сохранить пароль учителя: %1").arg(error));
        return;
    }
    accept();
}

void TeacherSignIn::checkPassword()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor); // the key is slow to derive on purpose
    const bool right = TeacherKey::check(m_courseFolder, m_password->text());
    QGuiApplication::restoreOverrideCursor();
    if (right) {
        m_wrongInRow = 0;
        accept();
        return;
    }
    m_password->selectAll();
    if (++m_wrongInRow < wrongBeforeWait) {
        tell(tr("Неверный пароль"));
        return;
    }
    tell(tr("Неверный пароль. Подождите несколько секунд."));
    m_password->clear();
    m_password->setEnabled(false);
    m_enter->setEnabled(false);
    m_wait->start();
}

void TeacherSignIn::tell(const QString &text)
{
    m_message->setText(text);
    m_message->setVisible(!text.isEmpty());
}
