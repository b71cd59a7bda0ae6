#ifndef SHEETFAVORITES_H
#define SHEETFAVORITES_H

#include <QItemSelection>
#include <QList>
#include <QVariant>
#include <QWidget>

class Favorites;
class PreviewPane;
class QPushButton;
class QTreeView;
class ViewerObject;

// The favorites sheet: the pupil's favorites (and a search over them) beside a preview of
// the favorite chosen, which opens in full from the button above the preview.
class SheetFavorites : public QWidget
{
    Q_OBJECT

public:
    explicit SheetFavorites(QWidget *parent = nullptr);

    Favorites *favorites() const { return m_favorites; }
    QTreeView *searchTree() const { return m_searchTree; }
    ViewerObject *preview() const;

public slots:
    void selectMaterial(QModelIndex index);
    void selectMaterial2(QItemSelection selected, QItemSelection deselected);
    void showExtensive();
    void scrollUpdate();
    void treeViewSearch_resize();

private:
    void openFoldersOfHits();
    QWidget *buildTabs();
    QWidget *buildSearchPage();
    QWidget *buildPreviewPane();

    Favorites *m_favorites = nullptr;
    QTreeView *m_searchTree = nullptr;
    PreviewPane *m_pane = nullptr;
    QList<QVariant> m_currentRow;
};

#endif
