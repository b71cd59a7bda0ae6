#include "classresults.h"

#include "markbookmodel.h"
#include "pupillist.h"
#include "treeitem.h"
#include "treemodel.h"


namespace {

void collectMarks(const TreeItem *item, QHash<QString, QString> &marks)
{
    for (const TreeItem *child : item->children()) {
        if (child->type() == TreeItem::ObjectType && child->columnCount() > 3)
            marks.insert(child->data(3).toString(), child->data(1).toString());
        else
            collectMarks(child, marks);
    }
}

} // namespace

void ClassResults::readTests(const TreeItem *item, int chapter)
{
    for (const TreeItem *child : item->children()) {
        if (child->type() == TreeItem::ObjectType) {
            if (child->data(1).toString() == QLatin1String("con"))
                tests.append({child->data(2).toString(), child->data(0).toString(), chapter});
            continue;
        }
        if (item->type() == TreeItem::RootType) {
            chapter = int(chapters.size());
            chapters.append(child->data(0).toString());
        }
        readTests(child, chapter);
    }
}

ClassResults ClassResults::read(const QDir &pupilsFolder, const TreeItem *contentsRoot)
{
    ClassResults results;
    if (contentsRoot)
        results.readTests(contentsRoot, 0);
    for (const QString &name : PupilList::names(pupilsFolder)) {
        const QDir folder(pupilsFolder.filePath(name));
        Pupil pupil{name, {}, {}};
        const TreeModel markbook(folder.filePath(QStringLiteral("markbook.xml")));
        collectMarks(markbook.rootItem(), pupil.marks);
        for (const AttemptLog::Attempt &attempt : AttemptLog::read(folder))
            pupil.attempts[attempt.test].append(attempt);
        results.pupils.append(pupil);
    }
    return results;
}

double ClassResults::value(const QString &mark)
{
    return mark.isEmpty() ? -1 : MarkbookModel::markValue(mark);
}

QString ClassResults::markText(const QString &mark)
{
    const double m = value(mark);
    if (m == -1)
        return QStringLiteral("—");
    return QStringLiteral("%1 %").arg(qRound(qBound(0.0, m, 1.0) * 100));
}
