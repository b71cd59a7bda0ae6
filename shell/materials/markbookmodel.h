#ifndef MARKBOOKMODEL_H
#define MARKBOOKMODEL_H

#include "attemptlog.h"
#include "treemodel.h"

#include <QColor>
#include <QHash>

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

    // Reads the signed-in pupil's markbook afresh and brings it in line with the course, so
    // that every test of the contents can be recorded: a missing file is made from the contents; one that could not
    // be read, or that knows none of the course's tests, is kept aside (replaced() tells
    // where) and made anew; a test the markbook lacks is added under its chapters, in
    // contents order. Stored marks, histories and tests the course no longer has stay. The
    // file is written only when something changed; false when that write failed.
    bool matchContents(const TreeItem *contentsRoot);

    // Stores a test's result and writes the file at once: a result a child earned must
    // survive a crash. The result is also kept as one more attempt in the pupil's attempt
    // log, so a retake loses nothing. False when the material is not a test of this
    // markbook; a failed write keeps the result here for the next one.
    bool saveTestResult(const QString &id, const QString &mark, const QString &history);
    // Writes the whole markbook back to the file it was read from; saveFailed() on failure.
    bool save();
    bool hasUnsavedChanges() const { return m_unsaved || !m_pendingAttempts.isEmpty(); }

    // The mark as the bands read it: -1 not taken, 0 for anything that is no finite number.
    static double markValue(const QString &mark);
    static Band band(const QString &mark);
    static QString bandIcon(Band band);
    static QColor bandTint(Band band);
    static QString toolTip(const QString &mark);
    // The band's text, then how many times the test was taken and when last.
    static QString toolTip(const QString &mark, const QList<AttemptLog::Attempt> &attempts);

signals:
    void saveFailed(const QString &fileName);
    // The file the pupil had is kept under this name; the markbook was made anew.
    void replaced(const QString &keptAs);

private:
    using TestsById = QHash<QString, TreeItem *>;
    static void collectTests(TreeItem *item, TestsById &tests);
    static bool knowsAnyTest(const TreeItem *contentsItem, const TestsById &tests);
    static bool addMissingTests(const TreeItem *contentsItem, TreeItem *chapter, TestsById &tests);
    static TreeItem *chapterNamed(const TreeItem *parent, const QString &caption);

    void readAttempts() const;
    const QList<AttemptLog::Attempt> &attemptsOf(const QString &id) const;
    QDir pupilFolder() const;

    bool writePendingAttempts();

    bool m_unsaved = false;
    QList<AttemptLog::Attempt> m_pendingAttempts; // not in the attempt log yet: its write failed
    // The attempt log, read when a tool tip first needs it.
    mutable QHash<QString, QList<AttemptLog::Attempt>> m_attempts;
    mutable bool m_attemptsRead = false;
};

#endif
