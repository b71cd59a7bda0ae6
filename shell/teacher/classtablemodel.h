#ifndef CLASSTABLEMODEL_H
#define CLASSTABLEMODEL_H

#include "classresults.h"

#include <QAbstractTableModel>

// The class table: a row per pupil and a last row of class averages; a first column of
// names, a column per test of the chosen chapter (or of all) and a last column of each
// pupil's average. Cells hold the last mark, tinted as the pupil's markbook tints it, and
// list every attempt in their tool tips.
class ClassTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Role {
        SortRole = Qt::UserRole + 1, // the number a column sorts by
        SummaryRole                  // true on the row of averages
    };

    explicit ClassTableModel(QObject *parent = nullptr);

    void setResults(const ClassResults &results);
    const ClassResults &results() const { return m_results; }
    // -1 shows every chapter's tests.
    void setChapter(int chapter);
    int chapter() const { return m_chapter; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    bool isSummaryRow(int row) const { return row == int(m_results.pupils.size()); }
    bool isSummaryColumn(int column) const { return column == int(m_columns.size()) + 1; }
    // The test shown in a column, null for the name and average columns.
    const ClassResults::Test *test(int column) const;
    const ClassResults::Pupil *pupil(int row) const;

private:
    void chooseColumns();
    QString cellMark(int row, int column) const; // the mark, or the average as a mark
    QString attemptsText(const ClassResults::Pupil &pupil, const QString &test) const;
    static QString average(const QList<double> &marks);

    ClassResults m_results;
    QList<int> m_columns; // indexes into m_results.tests
    int m_chapter = -1;
};

#endif
