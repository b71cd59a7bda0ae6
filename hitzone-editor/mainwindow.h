#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include <QMainWindow>

class DoublePage;
class Editor;
class RecentFiles;
class ZonePanel;
class ProblemPanel;
class TrialWindow;
class QMdiArea;
class QUndoGroup;

// The editor's main window: page windows in a multiple-document area, commands in the menus.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);

    QMdiArea *area() const { return m_area; }
    ZonePanel *zonePanel() const { return m_zones; }
    ProblemPanel *problemPanel() const { return m_problems; }
    QString builtMovie() const { return m_builtMovie; }
    Editor *addEditor();
    // A page window on the hitzone file at `path`.
    Editor *openFile(const QString &path);

public slots:
    void newDoublePage();
    void openDoublePage();
    void saveDoublePage();
    void saveDoublePageAs();
    void openContents();
    // Saves the active page and builds its movie into the course's data/textbook; false when
    // no movie was written (the problems panel says why).
    bool buildPage();
    // Builds the page and plays it in the editor's player, telling which material a click opens.
    void tryPage();
    void attachSVG();
    void appendHitzone();
    void deletePrevPoint();
    void deleteHitzone();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenus();
    Editor *activeEditor() const;
    static void fitToPage(Editor *editor);
    DoublePage *activePage() const;

    QMdiArea *m_area;
    QUndoGroup *m_undo; // the active page's history
    RecentFiles *m_recent;
    ZonePanel *m_zones;
    ProblemPanel *m_problems;
    TrialWindow *m_trial = nullptr;
    QString m_builtMovie;
};

#endif
