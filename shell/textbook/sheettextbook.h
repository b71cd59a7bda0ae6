#ifndef SHEETTEXTBOOK_H
#define SHEETTEXTBOOK_H

#include <QTimer>
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
    ~SheetTextbook() override;

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

protected:
    void showEvent(QShowEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void announceNeighbours();
    QPushButton *sideButton(const char *objectName, const QString &toolTip, const QSize &size);
    void addPageKeys();
    void catchWheelOver(QWidget *widget);
    void openAtLastPage();
    void rememberPage();
    static QString lastPageFile();

    ViewerPage *m_view;
    ShellSlider *m_slider;
    QTimer m_rememberTimer; // the page is kept once the reader stops turning
};

#endif
