#include "materialmodel.h"

#include "environment.h"
#include "treeitem.h"

#include <QFont>
#include <QHash>

#include <algorithm>

MaterialModel::MaterialModel(QObject *parent)
    : TreeModel(parent)
{
    rootItem()->setItemData({tr("Materials")});
}

const QStringList &MaterialModel::groupOrder()
{
    static const QStringList order = {QStringLiteral("ani"), QStringLiteral("pra"), QStringLiteral("wrk"),
                                      QStringLiteral("rzv"), QStringLiteral("slv"), QStringLiteral("con"),
                                      QStringLiteral("igr")};
    return order;
}

QString MaterialModel::sortKey(const QString &caption)
{
    // From the first word character on, as the regular expression \w (with Unicode
    // properties: captions are Russian) finds it; a plain scan is many times faster, and a
    // course may hold thousands of materials.
    for (qsizetype i = 0; i < caption.size(); ++i) {
        const QChar c = caption.at(i);
        if (c.isLetterOrNumber() || c.isMark() || c.category() == QChar::Punctuation_Connector)
            return caption.mid(i);
    }
    return caption;
}

static QString searchForm(const QString &text)
{
    // Children type "е" where the book prints "ё".
    QString folded = text.toLower();
    folded.replace(QChar(0x0451), QChar(0x0435));
    return folded;
}

bool MaterialModel::matches(const QString &caption, const QString &text)
{
    return text.isEmpty() || searchForm(caption).contains(searchForm(text));
}

void MaterialModel::build(const QList<QVariant> &rows)
{
    // Each key once, not once per comparison: a course may hold thousands of materials.
    QList<QPair<QString, QVariant>> keyed;
    keyed.reserve(rows.size());
    for (const QVariant &row : rows)
        keyed.append({sortKey(row.toList().value(0).toString()), row});
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    m_rows.clear();
    m_rows.reserve(keyed.size());
    for (const auto &pair : std::as_const(keyed))
        m_rows.append(pair.second);
    rebuild();
}

void MaterialModel::rebuild()
{
    beginResetModel();
    TreeItem *root = rootItem();
    while (root->childCount() > 0)
        delete root->takeChild(root->childCount() - 1);
    QList<QVariant> passing;
    for (const QVariant &row : std::as_const(m_rows)) {
        if (matches(row.toList().value(0).toString(), m_filter))
            passing.append(row);
    }
    if (m_grouped) {
        appendGrouped(passing);
    } else {
        for (const QVariant &row : std::as_const(passing))
            root->appendChild(new TreeItem(row.toList(), MaterialItem));
    }
    endResetModel();
}

bool MaterialModel::lists(const QList<QVariant> &columns) const
{
    // A grouped list has no place for a kind outside the fixed groups.
    return matches(columns.value(0).toString(), m_filter)
           && (!m_grouped || groupOrder().contains(columns.value(1).toString()));
}

int MaterialModel::countListed(const QList<QVariant> &rows) const
{
    return int(std::count_if(rows.cbegin(), rows.cend(), [this](const QVariant &row) { return lists(row.toList()); }));
}

void MaterialModel::appendGrouped(const QList<QVariant> &rows)
{
    QHash<QString, TreeItem *> groups;
    for (const QVariant &row : rows) {
        const QList<QVariant> columns = row.toList();
        const QString key = columns.value(1).toString();
        if (!groupOrder().contains(key))
            continue;
        TreeItem *&group = groups[key];
        if (!group)
            group = new TreeItem(columns, GroupItem);
        group->appendChild(new TreeItem(columns, MaterialItem));
    }
    for (const QString &key : groupOrder()) {
        if (TreeItem *group = groups.value(key))
            rootItem()->appendChild(group);
    }
}

QVariant MaterialModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return QVariant();
    const TreeItem *item = itemFromIndex(index);
    const QString key = item->data(1).toString();
    if (item->type() == GroupItem) {
        switch (role) {
        case Qt::DisplayRole:
        case Qt::ToolTipRole:
            return QStringLiteral("%1 (%2)").arg(groupCaptions.value(key)).arg(item->childCount());
        case Qt::DecorationRole:
            return groupIconsBig.value(key);
        case Qt::FontRole:
            return QFont(QStringLiteral("Tahoma"), 14, QFont::Bold);
        default:
            break;
        }
    } else if (role == Qt::FontRole) {
        return QFont(QStringLiteral("Tahoma"), 14, QFont::Normal);
    } else if (role == Qt::DecorationRole) {
        return m_grouped ? QVariant() : QVariant(groupIconsSmall.value(key));
    }
    return TreeModel::data(index, role);
}

void MaterialModel::groupByType(bool group)
{
    m_grouped = group;
    rebuild();
}

void MaterialModel::update(QString str)
{
    m_filter = str;
    rebuild();
}
