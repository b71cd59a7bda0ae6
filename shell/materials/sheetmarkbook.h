#ifndef SHEETMARKBOOK_H
#define SHEETMARKBOOK_H

#include <QTreeView>

// The markbook: the course's chapters with their tests, each test with a coloured mark. A
// double click on a test opens it.
class SheetMarkbook : public QTreeView
{
    Q_OBJECT

public:
    explicit SheetMarkbook(QWidget *parent = nullptr);
    ~SheetMarkbook() override;

public slots:
    void selectTest(QModelIndex index);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
};

#endif
