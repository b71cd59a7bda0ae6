#include "mytabwidget.h"

#include <QLabel>
#include <QResizeEvent>

MyTabWidget::MyTabWidget(QWidget *parent)
    : MyTabWidget(175, parent)
{
}

MyTabWidget::MyTabWidget(int stripLeft, QWidget *parent)
    : QTabWidget(parent)
    , m_stripLeft(stripLeft)
{
}

void MyTabWidget::setCornerStrip(QLabel *strip)
{
    m_strip = strip;
    m_strip->move(m_stripLeft, 0);
    m_strip->resize(width() - m_stripLeft, 28);
}

void MyTabWidget::resizeEvent(QResizeEvent *event)
{
    if (m_strip)
        m_strip->resize(event->size().width() - m_stripLeft, 28);
    QTabWidget::resizeEvent(event);
}
