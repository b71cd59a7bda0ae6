#include "sheetcatalogue.h"

#include "contentchecks.h"
#include "contentmodel.h"
#include "contentmodelproxy.h"
#include "environment.h"
#include "materialmodel.h"
#include "mytabwidget.h"
#include "previewpane.h"
#include "treeitem.h"
#include "viewerobject.h"
#include "windowfavorites.h"
#include "windowmain.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTreeView>
#include <QVBoxLayout>

SheetCatalogue::SheetCatalogue(QWidget *parent)
    : QWidget(parent)
    , m_materials(new MaterialModel(this))
    , m_search(new MaterialModel(this))
{
    ensureContentModel();
    auto *box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    auto *splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setOpaqueResize(false);
    splitter->setHandleWidth(2);
    splitter->addWidget(buildContentPane());
    splitter->addWidget(buildMaterialPanes());
    splitter->addWidget(buildPreviewPane());
    splitter->setSizes({250, 250, 200});
    splitter->setStretchFactor(2, 10);
    box->addWidget(splitter);

    m_checkAll->setChecked(true);
    checkAll(true);
}

QWidget *SheetCatalogue::buildContentPane()
{
    auto *frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("frame_content"));
    auto *box = new QVBoxLayout(frame);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    auto *header = new QLabel(tr("    Оглавление"), frame);
    header->setObjectName(QStringLiteral("label_header"));
    m_checkAll = new QCheckBox(tr("Выделить все"), frame);
    m_checkAll->setObjectName(QStringLiteral("checkbox_checkall"));
    m_contentView = new QTreeView(frame);
    m_contentView->setMinimumWidth(215);
    m_contentView->header()->hide();
    m_contentView->setModel(contentProxy);
    m_contentView->expandAll();
    box->addWidget(header);
    box->addWidget(m_checkAll);
    box->addWidget(m_contentView);
    connect(m_checkAll, &QCheckBox::clicked, this, &SheetCatalogue::checkAll);
    connect(m_contentView, &QTreeView::pressed, this, &SheetCatalogue::updateContent);
    return frame;
}

QTreeView *SheetCatalogue::materialView(MaterialModel *model)
{
    auto *view = new QTreeView(this);
    view->header()->hide();
    view->setRootIsDecorated(false);
    view->setIconSize(QSize(42, 43));
    view->setModel(model);
    // Every material shows: a group header hides nothing (the tree has no branch marks to open
    // it). Expanding the headers one by one leaves the layout to the next paint, where
    // expandAll() would lay out thousands of rows at once.
    connect(model, &QAbstractItemModel::modelReset, view, [view, model] {
        for (int row = 0; row < model->rowCount(); ++row)
            view->expand(model->index(row, 0));
    });
    connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            qOverload<QItemSelection, QItemSelection>(&SheetCatalogue::selectMaterial));
    connect(view, &QTreeView::doubleClicked, this, qOverload<QModelIndex>(&SheetCatalogue::selectMaterial),
            Qt::QueuedConnection);
    return view;
}

QWidget *SheetCatalogue::buildMaterialTab(QTreeView *view, MaterialModel *model, QLineEdit *search)
{
    auto *frame = new QFrame;
    frame->setObjectName(QStringLiteral("frame_material"));
    auto *box = new QVBoxLayout(frame);
    box->setContentsMargins(0, 0, 0, 0);
    if (search) {
        auto *row = new QHBoxLayout;
        row->setContentsMargins(10, 10, 10, 0);
        row->addWidget(new QLabel(tr("Найти"), frame));
        row->addWidget(search);
        box->addLayout(row);
    }
    auto *group = new QCheckBox(tr("Группировать по типу"), frame);
    group->setObjectName(QStringLiteral("checkbox_group"));
    group->setChecked(true);
    box->addWidget(group);
    box->addWidget(view);
    connect(group, &QCheckBox::clicked, model, &MaterialModel::groupByType);
    connect(group, &QCheckBox::clicked, view, &QTreeView::reset);
    return frame;
}

