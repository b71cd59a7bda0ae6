#ifndef MARKBOOKMODEL_H
#define MARKBOOKMODEL_H

#include "treemodel.h"

#include <QColor>

// The pupil's test results, read from markbook.xml in the pupil's folder. A test row is
// caption, mark, (empty), material id, history; the mark is the share of the test done
// right, "-1.0" while the test has not been taken. One model serves the whole process.
class MarkbookModel : public TreeModel
{
    Q_OBJECT

public:
    enum Band { NotTaken, NeedsWork, Good, Excellent, NoBand };

    explicit MarkbookModel(QObject *parent = nullptr);

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    // Tests are found by their material id (column 3), depth first.
    TreeItem *findObject(const QString &id, TreeItem *item) const override;

    // Stores a test's result and writes the file at once: a result a child earned must
    // survive a crash. False when the material is not a test of this markbook.
    bool saveTestResult(const QString &id, const QString &mark, const QString &history);
    // Writes the whole markbook back to the file it was read from.
    bool save() const;

    static Band band(const QString &mark);
    static QString bandIcon(Band band);
    static QColor bandTint(Band band);
    static QString toolTip(const QString &mark);
};

#endif
