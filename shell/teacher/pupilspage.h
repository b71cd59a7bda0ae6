#ifndef PUPILSPAGE_H
#define PUPILSPAGE_H

#include "pupilfolders.h"

#include <QWidget>

class QLabel;
class QListWidget;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

// The teacher's page of the class's pupils: resets a forgotten password, renames a pupil, puts
// one aside and brings her back. Each change is told below the lists.
class PupilsPage : public QWidget
{
    Q_OBJECT

public:
    // The columns of the pupils list; the state column says what keeps a pupil from signing in
    // as usual.
    enum Column { NameColumn, StateColumn };

    explicit PupilsPage(const QDir &courseFolder, QWidget *parent = nullptr);

    QTreeWidget *pupilList() const { return m_pupils; }
    QListWidget *removedList() const { return m_removed; }
    QString message() const;

signals:
    // A pupil was renamed, removed or brought back: other views of the class are out of date.
    void pupilsChanged();

public slots:
    void reload();
    void resetPassword();
    void renamePupil();
    void removePupil();
    void restorePupil();
    void releaseLock();

private:
    QString chosenPupil() const;
    QString stateOf(const QString &name) const;
    void updateButtons();
    void told(const QString &text);
    void failed(const QString &text);

    PupilFolders m_folders;
    QTreeWidget *m_pupils;
    QListWidget *m_removed;
    QLabel *m_message;
    QPushButton *m_reset;
    QPushButton *m_rename;
    QPushButton *m_remove;
    QPushButton *m_restore;
    QPushButton *m_release;
};

#endif