QWidget *SheetCatalogue::buildMaterialPanes()
{
    m_tabs = new MyTabWidget(this);
    auto *strip = new QLabel(m_tabs);
    strip->setObjectName(QStringLiteral("widget_corner"));
    m_tabs->setCornerStrip(strip);
    m_tabs->tabBar()->setMinimumHeight(30);
    m_tabs->setMinimumWidth(215);

    m_materialsView = materialView(m_materials);
    m_searchView = materialView(m_search);
    auto *search = new QLineEdit;
    search->setObjectName(QStringLiteral("lineedit_search"));
    connect(search, &QLineEdit::textChanged, m_search, &MaterialModel::update);

    const int materials = m_tabs->addTab(buildMaterialTab(m_materialsView, m_materials, nullptr), tr("Материалы"));
    m_tabs->setTabToolTip(materials, tr("Материалы"));
    const int searching = m_tabs->addTab(buildMaterialTab(m_searchView, m_search, search),
                                         QIcon(themed(QStringLiteral("theme/other/icons/magnifier.png"))), tr("Поиск"));
    m_tabs->setTabToolTip(searching, tr("Поиск"));
    return m_tabs;
}

QWidget *SheetCatalogue::buildPreviewPane()
{
    m_pane = new PreviewPane(this);
    connect(m_pane->addButton("button_favorites", tr("Добавить в избранное")), &QPushButton::clicked, this,
            &SheetCatalogue::showFavorites);
    connect(m_pane->addButton("button_extensive", tr("Расширенный режим просмотра")), &QPushButton::clicked, this,
            &SheetCatalogue::showExtensive);
    return m_pane;
}

ViewerObject *SheetCatalogue::preview() const
{
    return m_pane->viewer();
}

void SheetCatalogue::updateContent(QModelIndex index)
{
    const QModelIndex source = contentProxy->mapToSource(index);
    TreeItem *item = contentModel->itemFromIndex(source);
    ContentChecks::toggle(item);
    if (source.isValid())
        emit contentModel->dataChanged(source, source);
    rebuildLists();
    m_checkAll->setChecked(ContentChecks::allTopLevelChecked(contentModel->rootItem()));
    m_contentView->viewport()->update();
}

void SheetCatalogue::checkAll(bool check)
{
    TreeItem *root = contentModel->rootItem();
    ContentChecks::setState(root, check ? Qt::Unchecked : Qt::Checked);
    ContentChecks::toggle(root);
    rebuildLists();
    m_contentView->viewport()->update();
}

void SheetCatalogue::rebuildLists()
{
    QList<QVariant> rows;
    ContentChecks::recomputeAndCollect(contentModel->rootItem(), rows);
    m_materials->build(rows);
    m_search->build(rows);
}

void SheetCatalogue::selectMaterial(QItemSelection selected, QItemSelection)
{
    if (selected.isEmpty())
        return;
    QTreeView *view = nullptr;
    if (sender() == m_materialsView->selectionModel())
        view = m_materialsView;
    else if (sender() == m_searchView->selectionModel())
        view = m_searchView;
    if (!view)
        return;
    const QModelIndex current = view->currentIndex();
    if (current.data(TreeModel::TypeRole).toInt() != MaterialModel::MaterialItem)
        return;
    m_currentRow = current.data(TreeModel::ItemDataRole).toList();
    m_pane->showMaterial(m_currentRow.value(0).toString(), m_currentRow.value(2).toString());
}

void SheetCatalogue::selectMaterial(QModelIndex index)
{
    if (index.data(TreeModel::TypeRole).toInt() == MaterialModel::MaterialItem)
        showExtensive();
}

void SheetCatalogue::showFavorites()
{
    if (!m_currentRow.isEmpty())
        WindowFavorites::addToFavorites(m_currentRow.value(2).toString(), this);
}

void SheetCatalogue::showExtensive()
{
    if (!m_currentRow.isEmpty() && mainWindow)
        mainWindow->createWidgetInSheet(m_currentRow.value(2).toString());
}

void SheetCatalogue::mat1_resize()
{
    m_materialsView->resizeColumnToContents(0);
}

void SheetCatalogue::mat2_resize()
{
    m_searchView->resizeColumnToContents(0);
}
