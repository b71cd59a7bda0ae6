#ifndef VIEWERIMAGE_H
#define VIEWERIMAGE_H

#include <QLabel>
#include <QPixmap>

class QPrinter;

// One picture, reduced to fit its cell (never enlarged) and centred.
class ViewerImage : public QLabel
{
    Q_OBJECT

public:
    explicit ViewerImage(QWidget *parent = nullptr);

    void setImage(const QString &fileName);
    const QPixmap &image() const { return m_pixmap; }
    // Where the picture is drawn in a widget of the given size.
    static QRect imageRect(const QSize &pixmapSize, const QSize &widgetSize);

public slots:
    void print(QPrinter *printer);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_pixmap;
    QPixmap m_scaled; // m_pixmap at the size it is drawn
    // The size m_scaled was made for: keeping the aspect ratio may round it a pixel away.
    QSize m_scaledFor;
};

#endif
