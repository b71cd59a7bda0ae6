#ifndef CLASSRESULTSPAGE_H
#define CLASSRESULTSPAGE_H

#include <QDir>
#include <QWidget>

class ClassTableModel;
class ClassTableProxy;
class QComboBox;
class QLineEdit;
class QTableView;

// The teacher's view of the class's results: the class table with a chapter filter, sorting
// by any column, every attempt of a cell on a double click, and export as CSV or on paper.
class ClassResultsPage : public QWidget
{
    Q_OBJECT

public:
    explicit ClassResultsPage(const QDir &courseFolder, QWidget *parent = nullptr);

    ClassTableModel *table() const { return m_table; }
    QTableView *view() const { return m_view; }

public slots:
    // Reads the pupils' files again.
    void reload();
    void exportCsv();
    void print();

private:
    void chooseChapter(int index);
    void showAttempts(const QModelIndex &index);
    QString className() const;

    QDir m_courseFolder;
    ClassTableModel *m_table;
    ClassTableProxy *m_sorted;
    QTableView *m_view;
    QComboBox *m_chapter;
    QLineEdit *m_className;
};

#endif
