#include "mainwindow.h"

#include "doublepage.h"
#include "editor.h"
#include "coursefolder.h"
#include "pagemoviejob.h"
#include "problempanel.h"
#include "recentfiles.h"
#include "trialwindow.h"
#include "zonepanel.h"

#include <QCloseEvent>
#include <QDir>
#include <QMessageBox>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QUndoGroup>
#include <QUndoStack>

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , m_area(new QMdiArea(this))
    , m_undo(new QUndoGroup(this))
    , m_recent(new RecentFiles(this))
    , m_zones(new ZonePanel)
    , m_problems(new ProblemPanel)
{
    connect(m_area, &QMdiArea::subWindowActivated, this, [this] {
        DoublePage *page = activePage();
        m_undo->setActiveStack(page ? page->undoStack() : nullptr);
        m_zones->setEditor(activeEditor());
    });
    auto *dock = new QDockWidget(tr("Зоны и материалы"), this);
    dock->setObjectName(QStringLiteral("zones"));
    dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    dock->setWidget(m_zones);
    addDockWidget(Qt::RightDockWidgetArea, dock);
    auto *problems = new QDockWidget(tr("Сборка страницы"), this);
    problems->setObjectName(QStringLiteral("problems"));
    problems->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    problems->setWidget(m_problems);
    addDockWidget(Qt::BottomDockWidgetArea, problems);
    // The page gets the room: the zones take a column, the problems a few rows.
    resizeDocks({dock, problems}, {430, 110}, Qt::Horizontal);
    resizeDocks({problems}, {110}, Qt::Vertical);
    connect(m_problems, &ProblemPanel::zoneChosen, this, [this](int number) {
        if (DoublePage *page = activePage())
            page->selectNumber(number);
    });
    m_area->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_area->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_area);
    buildMenus();
    statusBar(); // there from the start, so that the first message does not shift the pages
    setWindowTitle(tr("Double page editor"));
    resize(1600, 900); // room for a whole double page at its natural size, and the zones beside it
}

void MainWindow::buildMenus()
{
    QMenu *file = menuBar()->addMenu(tr("&Файл"));
    file->addAction(tr("Новый"), QKeySequence(tr("Ctrl+N")), this, &MainWindow::newDoublePage);
    file->addSeparator();
    file->addAction(tr("Открыть"), QKeySequence(tr("Ctrl+O")), this, &MainWindow::openDoublePage);
    file->addAction(tr("Сохранить"), QKeySequence(tr("Ctrl+S")), this, &MainWindow::saveDoublePage);
    file->addAction(tr("Сохранить как…"), QKeySequence(tr("Ctrl+Shift+S")), this, &MainWindow::saveDoublePageAs);
    file->addSeparator();
    m_recent->attach(file->addMenu(tr("Последние файлы")));
    connect(m_recent, &RecentFiles::chosen, this, &MainWindow::openFile);
    file->addSeparator();
    file->addAction(tr("Открыть содержание курса…"), this, &MainWindow::openContents);
    file->addSeparator();
    // Closing the window asks about unsaved pages before the program ends.
    file->addAction(tr("Выход"), QKeySequence(tr("Ctrl+X")), this, &QWidget::close);

    QMenu *edit = menuBar()->addMenu(tr("Правка"));
    QAction *undo = m_undo->createUndoAction(this, tr("Отменить"));
    undo->setShortcut(QKeySequence(tr("Ctrl+Z")));
    QAction *redo = m_undo->createRedoAction(this, tr("Повторить"));
    redo->setShortcut(QKeySequence(tr("Ctrl+Shift+Z")));
    edit->addActions({undo, redo});
    edit->addSeparator();
    edit->addAction(tr("Присоединить PNG файл"), QKeySequence(tr("Ctrl+A")), this, &MainWindow::attachSVG);
    edit->addSeparator();
    edit->addAction(tr("Добавить зону"), QKeySequence(tr("Ctrl+D")), this, &MainWindow::appendHitzone);
    edit->addSeparator();
    // Ctrl+Z undoes any change now, a point as well; this keeps taking back points only.
    edit->addAction(tr("Удалить предыдущую точку"), QKeySequence(Qt::Key_Backspace), this, &MainWindow::deletePrevPoint);
    edit->addAction(tr("Удалить зону"), QKeySequence(QKeySequence::Delete), this, &MainWindow::deleteHitzone);

    QMenu *page = menuBar()->addMenu(tr("Страница"));
    page->addAction(tr("Собрать страницу"), QKeySequence(tr("Ctrl+B")), this, &MainWindow::buildPage);
    page->addAction(tr("Проверить"), QKeySequence(tr("F5")), this, &MainWindow::tryPage);
}

Editor *MainWindow::addEditor()
{
    auto *editor = new Editor;
    editor->setAttribute(Qt::WA_DeleteOnClose);
    m_undo->addStack(editor->page()->undoStack());
    m_area->addSubWindow(editor);
    return editor;
}

