#ifndef PREVIEWPANE_H
#define PREVIEWPANE_H

#include <QWidget>

class QLabel;
class QPushButton;
class ViewerObject;

// The right-hand pane of the catalogue and the favorites: a themed title bar with the chosen
// material's caption and buttons, and the material in preview mode below it.
class PreviewPane : public QWidget
{
    Q_OBJECT

public:
    explicit PreviewPane(QWidget *parent = nullptr);

    // A picture button at the right of the title bar, off until a material is shown.
    QPushButton *addButton(const char *objectName, const QString &toolTip);
    // Shows a material: its caption in the title bar, shortened to fit; its buttons on.
    void showMaterial(const QString &caption, const QString &id);

    ViewerObject *viewer() const { return m_viewer; }

private:
    QLabel *m_title;
    class QHBoxLayout *m_row;
    QList<QPushButton *> m_buttons;
    ViewerObject *m_viewer;
};

#endif
