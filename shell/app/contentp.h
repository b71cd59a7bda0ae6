#ifndef CONTENTP_H
#define CONTENTP_H

#include <QWidget>

// Keeps its one child at the sheet proportion 565 : 416 (plus fixed room for the tab row),
// centred, whatever the size of the window.
class ContentP : public QWidget
{
    Q_OBJECT

public:
    explicit ContentP(QWidget *child, QWidget *parent = nullptr);

    // The child's rectangle inside a container of the given size.
    static QRect childGeometry(const QSize &size);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QWidget *m_child;
};

#endif
