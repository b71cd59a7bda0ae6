#include "sheetfavorites.h"

#include "environment.h"
#include "favorites.h"
#include "favoritesmodel.h"
#include "favoritesmodelproxy.h"
#include "mytabwidget2.h"
#include "previewpane.h"
#include "treeitem.h"
#include "viewerobject.h"
#include "windowmain.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTreeView>
#include <QVBoxLayout>

SheetFavorites::SheetFavorites(QWidget *parent)
    : QWidget(parent)
{
    auto *box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    auto *splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setOpaqueResize(false);
    splitter->setHandleWidth(2);
    splitter->addWidget(buildTabs());
    splitter->addWidget(buildPreviewPane());
    splitter->setStretchFactor(1, 1);
    box->addWidget(splitter);

    connect(m_favorites, qOverload<QModelIndex>(&Favorites::selectMaterial), this, &SheetFavorites::selectMaterial);
    connect(m_searchTree->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &SheetFavorites::selectMaterial2);
    connect(favoritesModel, &FavoritesModel::scrollUpdate, this, &SheetFavorites::scrollUpdate);
}

QWidget *SheetFavorites::buildTabs()
{
    auto *tabs = new MyTabWidget2(this);
    auto *strip = new QLabel(tabs);
    strip->setObjectName(QStringLiteral("widget_corner"));
    tabs->setCornerStrip(strip);
    tabs->tabBar()->setMinimumHeight(30);
    m_favorites = new Favorites;
    const int own = tabs->addTab(m_favorites, tr("Избранное"));
    tabs->setTabToolTip(own, tr("Избранное"));
    const int search = tabs->addTab(buildSearchPage(), QIcon(themed(QStringLiteral("theme/other/icons/magnifier.png"))), tr("Поиск"));
    tabs->setTabToolTip(search, tr("Поиск"));
    return tabs;
}

QWidget *SheetFavorites::buildSearchPage()
{
    auto *page = new QWidget;
    auto *box = new QVBoxLayout(page);
    box->setContentsMargins(0, 3, 0, 0);
    box->setSpacing(4);
    auto *row = new QHBoxLayout;
    row->setContentsMargins(10, 7, 10, 6);
    auto *search = new QLineEdit(page);
    search->setObjectName(QStringLiteral("lineedit_search"));
    row->addWidget(new QLabel(tr("Найти"), page));
    row->addWidget(search);
    box->addLayout(row);
    m_searchTree = new QTreeView(page);
    m_searchTree->setModel(favoritesProxy);
    m_searchTree->header()->hide();
    box->addWidget(m_searchTree);
    connect(search, &QLineEdit::textChanged, favoritesModel, &FavoritesModel::update);
    // After the search itself: it decides what the tree shows.
    connect(search, &QLineEdit::textChanged, this, &SheetFavorites::openFoldersOfHits);
    return page;
}

// A hit inside a closed folder is as good as not found for a pupil who does not know which
// folder to open; folders that hold nothing found stay closed.
void SheetFavorites::openFoldersOfHits()
{
    m_searchTree->collapseAll();
    const QModelIndexList hits = favoritesModel->searchHits();
    for (const QModelIndex &hit : hits) {
        for (QModelIndex folder = favoritesProxy->mapFromSource(hit).parent(); folder.isValid();
             folder = folder.parent())
            m_searchTree->expand(folder);
    }
}

QWidget *SheetFavorites::buildPreviewPane()
{
    m_pane = new PreviewPane(this);
    connect(m_pane->addButton("button_extensive", tr("Расширенный режим просмотра")), &QPushButton::clicked, this,
            &SheetFavorites::showExtensive);
    return m_pane;
}

ViewerObject *SheetFavorites::preview() const
{
    return m_pane->viewer();
}

void SheetFavorites::selectMaterial(QModelIndex index)
{
    if (favoritesModel->data(index, TreeModel::TypeRole).toInt() != TreeItem::ObjectType)
        return;
    m_currentRow = favoritesModel->data(index, TreeModel::ItemDataRole).toList();
    m_pane->showMaterial(m_currentRow.value(0).toString(), m_currentRow.value(2).toString());
}

void SheetFavorites::selectMaterial2(QItemSelection selected, QItemSelection)
{
    if (!selected.isEmpty())
        selectMaterial(favoritesProxy->mapToSource(m_searchTree->currentIndex()));
}

void SheetFavorites::showExtensive()
{
    if (!m_currentRow.isEmpty() && mainWindow)
        mainWindow->createWidgetInSheet(m_currentRow.value(2).toString());
}

void SheetFavorites::scrollUpdate()
{
    m_searchTree->resizeColumnToContents(0);
}

void SheetFavorites::treeViewSearch_resize()
{
    m_searchTree->resizeColumnToContents(0);
}
