#include "mainwindow.h"

#include <QMdiArea>

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , m_area(new QMdiArea(this))
{
    setCentralWidget(m_area);
    setWindowTitle(QStringLiteral("Double page editor"));
}
