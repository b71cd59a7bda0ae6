#ifndef VIEWERCONTENT_H
#define VIEWERCONTENT_H

#include "windowhard.h"

#include <QModelIndex>

class QTreeView;

// The table of contents: the course picture beside the list of chapters; a double click on a
// chapter turns the textbook to the chapter's first double page.
class ViewerContent : public WindowHard
{
    Q_OBJECT

public:
    explicit ViewerContent(QWidget *parent = nullptr);

    QTreeView *treeView() const { return m_tree; }

signals:
    void jumpPage(int page);

public slots:
    void clicked(const QModelIndex &index);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QTreeView *m_tree;
};

#endif
