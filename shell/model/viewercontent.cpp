#include "viewercontent.h"

#include "contentmodel.h"
#include "environment.h"
#include "treeitem.h"
#include "viewerimage.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTreeView>

ViewerContent::ViewerContent(QWidget *parent)
    : WindowHard(0, parent)
    , m_tree(new QTreeView(this))
{
    ensureContentModel();
    auto *box = new QHBoxLayout;
    box->setContentsMargins(2, 2, 2, 2);
    box->setSpacing(0);
    box->addSpacing(20);
    auto *picture = new ViewerImage(this);
    picture->setImage(QDir::current().absoluteFilePath(QStringLiteral("data/content.jpg")));
    box->addWidget(picture, 1);
    box->addSpacing(20);
    box->addWidget(m_tree, 1);

    m_tree->setModel(contentModel);
    m_tree->header()->setStretchLastSection(true);
    m_tree->header()->hide();
    m_tree->expandAll();
    m_tree->setColumnHidden(1, true);
    connect(m_tree, &QTreeView::doubleClicked, this, &ViewerContent::clicked);
    m_tree->installEventFilter(this);
    m_tree->setCurrentIndex(contentModel->index(0, 0));

    setContentLayout(box);
    setCaptionText(tr("ОГЛАВЛЕНИЕ"));
    adjustSize();
}

void ViewerContent::clicked(const QModelIndex &index)
{
    const TreeItem *item = contentModel->itemFromIndex(index);
    emit jumpPage(item->data(2).toString().toInt());
    close();
}

bool ViewerContent::eventFilter(QObject *watched, QEvent *event)
{
    // Return on a chapter opens it, as a double click does.
    if (watched == m_tree && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && m_tree->currentIndex().isValid()) {
            clicked(m_tree->currentIndex());
            return true;
        }
    }
    return WindowHard::eventFilter(watched, event);
}

void ViewerContent::showEvent(QShowEvent *event)
{
    WindowHard::showEvent(event);
    m_tree->setFocus(); // the arrows and Return work at once
}

void ViewerContent::resizeEvent(QResizeEvent *event)
{
    m_tree->header()->resizeSection(0, m_tree->width() - 78);
    m_tree->header()->resizeSection(1, 40);
    WindowHard::resizeEvent(event);
}
