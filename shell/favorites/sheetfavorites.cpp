#include "sheetfavorites.h"

#include "environment.h"
#include "favorites.h"
#include "favoritesmodel.h"
#include "favoritesmodelproxy.h"
#include "mytabwidget2.h"
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
    const int search = tabs->addTab(buildSearchPage(), QIcon(QStringLiteral("theme/other/icons/magnifier.png")), tr("Поиск"));
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
    return page;
}

QWidget *SheetFavorites::buildPreviewPane()
{
    auto *pane = new QWidget(this);
    pane->setObjectName(QStringLiteral("widget_object"));
    auto *box = new QVBoxLayout(pane);
    box->setContentsMargins(0, 0, 0, 0);
    auto *caption = new QLabel(pane);
    caption->setObjectName(QStringLiteral("label_caption"));
    caption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    caption->setTextInteractionFlags(Qt::NoTextInteraction);
    // A label's own size ignores the layout inside it: room for the themed title and buttons.
    caption->setMinimumHeight(32);
    auto *row = new QHBoxLayout(caption);
    row->setContentsMargins(0, 0, 0, 0);
    m_title = new QLabel(caption);
    m_title->setObjectName(QStringLiteral("label_hdr"));
    m_title->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_title->setTextInteractionFlags(Qt::NoTextInteraction);
    m_extensiveButton = new QPushButton(caption);
    m_extensiveButton->setObjectName(QStringLiteral("button_extensive"));
    m_extensiveButton->setFixedSize(18, 24);
    m_extensiveButton->setEnabled(false);
    m_extensiveButton->setToolTip(tr("Расширенный режим просмотра"));
    m_extensiveButton->setAccessibleName(m_extensiveButton->toolTip());
    row->addWidget(m_title, 1);
    row->addWidget(m_extensiveButton, 0, Qt::AlignTop);
    row->addSpacing(5);
    connect(m_extensiveButton, &QPushButton::clicked, this, &SheetFavorites::showExtensive);
    m_preview = new ViewerObject(ViewerObject::Preview, pane);
    box->addWidget(caption, 0);
    box->addWidget(m_preview, 1);
    return pane;
}

void SheetFavorites::selectMaterial(QModelIndex index)
{
    if (favoritesModel->data(index, TreeModel::TypeRole).toInt() != TreeItem::ObjectType)
        return;
    m_extensiveButton->setEnabled(true);
    m_currentRow = favoritesModel->data(index, TreeModel::ItemDataRole).toList();
    const QString title = QStringLiteral("  %1").arg(m_currentRow.value(0).toString());
    m_title->setText(m_title->fontMetrics().elidedText(title, Qt::ElideRight, m_title->width()));
    m_preview->loadObject(m_currentRow.value(2).toString());
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
