#ifndef MYTABWIDGET_H
#define MYTABWIDGET_H

#include <QTabWidget>

class QLabel;

// The catalogue's tab widget: its tab row is filled, right of the tabs, by a themed strip (a
// label the owning sheet makes, named widget_corner) that starts 175 pixels from the left.
class MyTabWidget : public QTabWidget
{
public:
    explicit MyTabWidget(QWidget *parent = nullptr);

    void setCornerStrip(QLabel *strip);
    QLabel *cornerStrip() const { return m_strip; }
    int stripLeft() const { return m_stripLeft; }

protected:
    MyTabWidget(int stripLeft, QWidget *parent);
    void resizeEvent(QResizeEvent *event) override;

private:
    int m_stripLeft;
    QLabel *m_strip = nullptr;
};

#endif
