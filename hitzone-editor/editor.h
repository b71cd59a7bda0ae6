#ifndef EDITOR_H
#define EDITOR_H

#include <QWidget>

class DoublePage;
class PageMaterials;

// One page window of the editor: a double page canvas, sized exactly to its image, titled with
// the name of its hitzone file.
class Editor : public QWidget
{
    Q_OBJECT

public:
    explicit Editor(QWidget *parent = nullptr);

    DoublePage *page() const { return m_page; }
    PageMaterials *materials() const { return m_materials; }
    // Reads the hitzone file and the material map beside it.
    void open(const QString &path);
    // Saves the page, asking for a file name the first time; false when nothing was written.
    bool save();
    // Saves the page under a name the author chooses; the page's file from then on.
    bool saveAs();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void updateTitle();
    bool write();
    QString askFileName();
    QString closingQuestion() const;

    DoublePage *m_page;
    PageMaterials *m_materials;
};

#endif
