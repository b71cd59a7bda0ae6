#ifndef VIEWERPAGE_H
#define VIEWERPAGE_H

#include <QWidget>

class FlashPlayer;
class QVBoxLayout;

// The double page on show: its movie kept at the page proportion inside a green frame. Every
// request of the movie goes up as selectedHitzone, unread.
class ViewerPage : public QWidget
{
    Q_OBJECT

public:
    explicit ViewerPage(QWidget *parent = nullptr);

    void loadPage(const QString &path);
    FlashPlayer *player() const { return m_player; }

    // The movie's size inside a view of the given size (6 pixels of frame around it).
    static QSize fittedSize(const QSize &viewSize);

signals:
    void selectedHitzone(const QString &id);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QVBoxLayout *m_layout;
    FlashPlayer *m_player;
};

#endif
