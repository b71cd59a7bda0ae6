#include "classtablemodel.h"

#include "markbookmodel.h"

#include <QBrush>
#include <QFont>

ClassTableModel::ClassTableModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

void ClassTableModel::setResults(const ClassResults &results)
{
    beginResetModel();
    m_results = results;
    chooseColumns();
    endResetModel();
}

void ClassTableModel::setChapter(int chapter)
{
    beginResetModel();
    m_chapter = chapter;
    chooseColumns();
    endResetModel();
}

void ClassTableModel::chooseColumns()
{
    if (m_chapter >= m_results.chapters.size())
        m_chapter = -1;
    m_columns.clear();
    for (int i = 0; i < m_results.tests.size(); ++i)
        if (m_chapter < 0 || m_results.tests.at(i).chapter == m_chapter)
            m_columns.append(i);
}

int ClassTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_results.pupils.size()) + 1;
}

int ClassTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size()) + 2;
}

const ClassResults::Test *ClassTableModel::test(int column) const
{
    return column >= 1 && column <= m_columns.size() ? &m_results.tests.at(m_columns.at(column - 1)) : nullptr;
}

const ClassResults::Pupil *ClassTableModel::pupil(int row) const
{
    return row >= 0 && row < m_results.pupils.size() ? &m_results.pupils.at(row) : nullptr;
}

QString ClassTableModel::average(const QList<double> &marks)
{
    if (marks.isEmpty())
        return QString();
    double sum = 0;
    for (double m : marks)
        sum += m;
    return QString::number(sum / marks.size(), 'f', 2);
}

QString ClassTableModel::cellMark(int row, int column) const
{
    const ClassResults::Pupil *one = pupil(row);
    if (const ClassResults::Test *shown = test(column)) {
        if (one)
            return one->marks.value(shown->id);
        QList<double> taken; // the class's average of this test
        for (const ClassResults::Pupil &p : m_results.pupils)
            if (const double m = ClassResults::value(p.marks.value(shown->id)); m >= 0)
                taken.append(m);
        return average(taken);
    }
    QList<double> taken; // a pupil's average over the shown tests, or the class's
    for (int c = 1; c <= m_columns.size(); ++c) {
        const QString &id = test(c)->id;
        for (const ClassResults::Pupil &p : m_results.pupils) {
            if (one && &p != one)
                continue;
            if (const double m = ClassResults::value(p.marks.value(id)); m >= 0)
                taken.append(m);
        }
    }
    return average(taken);
}

QString ClassTableModel::attemptsText(const ClassResults::Pupil &pupil, const QString &test) const
{
    const QList<AttemptLog::Attempt> attempts = pupil.attempts.value(test);
    if (attempts.isEmpty())
        return tr("Попыток нет");
    QStringList lines{tr("Попыток: %1").arg(attempts.size())};
    for (const AttemptLog::Attempt &a : attempts)
        lines.append(QStringLiteral("%1 — %2").arg(a.when, ClassResults::markText(a.mark)));
    return lines.join(QLatin1Char('\n'));
}

QVariant ClassTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return QVariant();
    const int row = index.row();
    const int column = index.column();
    if (column == 0) {
        if (role == Qt::DisplayRole || role == SortRole)
            return isSummaryRow(row) ? tr("Среднее по классу") : pupil(row)->name;
        if (role == Qt::FontRole && isSummaryRow(row)) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return role == SummaryRole ? QVariant(isSummaryRow(row)) : QVariant();
    }
    const QString mark = cellMark(row, column);
    switch (role) {
    case Qt::DisplayRole:
        return ClassResults::markText(mark);
    case SortRole:
        return ClassResults::value(mark);
    case SummaryRole:
        return isSummaryRow(row);
    case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter);
    case Qt::BackgroundRole: {
        const QColor tint = MarkbookModel::bandTint(MarkbookModel::band(mark.isEmpty() ? QStringLiteral("-1") : mark));
        // The markbook's tints are laid over white at a quarter strength; a table wants them stronger.
        return tint.alpha() ? QBrush(QColor(tint.red(), tint.green(), tint.blue(), 140)) : QVariant();
    }
    case Qt::ToolTipRole:
        if (const ClassResults::Pupil *one = pupil(row); one && test(column))
            return attemptsText(*one, test(column)->id);
        break;
    default:
        break;
    }
    return QVariant();
}

QVariant ClassTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return QVariant();
    if (section == 0)
        return tr("Ученик");
    if (const ClassResults::Test *shown = test(section))
        return role == Qt::ToolTipRole ? m_results.chapters.value(shown->chapter) + QStringLiteral(": ") + shown->caption
                                       : shown->caption;
    return tr("Среднее");
}
