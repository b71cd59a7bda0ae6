#ifndef WINDOWMAIN_H
#define WINDOWMAIN_H

#include "shellwindow.h"

#include <QStackedWidget>

class QGridLayout;
class QResizeEvent;
class QTabBar;

// The one working window: window buttons and the tab bar on top, below them four sheets, each
// with its own stack of windows opened on top of it.
class WindowMain : public ShellWindow
{
    Q_OBJECT

public:
    enum Sheet { Textbook = 0, Catalogue = 1, Favorites = 2, Markbook = 3, SheetCount = 4 };

    explicit WindowMain(QWidget *parent = nullptr);
    ~WindowMain() override;

    // Builds the tab bar and the four sheets; called once a pupil has signed in.
    void setupSheets();
    // False when the pupil's markbook could not be written.
    bool pupilFilesWritten() const { return m_pupilFilesWritten; }

    QTabBar *tabBar() const { return m_tabBar; }
    QStackedWidget *sheetStack(int sheet) { return &m_sheetStacks[sheet]; }
    QStackedWidget *mainStack() const { return m_mainStack; }

public slots:
    void createWidgetInSheet(QString id);
    void changeWidgetInSheet(QString id);
    void showContent();
    void help();
    void removeWidgetInSheet(QWidget *widget);

protected:
    int captionNoteRight() const override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildHeader();
    void placeForRestore();
    void placeTabBar();
    QStackedWidget *currentSheetStack();
    void pushOnCurrentSheet(QWidget *window);
    bool favoritesButtonWanted() const;
    bool matchMarkbookToContents();
    void keepTextbookDrawnUnderContents();

    QTabBar *m_tabBar = nullptr;
    QStackedWidget *m_mainStack = nullptr;
    QStackedWidget m_sheetStacks[SheetCount];
    QGridLayout *m_headerGrid = nullptr;
    QWidget *m_helpButton = nullptr;
    bool m_tabsBelow = false;
    bool m_pupilFilesWritten = true;
};

#endif
