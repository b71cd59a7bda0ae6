#ifndef EDITOR_H
#define EDITOR_H

#include <QWidget>

class DoublePage;

// One page window of the editor: a double page canvas, sized exactly to its image.
class Editor : public QWidget
{
    Q_OBJECT

public:
    explicit Editor(QWidget *parent = nullptr);

    DoublePage *page() const { return m_page; }
    // Saves the page, asking for a file name the first time; false when nothing was written.
    bool save();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QString askFileName();
    QString closingQuestion() const;

    DoublePage *m_page;
};

#endif
