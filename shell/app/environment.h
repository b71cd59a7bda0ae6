#ifndef ENVIRONMENT_H
#define ENVIRONMENT_H

// The process-wide values every part of the shell reads. They live here and nowhere else.

#include <QDir>
#include <QFile>
#include <QIcon>
#include <QMap>
#include <QString>

class ContentModel;
class QFileSystemWatcher;
class ContentModelProxy;
class FavoritesModel;
class FavoritesModelProxy;
class MarkbookModel;
class WindowMain;

extern QString courseTitle;
extern QString courseCode;
extern QDir pupilDir;
extern QMap<QString, QString> groupCaptions;
extern QMap<QString, QIcon> groupIconsBig;
extern QMap<QString, QIcon> groupIconsSmall;
extern WindowMain *mainWindow;
extern QFile flashSettingsFile;
extern bool firstScreenVisible;
extern int flashSetting2;

// The comment panels' one watcher of the pupil's comment files (made by the first panel,
// never deleted), and how many panels are open on each material id.
extern QFileSystemWatcher *commentsWatcher;
extern QMap<QString, int> commentsOpen;

// The help viewer started last: its process id, 0 when none was started or its start failed.
extern qint64 helpProcessId;

// The course contents and its proxy, shared by every view; made on first need, never deleted.
extern ContentModel *contentModel;
extern ContentModelProxy *contentProxy;
void ensureContentModel();

// The pupil's markbook, shared by the markbook sheet and every material; made on first need
// (after the sign-in: it reads the pupil's file), never deleted. A failed save is told once
// per session, a markbook made anew at sign-in once.
extern MarkbookModel *markbookModel;
void ensureMarkbookModel();

// The pupil's favorites and the search over them, shared by every favorites tree; made on
// first need (after the sign-in), never deleted. A failed save is told once per session.
extern FavoritesModel *favoritesModel;
extern FavoritesModelProxy *favoritesProxy;
void ensureFavoritesModel();

// The textbook's page movies, listed once (from data/textbook under the starting directory).
const QStringList &pageList();

// The group keys in the order of the group table.
const QStringList &groupKeys();

// Fills groupCaptions, groupIconsBig and groupIconsSmall; icon paths are made absolute
// against the current directory, so a later change of directory does not affect them.
void fillGroupTables();

// Where the pupils' folders live: the folder the school names (see courseDataSetting()), so that
// a pupil finds her work at any classroom computer; otherwise a per-user data folder for this course.
QString courseDataPath();

// Where the school named the course data folder: the environment variable PELLORA_COURSE_DATA,
// else the key `courseData` of the system-wide settings "pellora/shell" (on Linux
// /etc/xdg/pellora/shell.conf). Gives the variable's name or the settings file, empty when
// neither names a folder.
QString courseDataSetting();

// A theme file named as the course names it ("theme/…"): under the course's own theme folder
// when it has one, else under the installation's. Decided once the course is entered.
QString themed(const QString &name);
void chooseTheme();

// The help file: the course's own help.chm (relative, as the viewer is started in the course
// folder), else the installation's.
QString helpFile();

// The main window's title; a shell window with this title shows the caption picture instead of text.
QString mainWindowTitle();

#endif
