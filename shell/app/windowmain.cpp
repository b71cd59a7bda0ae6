#include "windowmain.h"

#include "contentmodel.h"
#include "contentp.h"
#include "environment.h"
#include "flashplayer.h"
#include "helplauncher.h"
#include "markbookmodel.h"
#include "materialid.h"
#include "sheetcatalogue.h"
#include "sheetfavorites.h"
#include "sheetmarkbook.h"
#include "sheettextbook.h"
#include "shellslider.h"
#include "treeitem.h"
#include "viewercontent.h"
#include "viewerpage.h"
#include "viewerobject.h"
#include "windowhard.h"

#include <QApplication>
#include <QDebug>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStackedLayout>
#include <QStyle>
#include <QTabBar>
#include <QVBoxLayout>

WindowMain::WindowMain(QWidget *parent)
    : ShellWindow(ShellWindowTheme::mainWindow(), parent)
{
    if (!mainWindow)
        mainWindow = this;
    setObjectName(QStringLiteral("window_main"));
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(10, 10, 10, 10);
    outer->setSpacing(0);

    m_mainStack = new QStackedWidget(this);
    for (QStackedWidget &stack : m_sheetStacks)
        stack.setParent(m_mainStack); // hidden children until the sheet set-up adds them
    buildHeader();
    outer->addLayout(m_headerGrid);
    outer->addWidget(new ContentP(m_mainStack, this), 1);

    setMinimumSize(800, 600);
    setWindowTitle(mainWindowTitle());
    placeForRestore();
}

int WindowMain::captionNoteRight() const
{
    if (m_tabBar && !m_tabsBelow)
        return m_tabBar->x() - 12;
    return m_helpButton->x() - 12;
}

void WindowMain::resizeEvent(QResizeEvent *event)
{
    ShellWindow::resizeEvent(event);
    placeTabBar();
}

void WindowMain::placeTabBar()
{
    if (!m_tabBar)
        return;
    // Beside the caption picture when all four tabs fit there, else on a row of their own
    // below it: the tabs never cover the caption, and none is cut off.
    const int outerMargin = layout()->contentsMargins().left();
    const int captionRoom = captionPictureRight() - outerMargin + 8;
    const int buttonsRoom = width() - m_helpButton->x() + 40;
    const bool below = captionRoom + m_tabBar->sizeHint().width() + buttonsRoom > width();
    if (below == m_tabsBelow && m_headerGrid->indexOf(m_tabBar) >= 0)
        return;
    m_tabsBelow = below;
    m_headerGrid->removeWidget(m_tabBar);
    if (below)
        m_headerGrid->addWidget(m_tabBar, 3, 0, 1, 11, Qt::AlignLeft);
    else
        m_headerGrid->addWidget(m_tabBar, 0, 1, 3, 1);
    m_headerGrid->setColumnMinimumWidth(0, below ? 0 : captionRoom);
    m_headerGrid->setRowMinimumHeight(3, below ? m_tabBar->sizeHint().height() : 0);
    update();
}

void WindowMain::placeForRestore()
{
    // Maximised at start; restored, the window comes back at a size one can work in,
    // centred, not at the minimum size in the screen's corner.
    const QRect workArea = screen()->availableGeometry();
    const QSize size = (workArea.size() * 0.8).expandedTo(minimumSize()).boundedTo(workArea.size());
    setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size, workArea));
}

WindowMain::~WindowMain()
{
    if (mainWindow == this)
        mainWindow = nullptr;
    // The sheet stacks are members: empty them while the window's children still exist.
    for (QStackedWidget &stack : m_sheetStacks) {
        while (QWidget *w = stack.widget(0)) {
            stack.removeWidget(w);
            delete w;
        }
    }
}

// Every button here is a picture only: its name is what a screen reader says.
static QPushButton *windowButton(const char *objectName, int side, const QString &name, QWidget *parent,
                                 bool withToolTip = true)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(QLatin1String(objectName));
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedSize(side, side);
    if (withToolTip)
        button->setToolTip(name);
    button->setAccessibleName(name);
    return button;
}

static QVBoxLayout *topAligned(QWidget *button)
{
    auto *box = new QVBoxLayout;
    box->setContentsMargins(0, 0, 0, 0);
    box->addSpacing(0);
    box->addWidget(button);
    return box;
}

