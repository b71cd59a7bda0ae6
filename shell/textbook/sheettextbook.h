#ifndef SHEETTEXTBOOK_H
#define SHEETTEXTBOOK_H

#include <QWidget>

class QPushButton;
class ShellSlider;
class ViewerPage;

// The textbook: one double page at a time, turned with the side buttons or the slider; a click
// on a hitzone of the page opens the material it names.
class SheetTextbook : public QWidget
{
    Q_OBJECT

public:
    explicit SheetTextbook(QWidget *parent = nullptr);

    ShellSlider *slider() const { return m_slider; }
    ViewerPage *pageView() const { return m_view; }

    // The material id a hitzone request names: the text of its first string argument; empty
    // when the request is not an invoke call.
    static bool materialOfRequest(const QString &request, QString *id);

public slots:
    void showMaterials(QString request);

private slots:
    void clickPrev();
    void clickNext();
    void pageChanged(QString &pathname);

private:
    QPushButton *sideButton(const char *objectName, const QString &toolTip, const QSize &size);

    ViewerPage *m_view;
    ShellSlider *m_slider;
};

#endif
