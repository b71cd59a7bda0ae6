#include "markbookmodel.h"

#include "atomicfile.h"
#include "coursexml.h"
#include "environment.h"
#include "treeitem.h"

#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QLocale>

#include <cmath>

namespace {

const QString kNotTaken = QStringLiteral("-1.0");

bool isTest(const TreeItem *contentsItem)
{
    return contentsItem->type() == TreeItem::ObjectType && contentsItem->data(1).toString() == QLatin1String("con");
}

void collectCourseTests(const TreeItem *contentsItem, QStringList &ids)
{
    for (const TreeItem *child : contentsItem->children()) {
        if (isTest(child))
            ids.append(child->data(2).toString());
        else if (child->type() != TreeItem::ObjectType)
            collectCourseTests(child, ids);
    }
}

} // namespace

MarkbookModel::MarkbookModel(QObject *parent)
    : TreeModel(pupilDir.filePath(QStringLiteral("markbook.xml")), parent)
{
    rootItem()->setItemData({QString(), tr("Результат"), QString()});
}

QVariant MarkbookModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return QVariant();
    const TreeItem *item = itemFromIndex(index);
    switch (role) {
    case Qt::FontRole:
        return QFont(QStringLiteral("Tahoma"), 14, QFont::Normal);
    case Qt::TextAlignmentRole:
        if (index.column() == 2)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        break;
    case Qt::ToolTipRole:
        if (index.column() == 1 && item->type() == TreeItem::ObjectType)
            return toolTip(item->data(1).toString(), attemptsOf(item->data(3).toString()));
        break;
    default:
        break;
    }
    return TreeModel::data(index, role);
}

TreeItem *MarkbookModel::findObject(const QString &id, TreeItem *item) const
{
    if (!item)
        return nullptr;
    if (item->columnCount() > 3 && item->data(3) == QVariant(id))
        return item;
    for (TreeItem *child : item->children()) {
        if (TreeItem *found = findObject(id, child))
            return found;
    }
    return nullptr;
}

bool MarkbookModel::saveTestResult(const QString &id, const QString &mark, const QString &history)
{
    TreeItem *test = id.isEmpty() ? nullptr : findObject(id, rootItem());
    if (!test || test->type() != TreeItem::ObjectType)
        return false;
    test->setData(1, mark);
    test->setData(4, history);
    const AttemptLog::Attempt attempt{AttemptLog::dateText(QDateTime::currentDateTime()), id, mark, history};
    readAttempts();
    m_attempts[id].append(attempt);
    // Views show the new mark at once, not at their next repaint.
    const QModelIndex first = indexFromItem(test, 0);
    emit dataChanged(first, first.siblingAtColumn(columnCount(first.parent()) - 1));
    m_pendingAttempts.append(attempt);
    save();
    return true;
}

bool MarkbookModel::writePendingAttempts()
{
    if (m_pendingAttempts.isEmpty())
        return true;
    QString error;
    if (!AttemptLog::append(pupilFolder(), m_pendingAttempts, &error)) {
        qWarning("Cannot keep %d attempts in %s: %s", int(m_pendingAttempts.size()),
                 qPrintable(QDir::toNativeSeparators(pupilFolder().path())), qPrintable(error));
        return false;
    }
    m_pendingAttempts.clear();
    return true;
}

QDir MarkbookModel::pupilFolder() const
{
    return QFileInfo(fileName()).dir();
}

void MarkbookModel::readAttempts() const
{
    if (m_attemptsRead)
        return;
    m_attemptsRead = true;
    for (const AttemptLog::Attempt &attempt : AttemptLog::read(pupilFolder()))
        m_attempts[attempt.test].append(attempt);
}

const QList<AttemptLog::Attempt> &MarkbookModel::attemptsOf(const QString &id) const
{
    readAttempts();
    static const QList<AttemptLog::Attempt> none;
    const auto found = m_attempts.constFind(id);
    return found == m_attempts.constEnd() ? none : *found;
}

QString MarkbookModel::toolTip(const QString &mark, const QList<AttemptLog::Attempt> &attempts)
{
    if (attempts.isEmpty())
        return toolTip(mark);
    const QString last = QLocale(QLocale::Russian).toString(AttemptLog::dateTime(attempts.last().when), QStringLiteral("d MMMM yyyy, HH:mm"));
    return toolTip(mark) + QLatin1Char('\n') + tr("Попыток: %1, последняя %2").arg(attempts.size()).arg(last);
}

bool MarkbookModel::save()
{
    m_unsaved = !CourseXml::saveMarkbook(rootItem(), fileName());
    const bool attemptsKept = writePendingAttempts();
    if (m_unsaved || !attemptsKept)
        emit saveFailed(fileName());
    return !m_unsaved && attemptsKept;
}

