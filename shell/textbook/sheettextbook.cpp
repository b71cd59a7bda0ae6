#include "sheettextbook.h"

#include "atomicfile.h"
#include "environment.h"
#include "flashplayer.h"
#include "shellslider.h"
#include "viewerpage.h"
#include "windowmain.h"

#include <QApplication>
#include <QDebug>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QPushButton>
#include <QShortcut>
#include <QStackedWidget>
#include <QWheelEvent>

SheetTextbook::SheetTextbook(QWidget *parent)
    : QWidget(parent)
    , m_view(new ViewerPage(this))
    , m_slider(new ShellSlider(this))
{
    QPushButton *prev = sideButton("button_prev", tr("Предыдущая страница"), QSize(80, 116));
    QPushButton *next = sideButton("button_next", tr("Следующая страница"), QSize(80, 116));
    QPushButton *contents = sideButton("button_content", tr("Оглавление"), QSize(78, 66));

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(prev, 0, 0, 1, 1, Qt::AlignLeft);
    grid->addWidget(m_view, 0, 1, 1, 2);
    grid->addWidget(next, 0, 3, 1, 1, Qt::AlignRight);
    grid->addWidget(contents, 1, 0, 1, 2, Qt::AlignHCenter | Qt::AlignBottom);
    grid->addWidget(m_slider, 1, 2, 1, 2);
    grid->setColumnMinimumWidth(0, 50);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 10);
    grid->setColumnMinimumWidth(3, 50);
    grid->setRowStretch(0, 1);

    connect(prev, &QPushButton::clicked, this, &SheetTextbook::clickPrev);
    connect(next, &QPushButton::clicked, this, &SheetTextbook::clickNext);
    if (mainWindow)
        connect(contents, &QPushButton::clicked, mainWindow, &WindowMain::showContent);
    connect(m_view, &ViewerPage::selectedHitzone, this, &SheetTextbook::showMaterials);
    addPageKeys();
    catchWheelOver(m_view);
    setFocusProxy(m_view);

    openAtLastPage();
    connect(m_slider, &ShellSlider::pageChanged, this, &SheetTextbook::pageChanged);
    m_view->loadPage(m_slider->currentPagePath());
    announceNeighbours();

    m_rememberTimer.setSingleShot(true);
    m_rememberTimer.setInterval(1000);
    connect(&m_rememberTimer, &QTimer::timeout, this, &SheetTextbook::rememberPage);
}

SheetTextbook::~SheetTextbook()
{
    if (m_rememberTimer.isActive())
        rememberPage();
}

void SheetTextbook::addPageKeys()
{
    // Keys of a reader, while the textbook has the focus; the tab bar keeps its own arrows.
    const auto addKeys = [this](std::initializer_list<QKeySequence> keys, auto slot) {
        for (const QKeySequence &key : keys) {
            auto *shortcut = new QShortcut(key, this);
            shortcut->setContext(Qt::WidgetWithChildrenShortcut);
            connect(shortcut, &QShortcut::activated, this, slot);
        }
    };
    addKeys({Qt::Key_PageUp, Qt::Key_Left}, &SheetTextbook::clickPrev);
    addKeys({Qt::Key_PageDown, Qt::Key_Right}, &SheetTextbook::clickNext);
    addKeys({Qt::Key_Home}, [this] { m_slider->setValue(m_slider->minimum()); });
    addKeys({Qt::Key_End}, [this] { m_slider->setValue(m_slider->maximum()); });
}

// The movie's web surface keeps every wheel event for the page it shows, which has nothing
// to scroll; over the book the wheel turns pages instead. The surface is made (and may be made
// again) by the web engine at will, so whatever appears inside the page view is watched too.
void SheetTextbook::catchWheelOver(QWidget *widget)
{
    widget->installEventFilter(this);
    for (QWidget *child : widget->findChildren<QWidget *>())
        child->installEventFilter(this);
}

bool SheetTextbook::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ChildAdded) {
        if (auto *child = qobject_cast<QWidget *>(static_cast<QChildEvent *>(event)->child()))
            catchWheelOver(child);
    } else if (event->type() == QEvent::Wheel) {
        m_slider->turnByWheel(static_cast<QWheelEvent *>(event)->angleDelta());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// The side buttons and the free space around the page pass the wheel on to here.
void SheetTextbook::wheelEvent(QWheelEvent *event)
{
    m_slider->turnByWheel(event->angleDelta());
    event->accept();
}

void SheetTextbook::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Shown under the contents while its page draws: the contents keep the keys.
    const auto *stack = qobject_cast<QStackedWidget *>(parentWidget());
    if (stack && stack->currentWidget() != this)
        return;
    // Back on the textbook (the contents or a material closed): the page keys work at once.
    if (!isAncestorOf(QApplication::focusWidget()))
        setFocus();
}

QString SheetTextbook::lastPageFile()
{
    return pupilDir.filePath(QStringLiteral("textbook.page"));
}

void SheetTextbook::openAtLastPage()
{
    QFile file(lastPageFile());
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QString name = QString::fromUtf8(file.read(256)).trimmed();
    const QStringList &pages = pageList();
    for (int i = 0; i < pages.size(); ++i) {
        if (!name.isEmpty() && QFileInfo(pages[i]).fileName() == name)
            m_slider->setValue(i);
    }
}

void SheetTextbook::rememberPage()
{
    const QByteArray name = QFileInfo(m_slider->currentPagePath()).fileName().toUtf8() + '\n';
    QString error;
    if (!AtomicFile::write(lastPageFile(), name, &error))
        qWarning().noquote() << "cannot keep the textbook's page in" << lastPageFile() << ':' << error;
}

QPushButton *SheetTextbook::sideButton(const char *objectName, const QString &toolTip, const QSize &size)
{
    auto *button = new QPushButton(this);
    button->setObjectName(QLatin1String(objectName));
    button->setToolTip(toolTip);
    button->setAccessibleName(toolTip);
    button->setFixedSize(size);
    return button;
}

void SheetTextbook::clickPrev()
{
    m_slider->setValue(m_slider->value() - 1);
}

void SheetTextbook::clickNext()
{
    m_slider->setValue(m_slider->value() + 1);
}

void SheetTextbook::pageChanged(QString &pathname)
{
    m_view->loadPage(pathname);
    announceNeighbours();
    m_rememberTimer.start();
}

// The pages a press turns to are ready to show at once.
void SheetTextbook::announceNeighbours()
{
    QStringList neighbours;
    for (const int page : {m_slider->value() + 1, m_slider->value() - 1}) {
        if (page >= 0 && page < pageList().size())
            neighbours.append(pageList().at(page));
    }
    m_view->player()->setNeighbourMovies(neighbours);
}

bool SheetTextbook::materialOfRequest(const QString &request, QString *id)
{
    QDomDocument document;
    if (!document.setContent(request, true))
        return false;
    const QDomElement invoke = document.documentElement();
    if (invoke.tagName() != QLatin1String("invoke"))
        return false;
    *id = invoke.firstChildElement(QStringLiteral("arguments")).firstChildElement(QStringLiteral("string")).text();
    return true;
}

void SheetTextbook::showMaterials(QString request)
{
    qDebug().noquote() << "hitzone request:" << request;
    QString id;
    if (materialOfRequest(request, &id) && mainWindow)
        mainWindow->createWidgetInSheet(id);
}
