#include "sheetcatalogue.h"

#include "contentchecks.h"
#include "contentmodel.h"
#include "contentmodelproxy.h"
#include "environment.h"
#include "materialmodel.h"
#include "mytabwidget.h"
#include "previewpane.h"
#include "pupilsettings.h"
#include "treeitem.h"
#include "viewerobject.h"
#include "windowfavorites.h"
#include "windowmain.h"

#include <QCheckBox>
#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>
#include <tuple>

namespace {

const QString paneSizesKey = QStringLiteral("catalogue/panes");
// The widths the sheet starts from; the lists never get less than these from the sheet itself.
constexpr int kLeastList = 250;
constexpr int kLeastPreview = 200;
constexpr int kLeastHandle = 6;

// The rows the catalogue lists when every chapter is checked, in the same order.
void collectAll(const TreeItem *item, QList<QVariant> &rows)
{
    const bool holdsMaterials = item->type() & TreeItem::ObjectType;
    for (const TreeItem *child : item->children()) {
        if (child->childCount() > 0)
            collectAll(child, rows);
        if (holdsMaterials)
            rows.append(QVariant(child->itemData()));
    }
}

// The two lists' widths: what their captions need, at least the starting widths, and together
// no more than the room given. When both do not fit, the material list comes first: it is
// where a child picks what to open, and its captions are the ones that tell materials apart.
QPair<int, int> shareLists(int room, int contentNeed, int materialsNeed)
{
    room = std::max(room, 2 * kLeastList);
    const int materials = std::clamp(materialsNeed, kLeastList, room - kLeastList);
    const int content = std::clamp(contentNeed, kLeastList, room - materials);
    return {content, materials};
}

} // namespace

SheetCatalogue::SheetCatalogue(QWidget *parent)
    : QWidget(parent)
    , m_materials(new MaterialModel(this))
    , m_search(new MaterialModel(this))
{
    ensureContentModel();
    auto *box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_splitter->setObjectName(QStringLiteral("splitter_catalogue"));
    m_splitter->setOpaqueResize(false);
    // The theme gives the handle its width; a theme without a rule for it still gets one a
    // child can take hold of.
    m_splitter->setHandleWidth(std::max(kLeastHandle, m_splitter->handleWidth()));
    m_splitter->addWidget(buildContentPane());
    m_splitter->addWidget(buildMaterialPanes());
    m_splitter->addWidget(buildPreviewPane());
    m_splitter->setSizes({kLeastList, kLeastList, kLeastPreview});
    m_splitter->setStretchFactor(2, 10);
    box->addWidget(m_splitter);
    restorePaneSizes();
    // While a handle is held the widths only follow the drag; the pupil's file is written once
    // it is let go (a last move may come with the release itself).
    connect(m_splitter, &QSplitter::splitterMoved, this, [this] {
        m_pupilWidths = m_splitter->sizes().mid(0, 2);
        if (QGuiApplication::mouseButtons() == Qt::NoButton)
            rememberPaneSizes();
    });
    for (int i = 1; i < m_splitter->count(); ++i)
        m_splitter->handle(i)->installEventFilter(this);

    collectAll(contentModel->rootItem(), m_courseRows);
    connect(m_search, &QAbstractItemModel::modelReset, this, &SheetCatalogue::updateSearchHint);
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
        box->addWidget(buildSearchHint(frame));
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

QWidget *SheetCatalogue::buildSearchHint(QWidget *parent)
{
    // The search looks only in the checked chapters; a child who finds nothing there is told
    // that other chapters hold matches, and can check them all with one press.
    m_searchHint = new QWidget(parent);
    m_searchHint->setObjectName(QStringLiteral("widget_search_hint"));
    auto *box = new QVBoxLayout(m_searchHint);
    box->setContentsMargins(10, 6, 10, 0);
    m_searchHintText = new QLabel(m_searchHint);
    m_searchHintText->setObjectName(QStringLiteral("label_search_hint"));
    m_searchHintText->setWordWrap(true);
    auto *checkEverything = new QPushButton(tr("Отметить все главы"), m_searchHint);
    checkEverything->setObjectName(QStringLiteral("button_check_all_chapters"));
    checkEverything->setMinimumHeight(32);
    box->addWidget(m_searchHintText);
    box->addWidget(checkEverything, 0, Qt::AlignLeft);
    m_searchHint->hide();
    connect(checkEverything, &QPushButton::clicked, this, [this] {
        m_checkAll->setChecked(true);
        checkAll(true);
    });
    return m_searchHint;
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

void SheetCatalogue::updateSearchHint()
{
    const int elsewhere = m_search->rowCount() == 0 ? m_search->countListed(m_courseRows) : 0;
    m_searchHintText->setText(tr("В отмеченных главах ничего не найдено; в других главах: %1").arg(elsewhere));
    m_searchHint->setVisible(elsewhere > 0);
}

void SheetCatalogue::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    fitPanes();
}

void SheetCatalogue::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (isVisible())
        fitPanes();
}

int SheetCatalogue::neededWidth(QTreeView *view, QWidget *pane) const
{
    // The widest row, and all the pane puts around the list: frames, margins and a scroll bar,
    // counted even while the list is short enough to do without one.
    QScrollBar *bar = view->verticalScrollBar();
    const int around = pane->width() - view->viewport()->width() + (bar->isVisible() ? 0 : bar->sizeHint().width());
    const QAbstractItemView *rows = view; // QTreeView hides the measure it overrides
    return rows->sizeHintForColumn(0) + around;
}

void SheetCatalogue::fitPanes()
{
    // The sheet is shown and resized before it has its final width: the widths are set again
    // each time, the preview taking what the lists leave.
    const int width = this->width(); // the splitter may not have followed a resize yet
    const int handles = 2 * m_splitter->handleWidth();
    int content = 0;
    int materials = 0;
    if (m_pupilWidths.size() == 2) {
        content = m_pupilWidths[0];
        materials = m_pupilWidths[1];
    } else {
        // Measured once, while the whole course is listed, so that the panes do not jump as
        // chapters are checked.
        if (m_contentNeed < 0) {
            m_contentNeed = neededWidth(m_contentView, m_contentView->parentWidget());
            m_materialsNeed = neededWidth(m_materialsView, m_tabs);
        }
        // Up to half the window: the sheet itself is narrower, kept to the book's proportions.
        const int room = std::min(window()->width() / 2, width - handles - kLeastPreview);
        std::tie(content, materials) = shareLists(room, m_contentNeed, m_materialsNeed);
    }
    const int preview = std::max(kLeastPreview, width - handles - content - materials);
    m_splitter->setSizes({content, materials, preview});
}

void SheetCatalogue::restorePaneSizes()
{
    // The file is the pupil's own and may have been edited: anything but three sensible widths
    // is ignored.
    const QVariantList kept = PupilSettings::value(paneSizesKey).toList();
    if (kept.size() != 3)
        return;
    QList<int> sizes;
    for (const QVariant &value : kept) {
        bool ok = false;
        const int size = value.toInt(&ok);
        if (!ok || size < 0 || size > 100000)
            return;
        sizes << size;
    }
    m_pupilWidths = sizes.mid(0, 2);
}

bool SheetCatalogue::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease)
        rememberPaneSizes();
    return QWidget::eventFilter(watched, event);
}

void SheetCatalogue::rememberPaneSizes()
{
    const QList<int> sizes = m_splitter->sizes();
    m_pupilWidths = sizes.mid(0, 2);
    QVariantList kept;
    for (int size : sizes)
        kept << size;
    PupilSettings::setValue(paneSizesKey, kept);
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
