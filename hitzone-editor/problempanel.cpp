#include "problempanel.h"

#include "hitzonefile.h"
#include "materialmap.h"

#include <QFileInfo>
#include <QRegularExpression>

ProblemPanel::ProblemPanel(QWidget *parent)
    : QListWidget(parent)
{
    setWordWrap(true);
    connect(this, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
        if (const int number = zoneOf(item))
            emit zoneChosen(number);
    });
}

void ProblemPanel::showProblems(const QStringList &errors, const QStringList &warnings, const QString &hitzonePath,
                                const QString &mapPath)
{
    clear();
    for (const QString &error : errors)
        addRow(error, true, hitzonePath, mapPath);
    for (const QString &warning : warnings)
        addRow(warning, false, hitzonePath, mapPath);
}

void ProblemPanel::addRow(const QString &text, bool error, const QString &hitzonePath, const QString &mapPath)
{
    static const QRegularExpression located(QStringLiteral("^(.*):(\\d+): (.*)$"));
    auto *item = new QListWidgetItem(text, this);
    item->setIcon(style()->standardIcon(error ? QStyle::SP_MessageBoxCritical : QStyle::SP_MessageBoxWarning));
    const QRegularExpressionMatch match = located.match(text);
    if (!match.hasMatch())
        return;
    // Most messages name their zone; the others are about a line of the map or the hitzone file,
    // which may hold several zones when it was written by hand.
    static const QRegularExpression named(QStringLiteral("\\bhitzone (\\d+)\\b"));
    const QRegularExpressionMatch zone = named.match(match.captured(3));
    const int number = zone.hasMatch() ? zone.captured(1).toInt()
                                       : zoneAt(match.captured(1), match.captured(2).toInt(), hitzonePath, mapPath);
    item->setData(Qt::UserRole, number);
    if (number > 0)
        item->setToolTip(tr("Зона %1: щёлкните, чтобы выбрать её").arg(number));
}

int ProblemPanel::zoneOf(const QListWidgetItem *item)
{
    return item ? item->data(Qt::UserRole).toInt() : 0;
}

int ProblemPanel::zoneAt(const QString &file, int line, const QString &hitzonePath, const QString &mapPath)
{
    const QString absolute = QFileInfo(file).absoluteFilePath();
    if (absolute == QFileInfo(hitzonePath).absoluteFilePath()) {
        HitzoneFile zones;
        zones.read(hitzonePath);
        for (const QList<HitzoneFile::Zone> &list : {zones.zones(), zones.skippedZones()}) {
            for (const HitzoneFile::Zone &zone : list) {
                if (zone.line == line)
                    return zone.number;
            }
        }
    } else if (absolute == QFileInfo(mapPath).absoluteFilePath()) {
        MaterialMap map;
        map.read(mapPath);
        const QMap<int, MaterialMap::Entry> entries = map.entries();
        for (auto it = entries.cbegin(); it != entries.cend(); ++it) {
            if (it->line == line)
                return it.key();
        }
    }
    return 0;
}
