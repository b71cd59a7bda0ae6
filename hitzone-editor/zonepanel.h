#ifndef ZONEPANEL_H
#define ZONEPANEL_H

#include "courseids.h"

#include <QPointer>
#include <QWidget>

class Editor;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTreeWidget;

// The side panel of the active page: its zones with the material each opens, and the course's
// materials, searchable by caption, to give the selected zone one of them.
class ZonePanel : public QWidget
{
    Q_OBJECT

public:
    explicit ZonePanel(QWidget *parent = nullptr);

    // The page the panel shows; null for none. Its course's contents are read unless they are the ones shown.
    void setEditor(Editor *editor);
    // Reads the course's contents; false, with the reason shown in the panel, when they cannot be read.
    bool loadContents(const QString &path);
    QString contentsPath() const;

    QTreeWidget *zoneList() const { return m_zones; }
    QListWidget *materialList() const { return m_materials; }
    QLineEdit *searchField() const { return m_search; }

public slots:
    // The selected zone gets the material chosen in the list.
    void assignMaterial();
    void removeMaterial();

private:
    void refreshZones();
    void fillMaterials();
    void filterMaterials(const QString &text);
    void showSelection(int number);
    void selectZoneFromList();
    QString describe(const QString &materialId) const;
    int selectedNumber() const;

    QPointer<Editor> m_editor;
    QList<QMetaObject::Connection> m_connections;
    CourseIds m_contents;
    QString m_contentsPath;
    QTreeWidget *m_zones;
    QLabel *m_contentsLabel;
    QLineEdit *m_search;
    QListWidget *m_materials;
    QPushButton *m_assign;
    QPushButton *m_remove;
};

#endif
