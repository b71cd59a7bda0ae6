#ifndef SHELLSLIDER_H
#define SHELLSLIDER_H

#include <QImage>
#include <QPixmap>
#include <QRectF>
#include <QSlider>

// The page strip under the textbook: a themed groove with ticks, a handle and two end buttons.
// Its value is the index of the double page on show; while the handle is dragged it becomes a
// bubble naming the chapter of the page under it, and the page changes only when it is let go.
class ShellSlider : public QSlider
{
    Q_OBJECT

public:
    enum Area { HandleArea = 0, GrooveArea = 1, PrevButtonArea = 2, NextButtonArea = 3 };

    explicit ShellSlider(QWidget *parent = nullptr);
    // A slider over the given page movies instead of the textbook's.
    ShellSlider(const QStringList &pages, QWidget *parent = nullptr);

    QString currentPagePath() const;
    QRectF areaRect(Area area) const { return m_rects[area]; }
    float pageStep() const { return m_pageStep; }
    // The caption of the chapter a 1-based double page lies in; empty without contents.
    static QString chapterCaption(int page);
    // Whether the bubble and the idle handle open to the left at the current value.
    bool isInverse() const;
    // Turns double pages as a wheel does anywhere over the textbook: a notch down (towards
    // the reader) or to the right is the next one, up or to the left the previous one; a
    // touchpad's small steps add up to notches.
    void turnByWheel(const QPoint &angleDelta);

signals:
    void pageChanged(QString &pathname);

private slots:
    void jumpPage(int page);
    void updateHandle();
    void valueChanged();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    int areaAt(const QPointF &pos) const;
    int handleCentreX() const;
    int captionWidth(const QString &caption) const;
    bool opensLeft(int textWidth) const;
    void paintButtons(QPainter &painter);
    void paintBubble(QPainter &painter, const QString &caption, int textWidth, bool inverse);
    void paintStrokes(QPainter &painter);

    QStringList m_pages;
    QImage m_part;
    QPixmap m_hint[2];
    QPixmap m_stroke[2];
    QPixmap m_groove;
    QPixmap m_handle[2];
    QPixmap m_prev[3];
    QPixmap m_next[3];
    float m_grabOffset = 0;
    float m_pageStep = 0;
    int m_hover = -1;
    int m_pressed = 0;
    int m_wheelDelta = 0;       // the part of a notch not yet turned into a page
    QRectF m_rects[4];
};

#endif