// Otherwise a markbook made before a test joined the course could never record that test,
// and one that could not be read would record nothing at all. Start-up tells the pupil
// itself when the pupil's folder cannot be written, so a failed write here is not told again.
bool MarkbookModel::matchContents(const TreeItem *contentsRoot)
{
    // The model may be older than this sign-in (made for another pupil, in tests): the file
    // is what the pupil's last session left.
    writePendingAttempts(); // the last try for the folder they belong to
    m_pendingAttempts.clear();
    setFileName(pupilDir.filePath(QStringLiteral("markbook.xml")));
    m_attempts.clear();
    m_attemptsRead = false;
    QFile file(fileName());
    const bool existed = file.exists();
    load(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
    file.close();
    bool changed = !existed;
    QString keptAs;
    beginResetModel();
    TestsById tests;
    collectTests(rootItem(), tests);
    if (existed && !knowsAnyTest(contentsRoot, tests)) {
        QString error;
        keptAs = AtomicFile::keepAside(fileName(), QStringLiteral(".bad"), &error);
        if (!keptAs.isEmpty()) {
            while (TreeItem *child = rootItem()->takeChild(0))
                delete child;
            tests.clear();
            changed = true;
        } else {
            // Whatever it holds stays in the tree, and the writer will not overwrite what it
            // cannot read.
            qWarning("Cannot keep the markbook %s aside: %s", qPrintable(QDir::toNativeSeparators(fileName())),
                     qPrintable(error));
        }
    }
    if (addMissingTests(contentsRoot, rootItem(), tests))
        changed = true;
    endResetModel();
    if (!keptAs.isEmpty()) {
        qWarning("The markbook %s could not be used and is kept as %s", qPrintable(QDir::toNativeSeparators(fileName())),
                 qPrintable(QDir::toNativeSeparators(keptAs)));
        emit replaced(keptAs);
    }
    m_unsaved = changed && !CourseXml::saveMarkbook(rootItem(), fileName());
    return !m_unsaved;
}

void MarkbookModel::collectTests(TreeItem *item, TestsById &tests)
{
    for (TreeItem *child : item->children()) {
        if (child->type() == TreeItem::ObjectType)
            tests.insert(child->data(3).toString(), child);
        else
            collectTests(child, tests);
    }
}

// A markbook that knows none of the course's tests is not this course's markbook, or not a
// markbook at all: the reader gives an empty tree for a file it cannot read.
bool MarkbookModel::knowsAnyTest(const TreeItem *contentsRoot, const TestsById &tests)
{
    QStringList courseTests;
    collectCourseTests(contentsRoot, courseTests);
    if (courseTests.isEmpty())
        return true;
    for (const QString &id : courseTests) {
        if (tests.contains(id))
            return true;
    }
    return false;
}

// Each missing test goes right after the test or chapter that comes before it in the
// contents; a test stored anywhere in the markbook is not missing, wherever the course has
// moved it. Chapters are known by their captions, the only thing a markbook keeps of them.
bool MarkbookModel::addMissingTests(const TreeItem *contentsItem, TreeItem *chapter, TestsById &tests)
{
    bool added = false;
    int position = 0;
    for (const TreeItem *child : contentsItem->children()) {
        if (child->type() == TreeItem::ObjectType) {
            if (!isTest(child))
                continue;
            const QString id = child->data(2).toString();
            if (const TreeItem *stored = tests.value(id)) {
                if (stored->parentItem() == chapter)
                    position = stored->row() + 1;
                continue;
            }
            auto *test = new TreeItem({child->data(0).toString(), kNotTaken, QString(), id, QString()},
                                      TreeItem::ObjectType);
            chapter->insertChild(position++, test);
            tests.insert(id, test);
            added = true;
            continue;
        }
        const QString caption = child->data(0).toString();
        TreeItem *sub = chapterNamed(chapter, caption);
        const bool isNew = !sub;
        if (isNew) {
            sub = new TreeItem({caption, QString(), QString()}, TreeItem::ChapterType);
            chapter->insertChild(position, sub);
        }
        if (addMissingTests(child, sub, tests)) {
            added = true;
        } else if (isNew) {
            delete chapter->takeChild(position); // no empty chapters
            continue;
        }
        position = sub->row() + 1;
    }
    return added;
}

TreeItem *MarkbookModel::chapterNamed(const TreeItem *parent, const QString &caption)
{
    for (TreeItem *child : parent->children()) {
        if (child->type() == TreeItem::ChapterType && child->data(0).toString() == caption)
            return child;
    }
    return nullptr;
}

// A mark that is not a number counts as nothing done right; "NaN" and "inf" read as numbers
// but say nothing of what was done either.
double MarkbookModel::markValue(const QString &mark)
{
    bool isNumber = false;
    const double m = mark.toDouble(&isNumber);
    return isNumber && std::isfinite(m) ? m : 0;
}

MarkbookModel::Band MarkbookModel::band(const QString &mark)
{
    const double m = markValue(mark);
    if (m == -1)
        return NotTaken;
    // Contiguous bands: real tests give marks such as 11/17 = 0.647 between the old limits.
    if (m < 0)
        return NoBand;
    if (m < 0.65)
        return NeedsWork;
    if (m < 0.95)
        return Good;
    return Excellent;
}

QString MarkbookModel::bandIcon(Band band)
{
    switch (band) {
    case NotTaken:
        return themed(QStringLiteral("theme/other/gray.png"));
    case NeedsWork:
        return themed(QStringLiteral("theme/other/red.png"));
    case Good:
        return themed(QStringLiteral("theme/other/blue.png"));
    case Excellent:
        return themed(QStringLiteral("theme/other/green.png"));
    case NoBand:
        break;
    }
    return QString();
}

QColor MarkbookModel::bandTint(Band band)
{
    switch (band) {
    case NeedsWork:
        return QColor(252, 151, 153, 60);
    case Good:
        return QColor(140, 255, 252, 60);
    case Excellent:
        return QColor(185, 255, 140, 60);
    case NotTaken:
    case NoBand:
        break;
    }
    return QColor(255, 255, 255, 0);
}

QString MarkbookModel::toolTip(const QString &mark)
{
    const double m = markValue(mark);
    if (m == -1)
        return tr("Не пройдено");
    if (m >= 0 && m < 0.64)
        return tr("Нужно поработать ещё!");
    if (m > 0.65 && m < 0.94)
        return tr("Хорошо!");
    if (m > 0.95)
        return tr("Молодец! Всё правильно!");
    return mark;
}
