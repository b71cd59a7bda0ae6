#include "descriptiontarget.h"

#include "materialdescription.h"

#include <QByteArray>

namespace {

bool within(int value, int low, int high)
{
    return value >= low && value <= high;
}

QString checkMedium(const MaterialDescription::Medium &m)
{
    using D = MaterialDescription;
    if (!within(m.row, 0, D::MaxCell) || !within(m.column, 0, D::MaxCell))
        return QStringLiteral("a cell outside the grid: %1, %2").arg(m.row).arg(m.column);
    if (!within(m.rowSpan, 1, D::MaxCell) || !within(m.columnSpan, 1, D::MaxCell))
        return QStringLiteral("a span out of range: %1, %2").arg(m.rowSpan).arg(m.columnSpan);
    if (!within(m.rowStretch, 0, D::MaxStretch) || !within(m.columnStretch, 0, D::MaxStretch))
        return QStringLiteral("a stretch out of range: %1, %2").arg(m.rowStretch).arg(m.columnStretch);
    return QString();
}

} // namespace

QString DescriptionTarget::run(const QByteArray &input)
{
    MaterialDescription first;
    const bool read = first.read(input);
    if (!read && (first.errorLine() < 1 || first.errorMessage().isEmpty()))
        return QStringLiteral("refused without saying where");
    if (!read && (first.isObject() || !first.media().isEmpty()))
        return QStringLiteral("refused, yet describes media");
    for (const MaterialDescription::Medium &medium : first.media()) {
        const QString problem = checkMedium(medium);
        if (!problem.isEmpty())
            return problem;
    }
    MaterialDescription second;
    if (second.read(input) != read || second.isObject() != first.isObject()
        || second.media().size() != first.media().size())
        return QStringLiteral("the same bytes read differently");
    return QString();
}
