#ifndef MYTABWIDGET2_H
#define MYTABWIDGET2_H

#include "mytabwidget.h"

// The favorites' tab widget: the same strip, from 170 pixels on.
class MyTabWidget2 : public MyTabWidget
{
public:
    explicit MyTabWidget2(QWidget *parent = nullptr)
        : MyTabWidget(170, parent)
    {
    }
};

#endif
