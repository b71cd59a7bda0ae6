#ifndef WINDOWFAVORITES_H
#define WINDOWFAVORITES_H

#include "windowhard.h"

class Favorites;
class QLabel;
class QLineEdit;
class QWidget;

// "Добавить в избранное": the favorites tree, a name (the material's caption to begin with)
// and a button that adds the material to the folder chosen in the tree. The window then
// says where the material went and closes itself.
class WindowFavorites : public WindowHard
{
    Q_OBJECT

public:
    WindowFavorites(const QString &id, QWidget *parent = nullptr);

    Favorites *favorites() const { return m_favorites; }
    QLineEdit *nameEdit() const { return m_name; }
    // Empty until the material has been added.
    QString addedText() const;

    // Runs the window modally for a material, as the catalogue and the material window do.
    static void addToFavorites(const QString &id, QWidget *parent);

public slots:
    void addResource();

private:
    void tellWhereItWent(const QModelIndex &added);

    QString m_id;
    Favorites *m_favorites;
    QLineEdit *m_name;
    QWidget *m_nameRow;
    QLabel *m_added;
};

#endif
