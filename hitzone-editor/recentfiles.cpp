#include "recentfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>

namespace {
constexpr int kept = 8;
const char key[] = "recentFiles";

QSettings settings()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("pellora"), QStringLiteral("hitzone-editor"));
}
}

RecentFiles::RecentFiles(QObject *parent)
    : QObject(parent)
{
}

QStringList RecentFiles::files() const
{
    return settings().value(QLatin1String(key)).toStringList();
}

void RecentFiles::add(const QString &path)
{
    QStringList list = files();
    const QString absolute = QFileInfo(path).absoluteFilePath();
    list.removeAll(absolute);
    list.prepend(absolute);
    while (list.size() > kept)
        list.removeLast();
    // QSettings writes through a save file: a crash mid-write leaves the old list whole.
    settings().setValue(QLatin1String(key), list);
}

void RecentFiles::attach(QMenu *menu)
{
    connect(menu, &QMenu::aboutToShow, this, [this, menu] { fill(menu); });
    fill(menu);
}

void RecentFiles::fill(QMenu *menu)
{
    menu->clear();
    const QStringList list = files();
    for (int i = 0; i < list.size(); ++i) {
        const QString path = list[i];
        QAction *action = menu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(path)));
        action->setEnabled(QFileInfo(path).isFile());
        connect(action, &QAction::triggered, this, [this, path] { emit chosen(path); });
    }
    if (list.isEmpty())
        menu->addAction(tr("Нет"))->setEnabled(false);
}
