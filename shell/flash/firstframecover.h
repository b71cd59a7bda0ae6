#ifndef FIRSTFRAMECOVER_H
#define FIRSTFRAMECOVER_H

#include <QImage>
#include <QWidget>

// A kept first frame's picture drawn by Qt over a player's web view until the page shows its
// own: a page just uncovered in a new window takes some 100 ms (more under load) to draw
// anything, the widget shows with the window. Clicks go through to the movie beneath.
class FirstFrameCover : public QWidget
{
    Q_OBJECT
public:
    explicit FirstFrameCover(QWidget *parent = nullptr);

    // Shows `picture` over the whole of the parent, above its other children.
    void cover(const QImage &picture);
    void uncover();

signals:
    // The picture has been painted for the first time since cover().
    void painted();

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QImage m_picture;
    bool m_painted = false;
};

#endif
