#ifndef FAVORITES_H
#define FAVORITES_H

#include <QItemSelection>
#include <QWidget>

class QPushButton;
class QTreeView;

// The favorites tree with its buttons: new folder, delete, export. Renaming is a double
// click, moving is dragging. Several can be open; they all show the one collection.
class Favorites : public QWidget
{
    Q_OBJECT

public:
    explicit Favorites(QWidget *parent = nullptr);
    ~Favorites() override;

    // Adds a favorite (caption, type, id, path, favorites name) to the folder now current
    // (the top level when nothing is); gives where it went.
    QModelIndex addMaterial(const QList<QVariant> &row);
    QTreeView *tree() const { return m_tree; }

signals:
    void selectMaterial(QModelIndex index);

public slots:
    void rowsInserted(QModelIndex parent, int start, int end);
    void _append();
    void _remove();
    void _export();
    void selectMaterial(QItemSelection selected, QItemSelection deselected);
    void activated(QModelIndex index);
    void scrollUpdate();
    void favorites_resize();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void reportKeptAside();
    QPushButton *toolButton(const char *objectName, const QString &toolTip);
    QModelIndex append(class TreeItem *item);

    QTreeView *m_tree;
    QPushButton *m_remove;
    QPushButton *m_export;
};

#endif