Editor *MainWindow::activeEditor() const
{
    QMdiSubWindow *window = m_area->activeSubWindow();
    return window ? qobject_cast<Editor *>(window->widget()) : nullptr;
}

DoublePage *MainWindow::activePage() const
{
    Editor *editor = activeEditor();
    return editor ? editor->page() : nullptr;
}

void MainWindow::newDoublePage()
{
    addEditor()->show();
}

void MainWindow::openDoublePage()
{
    const QStringList recent = m_recent->files();
    const QString folder = recent.isEmpty() ? QString() : QFileInfo(recent.first()).path();
    const QString name = QFileDialog::getOpenFileName(this, tr("Открыть файл"), folder, QStringLiteral("*.xml"));
    if (!name.isEmpty())
        openFile(name);
}

Editor *MainWindow::openFile(const QString &path)
{
    Editor *editor = addEditor();
    // Absolute: the trial player changes the working directory, and saves must still land here.
    const QString file = QFileInfo(path).absoluteFilePath();
    editor->open(file);
    editor->show();
    fitToPage(editor);
    m_recent->add(file);
    return editor;
}

void MainWindow::openContents()
{
    const QString name = QFileDialog::getOpenFileName(this, tr("Содержание курса"), QFileInfo(m_zones->contentsPath()).path(),
                                                      QStringLiteral("content.xml (content.xml);;*.xml"));
    if (!name.isEmpty())
        m_zones->loadContents(name);
}

void MainWindow::saveDoublePage()
{
    Editor *editor = activeEditor();
    if (editor && editor->save())
        m_recent->add(editor->page()->fileName());
}

void MainWindow::saveDoublePageAs()
{
    Editor *editor = activeEditor();
    if (editor && editor->saveAs())
        m_recent->add(editor->page()->fileName());
}

void MainWindow::attachSVG()
{
    DoublePage *page = activePage();
    if (!page)
        return;
    const QString name =
        QFileDialog::getOpenFileName(this, tr("Открыть PNG файл"), QString(), QStringLiteral("*.png"));
    if (name.isEmpty())
        return;
    page->setImage(name);
    fitToPage(activeEditor());
}

void MainWindow::fitToPage(Editor *editor)
{
    // A sub-window keeps the size it had when it was added, before the page knew its image.
    editor->parentWidget()->adjustSize();
}

void MainWindow::appendHitzone()
{
    DoublePage *page = activePage();
    if (page && !page->appendHitzone())
        statusBar()->showMessage(tr("В зоне должно быть не меньше трёх точек"), 5000);
}

void MainWindow::deletePrevPoint()
{
    if (DoublePage *page = activePage())
        page->deletePrevPoint();
}

void MainWindow::deleteHitzone()
{
    if (DoublePage *page = activePage())
        page->deleteSelected();
}

bool MainWindow::buildPage()
{
    Editor *editor = activeEditor();
    if (!editor)
        return false;
    DoublePage *page = editor->page();
    // The movie is built from the files: what the author sees must be in them first.
    if ((page->isModified() || page->fileName().isEmpty()) && !editor->save())
        return false;
    const CourseFolder course(page->fileName());
    if (!course.isValid()) {
        QMessageBox::warning(this, tr("Ошибка"), tr("Не найдена папка курса: выше файла «%1» нет data/content.xml.")
                                                     .arg(QDir::toNativeSeparators(page->fileName())));
        return false;
    }
    PageMovieJob job;
    job.imagePath = page->imagePath();
    job.hitzonePath = page->fileName();
    job.mapPath = CourseFolder::mapFile(page->fileName());
    job.contentsPath = course.contentsFile();
    job.outputPath = QDir(course.textbookFolder()).filePath(QFileInfo(page->fileName()).completeBaseName() + QStringLiteral(".swf"));
    QDir().mkpath(course.textbookFolder());
    const bool built = job.run();
    m_problems->showProblems(job.errors(), job.warnings(), job.hitzonePath, job.mapPath);
    if (built) {
        m_builtMovie = job.outputPath;
        statusBar()->showMessage(tr("Страница собрана: %1").arg(QDir::toNativeSeparators(job.outputPath)));
    } else {
        m_problems->parentWidget()->show();
        statusBar()->showMessage(tr("Страница не собрана, ошибок: %1").arg(job.errors().size()));
    }
    return built;
}

void MainWindow::tryPage()
{
    if (!buildPage())
        return;
    if (!m_trial)
        m_trial = new TrialWindow(this);
    m_trial->play(m_builtMovie, m_zones->contentsPath(), activePage()->image().size());
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    m_area->closeAllSubWindows();
    if (m_area->subWindowList().isEmpty())
        event->accept();
    else
        event->ignore();
}
