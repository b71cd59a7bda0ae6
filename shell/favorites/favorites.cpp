#include "favorites.h"

#include "environment.h"
#include "favoritesmodel.h"
#include "favoritesmodelproxy.h"
#include "materialexport.h"
#include "pupilsettings.h"
#include "treeitem.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

Favorites::Favorites(QWidget *parent)
    : QWidget(parent)
    , m_tree(new QTreeView(this))
{
    setObjectName(QStringLiteral("favor"));
    const bool first = !favoritesModel;
    ensureFavoritesModel();

    auto *box = new QVBoxLayout(this);
    box->setContentsMargins(0, 3, 0, 0);
    box->setSpacing(4);
    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(4, 4, 4, 0);
    QPushButton *append = toolButton("button_append", tr("Создать папку"));
    m_remove = toolButton("button_remove", tr("Удалить"));
    m_export = toolButton("button_export", tr("Экспорт материала"));
    m_remove->setEnabled(false);
    m_export->setEnabled(false);
    buttons->addWidget(append);
    buttons->addWidget(m_remove);
    buttons->addWidget(m_export);
    buttons->addStretch();
    box->addLayout(buttons);

    m_tree->setModel(favoritesModel);
    m_tree->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_tree->header()->hide();
    m_tree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_tree->setDragEnabled(true);
    m_tree->setAcceptDrops(true);
    m_tree->setDropIndicatorShown(true);
    m_tree->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked);
    box->addWidget(m_tree, 1);
    m_tree->viewport()->installEventFilter(this);

    if (first)
        connect(favoritesModel, &QAbstractItemModel::rowsInserted, this, &Favorites::rowsInserted);
    connect(append, &QPushButton::clicked, this, &Favorites::_append);
    connect(m_remove, &QPushButton::clicked, this, &Favorites::_remove);
    connect(m_export, &QPushButton::clicked, this, &Favorites::_export);
    connect(m_tree->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            qOverload<QItemSelection, QItemSelection>(&Favorites::selectMaterial));
    connect(m_tree, &QTreeView::pressed, this, &Favorites::activated);
    connect(favoritesModel, &FavoritesModel::scrollUpdate, this, &Favorites::scrollUpdate);
    // Once, over the window, after the sheet has come up.
    if (first && !favoritesModel->keptAside().isEmpty())
        QTimer::singleShot(0, this, &Favorites::reportKeptAside);
}

void Favorites::reportKeptAside()
{
    QMessageBox::warning(window(), tr("Избранное"),
                         tr("Файл избранного испорчен и сохранён как %1. Избранное начато заново.")
                             .arg(QFileInfo(favoritesModel->keptAside()).fileName()));
}

Favorites::~Favorites()
{
    favoritesModel->saveNow();
}

QPushButton *Favorites::toolButton(const char *objectName, const QString &toolTip)
{
    auto *button = new QPushButton(this);
    button->setObjectName(QLatin1String(objectName));
    button->setFixedSize(29, 30);
    button->setToolTip(toolTip);
    button->setAccessibleName(toolTip);
    return button;
}

// A press on the blank space below the items chooses the top level: no row stays current
// unmarked for a new folder, a new favorite or the delete and export buttons to act on.
bool Favorites::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_tree->viewport() && event->type() == QEvent::MouseButtonPress
        && !m_tree->indexAt(static_cast<QMouseEvent *>(event)->position().toPoint()).isValid()) {
        m_tree->selectionModel()->clear();
        m_remove->setEnabled(false);
        m_export->setEnabled(false);
    }
    return QWidget::eventFilter(watched, event);
}

QModelIndex Favorites::append(TreeItem *item)
{
    favoritesProxy->setSourceModel(nullptr);
    // The row the pupil sees chosen, not merely the current one: a view makes its first row
    // current, unmarked, when it gets the focus other than by a click.
    QModelIndex target = m_tree->currentIndex();
    if (!m_tree->selectionModel()->isSelected(target))
        target = QModelIndex();
    const QModelIndex current = target;
    if (target.isValid() && favoritesModel->itemFromIndex(target)->type() == TreeItem::ObjectType)
        target = target.parent();
    const QModelIndex added = favoritesModel->appendItem(target, item);
    favoritesProxy->setSourceModel(favoritesModel);
    m_tree->expand(current);
    return added;
}

void Favorites::_append()
{
    append(new TreeItem({tr("Новая папка")}, TreeItem::FolderType));
}

QModelIndex Favorites::addMaterial(const QList<QVariant> &row)
{
    return append(new TreeItem(row, TreeItem::ObjectType));
}

void Favorites::_remove()
{
    QMessageBox box(QMessageBox::Warning, tr("Предупреждение!"), tr("Вы действительно хотите удалить элемент?"),
                    QMessageBox::NoButton, nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    QPushButton *yes = box.addButton(tr("Да"), QMessageBox::ActionRole);
    box.addButton(tr("Нет"), QMessageBox::RejectRole);
    box.exec();
    if (box.clickedButton() != yes)
        return;
    if (m_tree->currentIndex().isValid())
        favoritesModel->removeItem(m_tree->currentIndex());
    else
        emit favoritesModel->scrollUpdate();
}

void Favorites::_export()
{
    const QModelIndex current = m_tree->currentIndex();
    if (!current.isValid() || favoritesModel->itemFromIndex(current)->type() != TreeItem::ObjectType)
        return;
    const TreeItem *item = favoritesModel->itemFromIndex(current);
    const QString type = item->data(1).toString();
    if (!MaterialExport::isExportable(type))
        return;
    // Where the pupil keeps her work, never the program's own folder with its data and theme.
    const QString target = QFileDialog::getExistingDirectory(this, tr("Экспорт материала"),
                                                             PupilSettings::documentsFolder(), QFileDialog::ShowDirsOnly);
    if (target.isEmpty())
        return;
    PupilSettings::rememberDocumentsFolder(target);
    const MaterialExport::Result result = MaterialExport::run(item->data(2).toString(), type, target);
    const QString text = MaterialExport::message(result);
    if (result.outcome == MaterialExport::Done)
        QMessageBox::information(this, tr("Экспорт материала"), text);
    else
        QMessageBox::warning(this, tr("Экспорт материала"), text);
}

void Favorites::rowsInserted(QModelIndex parent, int start, int)
{
    // Selected once the inserting operation has finished; a persistent index, because the
    // tree may change before then.
    const QPersistentModelIndex inserted(favoritesModel->index(start, 0, parent));
    QTimer::singleShot(0, this, [this, inserted] {
        if (inserted.isValid())
            m_tree->selectionModel()->setCurrentIndex(inserted,
                                                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    });
}

void Favorites::selectMaterial(QItemSelection selected, QItemSelection)
{
    if (!selected.isEmpty())
        emit selectMaterial(m_tree->selectionModel()->currentIndex());
}

void Favorites::activated(QModelIndex index)
{
    m_remove->setEnabled(true);
    m_export->setEnabled(index.data(TreeModel::TypeRole).toInt() == TreeItem::ObjectType);
}

void Favorites::scrollUpdate()
{
    m_tree->resizeColumnToContents(0);
}

void Favorites::favorites_resize()
{
    m_tree->resizeColumnToContents(0);
}
