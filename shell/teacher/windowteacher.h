#ifndef WINDOWTEACHER_H
#define WINDOWTEACHER_H

#include "windowhard.h"

#include <QDir>

class BackupPage;
class ClassResultsPage;
class QTabWidget;

// The teacher's desk: the class's results, its pupils and its back-up, for the course data
// folder the pupils live in. Opened from the sign-in window behind the teacher's password.
class WindowTeacher : public WindowHard
{
    Q_OBJECT

public:
    explicit WindowTeacher(const QDir &courseFolder, QWidget *parent = nullptr);

    ClassResultsPage *resultsPage() const { return m_results; }
    QTabWidget *pages() const { return m_pages; }
    BackupPage *backupPage() const { return m_backup; }

private:
    QTabWidget *m_pages;
    ClassResultsPage *m_results;
    BackupPage *m_backup;
};

#endif
