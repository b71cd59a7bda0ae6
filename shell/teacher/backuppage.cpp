#include "backuppage.h"

#include <QApplication>
#include <QDate>
#include <QEventLoop>
#include <QFileDialog>
#include <QLabel>
#include <QFontMetrics>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QThread>
#include <QVBoxLayout>

BackupPage::BackupPage(const QDir &courseFolder, QWidget *parent)
    : QWidget(parent)
    , m_courseFolder(courseFolder)
    , m_status(new QLabel(this))
{
    auto *explain = new QLabel(tr("Резервная копия — это один файл со всем классом: папки всех учеников "
                                  "(оценки, попытки, избранное, комментарии) и настройки учителя. "
                                  "Храните её на другом диске или флешке. Пароль учителя в копию не входит."),
                               this);
    explain->setWordWrap(true);
    auto *save = new QPushButton(tr("Сохранить копию класса…"), this);
    save->setObjectName(QStringLiteral("button_backup_save"));
    auto *restore = new QPushButton(tr("Восстановить из копии…"), this);
    restore->setObjectName(QStringLiteral("button_backup_restore"));
    restore->setToolTip(tr("Ученики, которые уже есть, заменяются только с вашего согласия"));
    m_status->setObjectName(QStringLiteral("label_backup_status"));
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *box = new QVBoxLayout(this);
    box->addWidget(explain);
    box->addSpacing(12);
    box->addWidget(save, 0, Qt::AlignLeft);
    box->addWidget(restore, 0, Qt::AlignLeft);
    box->addSpacing(12);
    box->addWidget(m_status);
    box->addStretch(1);

    connect(save, &QPushButton::clicked, this, &BackupPage::save);
    connect(restore, &QPushButton::clicked, this, &BackupPage::restore);
}

void BackupPage::save()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString suggested = QDir(documents).filePath(
        tr("Копия класса %1.zip").arg(QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"))));
    const QString file = QFileDialog::getSaveFileName(this, tr("Сохранить копию класса"), suggested,
                                                      tr("Копия класса (*.zip)"));
    if (file.isEmpty())
        return;
    const ClassBackup::Result result = inBackground([this, file] { return ClassBackup::save(m_courseFolder, file); });
    if (result.ok)
        tell(tr("Копия класса сохранена в файл %1 (учеников: %2).").arg(QDir::toNativeSeparators(file)).arg(result.pupils), false);
    else
        tell(result.error, true);
}

void BackupPage::restore()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString file = QFileDialog::getOpenFileName(this, tr("Восстановить класс из копии"), documents,
                                                      tr("Копия класса (*.zip)"));
    if (file.isEmpty())
        return;
    const ClassBackup::Result result = inBackground([this, file] {
        return ClassBackup::restore(file, m_courseFolder, [this](const QString &folder, const QString &name) {
            ClassBackup::Answer answer = ClassBackup::Answer::Cancel;
            QMetaObject::invokeMethod(
                this, [&] { answer = askReplace(folder, name); }, Qt::BlockingQueuedConnection);
            return answer;
        });
    });
    if (result.pupils > 0)
        emit restored();
    if (result.cancelled)
        tell(tr("Восстановление отменено, класс не изменён."), false);
    else if (!result.ok)
        tell(result.error, true);
    else if (result.pupils == 0 && result.skipped == 0)
        tell(tr("В этой копии нет ни одного ученика."), true);
    else
        tell(tr("Класс восстановлен из копии: учеников восстановлено — %1, оставлено как было — %2.")
                 .arg(result.pupils)
                 .arg(result.skipped),
             false);
}

// A big copy, or a hostile one that unpacks to gigabytes, takes a while: the window keeps
// answering meanwhile, with this page's buttons off.
ClassBackup::Result BackupPage::inBackground(const std::function<ClassBackup::Result()> &work)
{
    ClassBackup::Result result;
    setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QThread *thread = QThread::create([&result, &work] { result = work(); });
    QEventLoop loop;
    connect(thread, &QThread::finished, &loop, &QEventLoop::quit);
    thread->start();
    loop.exec();
    thread->wait();
    delete thread;
    QApplication::restoreOverrideCursor();
    setEnabled(true);
    return result;
}

ClassBackup::Answer BackupPage::askReplace(const QString &folder, const QString &name)
{
    QApplication::restoreOverrideCursor();
    QMessageBox box(QMessageBox::Question, tr("Восстановление класса"),
                    folder.startsWith(QLatin1String("removed/"))
                        ? tr("Удалённый ученик «%1» уже хранится на этом компьютере.").arg(name)
                        : tr("Ученик «%1» уже есть на этом компьютере.").arg(name),
                    QMessageBox::NoButton, this);
    box.setInformativeText(tr("Заменить его папку папкой из копии? Его нынешние оценки, попытки и комментарии "
                              "будут заменены теми, что в копии."));
    QPushButton *replace = box.addButton(tr("Заменить"), QMessageBox::DestructiveRole);
    QPushButton *skip = box.addButton(tr("Оставить как есть"), QMessageBox::AcceptRole);
    QPushButton *cancel = box.addButton(tr("Отменить восстановление"), QMessageBox::RejectRole);
    // The theme's buttons are bold, and its least width is all a box gives them otherwise.
    QFont bold = box.font();
    bold.setBold(true);
    for (QPushButton *button : {replace, skip, cancel})
        button->setStyleSheet(QStringLiteral("min-width: %1px;").arg(QFontMetrics(bold).horizontalAdvance(button->text()) + 24));
    box.setDefaultButton(skip);
    box.exec();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (box.clickedButton() == replace)
        return ClassBackup::Answer::Replace;
    if (box.clickedButton() == skip)
        return ClassBackup::Answer::Skip;
    return ClassBackup::Answer::Cancel;
}

void BackupPage::tell(const QString &text, bool failed)
{
    m_status->setText(text);
    if (failed)
        QMessageBox::warning(this, tr("Резервная копия"), text);
    else
        QMessageBox::information(this, tr("Резервная копия"), text);
}