void WindowMain::buildHeader()
{
    QPushButton *minimizeButton = windowButton("button_window_minimize", 23, tr("Свернуть"), this);
    QPushButton *maximizeButton = windowButton("button_window_maximize", 23, tr("Развернуть"), this, false);
    QPushButton *closeButton = windowButton("button_window_close", 23, tr("Закрыть"), this);
    QPushButton *helpButton = windowButton("button_help", 26, tr("Помощь"), this);
    m_helpButton = helpButton;
    connect(minimizeButton, &QPushButton::clicked, this, &ShellWindow::minimize);
    connect(maximizeButton, &QPushButton::clicked, this, &ShellWindow::maximize);
    connect(closeButton, &QPushButton::clicked, qApp, &QApplication::quit);
    connect(helpButton, &QPushButton::clicked, this, &WindowMain::help);

    m_headerGrid = new QGridLayout;
    m_headerGrid->setSizeConstraint(QLayout::SetFixedSize);
    m_headerGrid->setSpacing(0);
    m_headerGrid->setColumnStretch(0, 1);
    for (int row = 0; row < 3; ++row)
        m_headerGrid->setRowMinimumHeight(row, 0);
    m_headerGrid->setColumnMinimumWidth(2, 40);
    m_headerGrid->addWidget(helpButton, 0, 3, 2, 1, Qt::AlignTop);
    m_headerGrid->setColumnMinimumWidth(4, 5);
    m_headerGrid->addWidget(minimizeButton, 0, 5, 2, 1, Qt::AlignTop);
    m_headerGrid->setColumnMinimumWidth(6, 0);
    m_headerGrid->addLayout(topAligned(maximizeButton), 0, 7, 2, 1, Qt::AlignTop);
    m_headerGrid->setColumnMinimumWidth(8, 0);
    m_headerGrid->addLayout(topAligned(closeButton), 0, 9, 2, 1, Qt::AlignTop);
    m_headerGrid->setColumnMinimumWidth(10, 0);
}

void WindowMain::setupSheets()
{
    setBodyImage(themed(QStringLiteral("theme/windows/main/bg_body2.jpg")), true);
    // A child sees whose book is open.
    setCaptionNote(pupilDir.dirName());

    m_tabBar = new QTabBar(this);
    m_tabBar->setDrawBase(false);
    m_tabBar->setObjectName(QStringLiteral("tabbar_main"));
    for (const QString &caption : {tr("Учебник"), tr("Каталог"), tr("Избранное"), tr("Журнал")}) {
        const int tab = m_tabBar->addTab(caption);
        m_tabBar->setTabToolTip(tab, caption);
    }
    connect(m_tabBar, &QTabBar::currentChanged, m_mainStack, &QStackedWidget::setCurrentIndex);
    placeTabBar();

    m_sheetStacks[Textbook].addWidget(new SheetTextbook);
    m_sheetStacks[Catalogue].addWidget(new SheetCatalogue);
    m_sheetStacks[Favorites].addWidget(new SheetFavorites);
    m_pupilFilesWritten = matchMarkbookToContents();
    m_sheetStacks[Markbook].addWidget(new SheetMarkbook);

    m_mainStack->setContentsMargins(15, 7, 15, 15);
    for (QStackedWidget &stack : m_sheetStacks)
        m_mainStack->addWidget(&stack);
    showContent();
    setMinimumSize(minimumSize().expandedTo(layout()->minimumSize()));
}

// Closing the contents shows the book's page. The web engine draws only a page that is on
// screen, and takes a good 100 ms to show one that was hidden: while the contents are open
// the textbook stays on screen under them for the engine, its movie held once drawn, but
// unpainted by Qt and deaf to the mouse. At sign-in this also draws the first page while
// the pupil looks at the contents.
void WindowMain::keepTextbookDrawnUnderContents()
{
    QStackedWidget &stack = m_sheetStacks[Textbook];
    auto *textbook = qobject_cast<SheetTextbook *>(stack.widget(0));
    auto *layout = qobject_cast<QStackedLayout *>(stack.layout());
    FlashPlayer *player = textbook ? textbook->pageView()->player() : nullptr;
    if (!layout || !player || !player->isPlaying())
        return;
    const auto cover = [textbook, layout, player](bool covered) {
        textbook->setUpdatesEnabled(!covered);
        textbook->setAttribute(Qt::WA_TransparentForMouseEvents, covered);
        player->setHeld(covered);
        layout->setStackingMode(covered ? QStackedLayout::StackAll : QStackedLayout::StackOne);
    };
    cover(true);
    auto *watch = new QObject(this);
    connect(&stack, &QStackedWidget::currentChanged, watch, [cover, watch] {
        cover(false);
        watch->deleteLater();
    });
}

