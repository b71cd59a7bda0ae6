#include "pupilspage.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

PupilsPage::PupilsPage(const QDir &courseFolder, QWidget *parent)
    : QWidget(parent)
    , m_folders(courseFolder)
    , m_pupils(new QTreeWidget(this))
    , m_removed(new QListWidget(this))
    , m_message(new QLabel(this))
    , m_reset(new QPushButton(tr("Сбросить пароль"), this))
    , m_rename(new QPushButton(tr("Переименовать…"), this))
    , m_remove(new QPushButton(tr("Удалить"), this))
    , m_restore(new QPushButton(tr("Вернуть"), this))
    , m_release(new QPushButton(tr("Снять блокировку"), this))
{
    m_pupils->setObjectName(QStringLiteral("tree_pupils"));
    m_pupils->setRootIsDecorated(false);
    m_pupils->setHeaderLabels({tr("Ученик"), tr("Состояние")});
    m_pupils->header()->setSectionResizeMode(NameColumn, QHeaderView::Stretch);
    m_pupils->header()->setStretchLastSection(false);
    m_pupils->header()->setSectionResizeMode(StateColumn, QHeaderView::ResizeToContents);
    m_removed->setObjectName(QStringLiteral("list_removed_pupils"));
    m_message->setObjectName(QStringLiteral("label_pupils_message"));
    m_message->setWordWrap(true);
    m_reset->setToolTip(tr("Ученик задаст новый пароль при следующем входе; его работы останутся"));
    m_rename->setToolTip(tr("Другое имя ученика; его работы останутся"));
    m_remove->setToolTip(tr("Убрать ученика из списка входа; его можно будет вернуть"));
    m_restore->setToolTip(tr("Вернуть удалённого ученика в список входа"));
    m_release->setToolTip(tr("Компьютер выключили, пока ученик работал: разрешить ему войти снова"));

    auto *pupilButtons = new QHBoxLayout;
    pupilButtons->addWidget(m_reset);
    pupilButtons->addWidget(m_rename);
    pupilButtons->addWidget(m_remove);
    pupilButtons->addWidget(m_release);
    pupilButtons->addStretch(1);
    auto *removedButtons = new QHBoxLayout;
    removedButtons->addWidget(m_restore);
    removedButtons->addStretch(1);
    auto *box = new QVBoxLayout(this);
    box->addWidget(new QLabel(tr("Ученики:"), this));
    box->addWidget(m_pupils, 3);
    box->addLayout(pupilButtons);
    box->addSpacing(8);
    box->addWidget(new QLabel(tr("Удалённые ученики:"), this));
    box->addWidget(m_removed, 1);
    box->addLayout(removedButtons);
    box->addWidget(m_message);

    connect(m_reset, &QPushButton::clicked, this, &PupilsPage::resetPassword);
    connect(m_rename, &QPushButton::clicked, this, &PupilsPage::renamePupil);
    connect(m_remove, &QPushButton::clicked, this, &PupilsPage::removePupil);
    connect(m_restore, &QPushButton::clicked, this, &PupilsPage::restorePupil);
    connect(m_release, &QPushButton::clicked, this, &PupilsPage::releaseLock);
    connect(m_pupils, &QTreeWidget::itemSelectionChanged, this, &PupilsPage::updateButtons);
    connect(m_removed, &QListWidget::itemSelectionChanged, this, &PupilsPage::updateButtons);
    reload();
}

QString PupilsPage::message() const
{
    return m_message->text();
}

void PupilsPage::reload()
{
    const QString chosen = chosenPupil();
    m_pupils->clear();
    for (const QString &name : m_folders.pupils()) {
        auto *item = new QTreeWidgetItem(m_pupils, {name, stateOf(name)});
        if (name == chosen)
            m_pupils->setCurrentItem(item);
    }
    m_removed->clear();
    m_removed->addItems(m_folders.removed());
    updateButtons();
}

