#ifndef WINDOWFAVORITES_H
#define WINDOWFAVORITES_H

#include "windowhard.h"

class Favorites;
class QLineEdit;

// "Добавить в избранное": the favorites tree, a name (the material's caption to begin with)
// and a button that adds the material to the folder chosen in the tree.
class WindowFavorites : public WindowHard
{
    Q_OBJECT

public:
    WindowFavorites(const QString &id, QWidget *parent = nullptr);

    Favorites *favorites() const { return m_favorites; }
    QLineEdit *nameEdit() const { return m_name; }

    // Runs the window modally for a material, as the catalogue and the material window do.
    static void addToFavorites(const QString &id, QWidget *parent);

public slots:
    void addResource();

private:
    QString m_id;
    Favorites *m_favorites;
    QLineEdit *m_name;
};

#endif
