#ifndef BACKUPPAGE_H
#define BACKUPPAGE_H

#include "classbackup.h"

#include <QDir>
#include <QWidget>

class QLabel;

// The teacher's page for keeping the whole class in one file and bringing it back.
class BackupPage : public QWidget
{
    Q_OBJECT

public:
    explicit BackupPage(const QDir &courseFolder, QWidget *parent = nullptr);

    QLabel *status() const { return m_status; }

public slots:
    void save();
    void restore();

signals:
    // Pupil folders came back: what shows the class reads it again.
    void restored();

private:
    ClassBackup::Result inBackground(const std::function<ClassBackup::Result()> &work);
    ClassBackup::Answer askReplace(const QString &folder, const QString &name);
    void tell(const QString &text, bool failed);

    QDir m_courseFolder;
    QLabel *m_status;
};

#endif
