#ifndef SHEETCATALOGUE_H
#define SHEETCATALOGUE_H

#include <QItemSelection>
#include <QList>
#include <QVariant>
#include <QWidget>

class MaterialModel;
class MyTabWidget;
class PreviewPane;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSplitter;
class QTreeView;
class ViewerObject;

// The catalogue: the contents with a check box on every chapter, the materials of the checked
// chapters (grouped by kind or as one list, and a search over them), and a preview of the
// material chosen, which opens in full with a double click or the button above the preview.
// The lists are as wide as their captions need, up to half the sheet, until the pupil drags
// the panes to widths of her own; those are kept for her next session.
class SheetCatalogue : public QWidget
{
    Q_OBJECT

public:
    explicit SheetCatalogue(QWidget *parent = nullptr);

    MaterialModel *materialsModel() const { return m_materials; }
    MaterialModel *searchModel() const { return m_search; }
    QTreeView *contentView() const { return m_contentView; }
    QTreeView *materialsView() const { return m_materialsView; }
    QTreeView *searchView() const { return m_searchView; }
    ViewerObject *preview() const;

public slots:
    void updateContent(QModelIndex index);
    void selectMaterial(QItemSelection selected, QItemSelection deselected);
    void selectMaterial(QModelIndex index);
    void checkAll(bool check);
    void showFavorites();
    void showExtensive();
    void mat1_resize();
    void mat2_resize();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QWidget *buildContentPane();
    QWidget *buildSearchHint(QWidget *parent);
    QWidget *buildMaterialPanes();
    QWidget *buildMaterialTab(QTreeView *view, MaterialModel *model, QLineEdit *search);
    QWidget *buildPreviewPane();
    QTreeView *materialView(MaterialModel *model);
    void rebuildLists();
    void updateSearchHint();
    void fitPanes();
    int neededWidth(QTreeView *view, QWidget *pane) const;
    void restorePaneSizes();
    void rememberPaneSizes();

    MaterialModel *m_materials;
    MaterialModel *m_search;
    QTreeView *m_contentView = nullptr;
    QTreeView *m_materialsView = nullptr;
    QTreeView *m_searchView = nullptr;
    QCheckBox *m_checkAll = nullptr;
    QSplitter *m_splitter = nullptr;
    QWidget *m_searchHint = nullptr;
    QLabel *m_searchHintText = nullptr;
    MyTabWidget *m_tabs = nullptr;
    PreviewPane *m_pane = nullptr;
    QList<QVariant> m_currentRow;
    // Every material row of the course, whichever chapters are checked.
    QList<QVariant> m_courseRows;
    // What the captions of the two lists need, measured once with the whole course listed.
    int m_contentNeed = -1;
    int m_materialsNeed = -1;
    // The list widths the pupil dragged the panes to, empty until she does.
    QList<int> m_pupilWidths;
};

#endif
