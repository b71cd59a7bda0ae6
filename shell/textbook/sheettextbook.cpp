#include "sheettextbook.h"

#include "environment.h"
#include "shellslider.h"
#include "viewerpage.h"
#include "windowmain.h"

#include <QDebug>
#include <QDomDocument>
#include <QGridLayout>
#include <QPushButton>

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
    connect(m_slider, &ShellSlider::pageChanged, this, &SheetTextbook::pageChanged);

    m_view->loadPage(m_slider->currentPagePath());
}

QPushButton *SheetTextbook::sideButton(const char *objectName, const QString &toolTip, const QSize &size)
{
    auto *button = new QPushButton(this);
    button->setObjectName(QLatin1String(objectName));
    button->setToolTip(toolTip);
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
