#include "windowteacher.h"

#include "backuppage.h"
#include "classresultspage.h"
#include "pupilspage.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTabWidget>

WindowTeacher::WindowTeacher(const QDir &courseFolder, QWidget *parent)
    : WindowHard(0, parent)
    , m_pages(new QTabWidget(this))
    , m_results(new ClassResultsPage(courseFolder, m_pages))
{
    setObjectName(QStringLiteral("window_teacher"));
    setCaptionText(tr("Учитель"));
    m_pages->addTab(m_results, tr("Оценки класса"));
    auto *pupils = new PupilsPage(courseFolder, m_pages);
    m_pages->addTab(pupils, tr("Ученики"));
    connect(pupils, &PupilsPage::pupilsChanged, m_results, &ClassResultsPage::reload);
    m_backup = new BackupPage(courseFolder, m_pages);
    m_pages->addTab(m_backup, tr("Резервная копия"));
    connect(m_backup, &BackupPage::restored, m_results, &ClassResultsPage::reload);
    connect(m_backup, &BackupPage::restored, pupils, &PupilsPage::reload);
    setContentWidget(m_pages);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    resize(screen.size() * 0.85);
    move(screen.center() - rect().center());
}
