#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include <QMainWindow>

class DoublePage;
class Editor;
class RecentFiles;
class ZonePanel;
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
    Editor *addEditor();
    // A page window on the hitzone file at `path`.
    Editor *openFile(const QString &path);

public slots:
    void newDoublePage();
    void openDoublePage();
    void saveDoublePage();
    void saveDoublePageAs();
    void openContents();
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
};

#endif