QStackedWidget *WindowMain::currentSheetStack()
{
    const int tab = m_tabBar ? m_tabBar->currentIndex() : 0;
    return &m_sheetStacks[tab < 0 ? 0 : tab];
}

// The markbook must hold every test of the contents as they are today, or the pupil's
// results for the tests it lacks would go nowhere.
bool WindowMain::matchMarkbookToContents()
{
    ensureMarkbookModel();
    return markbookModel->matchContents(contentModel->rootItem());
}

bool WindowMain::favoritesButtonWanted() const
{
    const int tab = m_tabBar ? m_tabBar->currentIndex() : Textbook;
    return tab == Textbook || tab == Catalogue;
}

void WindowMain::pushOnCurrentSheet(QWidget *window)
{
    QStackedWidget *stack = currentSheetStack();
    stack->addWidget(window);
    stack->setCurrentWidget(window);
}

void WindowMain::createWidgetInSheet(QString id)
{
    ensureContentModel();
    // Ids come from course files, movies and favorites; one that is not a plain folder name
    // opens nothing.
    if (!MaterialId::isSafe(id)) {
        qDebug().noquote() << "refused to open the material" << id;
        return;
    }
    if (const TreeItem *material = contentModel->findObject(id, contentModel->rootItem())) {
        auto *viewer = new ViewerObject(ViewerObject::Normal);
        viewer->loadObject(id);
        const int flags = WindowHard::PrintButton | (favoritesButtonWanted() ? WindowHard::FavoritesButton : 0);
        auto *window = new WindowHard(flags, this);
        if (!viewer->isPrintable())
            window->disablePrinter();
        connect(window, &WindowHard::remove, this, &WindowMain::removeWidgetInSheet, Qt::QueuedConnection);
        connect(window, &WindowHard::printer, viewer, &ViewerObject::printer);
        connect(window, &WindowHard::favorites, viewer, &ViewerObject::favorites);
        window->setCaptionIcon(groupIconsSmall.value(material->data(1).toString()));
        window->setCaptionText(material->data(0).toString());
        window->setContentWidget(viewer);
        pushOnCurrentSheet(window);
    }
    activateWindow();
}

void WindowMain::changeWidgetInSheet(QString id)
{
    QStackedWidget *stack = currentSheetStack();
    if (stack->count() > 1) {
        QWidget *top = stack->currentWidget();
        stack->removeWidget(top);
        top->hide();
        // The request may come from inside the top window (a movie's own call): it is still
        // on the call stack, so it goes once the current event is done.
        top->deleteLater();
    }
    createWidgetInSheet(id);
}

void WindowMain::showContent()
{
    auto *contents = new ViewerContent(m_mainStack);
    connect(contents, &WindowHard::remove, this, &WindowMain::removeWidgetInSheet, Qt::QueuedConnection);
    if (auto *textbook = qobject_cast<SheetTextbook *>(m_sheetStacks[Textbook].widget(0)))
        connect(contents, SIGNAL(jumpPage(int)), textbook->slider(), SLOT(jumpPage(int)));
    pushOnCurrentSheet(contents);
    if (currentSheetStack() == &m_sheetStacks[Textbook] && m_sheetStacks[Textbook].count() == 2)
        keepTextbookDrawnUnderContents();
}

void WindowMain::help()
{
    QString error;
    if (!HelpLauncher::show(&error))
        QMessageBox::warning(this, tr("Помощь"), tr("Справка недоступна: %1").arg(error));
}

void WindowMain::removeWidgetInSheet(QWidget *widget)
{
    for (QStackedWidget &stack : m_sheetStacks) {
        if (stack.currentWidget() == widget && stack.count() > 0) {
            stack.removeWidget(widget);
            delete widget;
            // The keys go on to what is now on top (the textbook's pages), not to the tab bar.
            if (QWidget *top = stack.currentWidget(); top && top->isVisible())
                top->setFocus();
            return;
        }
    }
}