QString PupilsPage::stateOf(const QString &name) const
{
    QStringList states;
    if (const QString computer = m_folders.workingAt(name); !computer.isEmpty())
        states.append(tr("работает на компьютере %1").arg(computer));
    if (m_folders.isReset(name))
        states.append(tr("новый пароль при входе"));
    return states.join(QStringLiteral("; "));
}

QString PupilsPage::chosenPupil() const
{
    const QTreeWidgetItem *item = m_pupils->currentItem();
    return item && item->isSelected() ? item->text(NameColumn) : QString();
}

void PupilsPage::updateButtons()
{
    const bool pupil = !chosenPupil().isEmpty();
    m_reset->setEnabled(pupil);
    m_rename->setEnabled(pupil);
    m_remove->setEnabled(pupil);
    m_release->setEnabled(pupil && !m_folders.workingAt(chosenPupil()).isEmpty());
    m_restore->setEnabled(!m_removed->selectedItems().isEmpty());
}

void PupilsPage::resetPassword()
{
    const QString name = chosenPupil();
    if (name.isEmpty())
        return;
    // The old password cannot be brought back: ask first.
    const auto answer = QMessageBox::question(
        this, tr("Сбросить пароль"),
        tr("Сбросить пароль ученика «%1»? При следующем входе он задаст новый пароль.").arg(name));
    if (answer != QMessageBox::Yes)
        return;
    QString error;
    if (!m_folders.resetPassword(name, &error))
        return failed(error);
    reload();
    told(tr("Пароль ученика «%1» сброшен: при следующем входе он задаст новый.").arg(name));
}

void PupilsPage::renamePupil()
{
    const QString name = chosenPupil();
    if (name.isEmpty())
        return;
    bool ok = false;
    const QString newName = QInputDialog::getText(this, tr("Переименовать"), tr("Новое имя ученика «%1»:").arg(name),
                                                  QLineEdit::Normal, name, &ok);
    if (!ok || newName == name)
        return;
    QString error;
    if (!m_folders.rename(name, newName, &error))
        return failed(error);
    reload();
    emit pupilsChanged();
    told(tr("Ученик «%1» теперь «%2».").arg(name, newName));
}

void PupilsPage::removePupil()
{
    const QString name = chosenPupil();
    if (name.isEmpty())
        return;
    QString error;
    const QString keptAs = m_folders.remove(name, &error);
    if (keptAs.isEmpty())
        return failed(error);
    reload();
    emit pupilsChanged();
    told(keptAs == name ? tr("Ученик «%1» удалён из списка; его можно вернуть.").arg(name)
                        : tr("Ученик «%1» удалён из списка как «%2»; его можно вернуть.").arg(name, keptAs));
}

void PupilsPage::restorePupil()
{
    const QList<QListWidgetItem *> chosen = m_removed->selectedItems();
    if (chosen.isEmpty())
        return;
    const QString name = chosen.first()->text();
    QString error;
    if (!m_folders.restore(name, &error))
        return failed(error);
    reload();
    emit pupilsChanged();
    told(tr("Ученик «%1» возвращён.").arg(name));
}

void PupilsPage::releaseLock()
{
    const QString name = chosenPupil();
    if (name.isEmpty())
        return;
    const QString computer = m_folders.workingAt(name);
    const auto answer = QMessageBox::question(
        this, tr("Снять блокировку"),
        tr("Ученик «%1» работает на компьютере %2. Снимайте блокировку, только если этот компьютер выключен.")
            .arg(name, computer));
    if (answer != QMessageBox::Yes)
        return;
    QString error;
    if (!m_folders.releaseLock(name, &error))
        return failed(error);
    reload();
    told(tr("Ученик «%1» снова может войти на любом компьютере.").arg(name));
}

void PupilsPage::told(const QString &text)
{
    m_message->setText(text);
}

void PupilsPage::failed(const QString &text)
{
    m_message->setText(text);
    QMessageBox::critical(this, tr("Ошибка"), text, QMessageBox::Ok);
}
