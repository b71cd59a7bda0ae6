#include "viewerimage.h"

#include "materialprinter.h"

#include <QPainter>
#include <QPrinter>

ViewerImage::ViewerImage(QWidget *parent)
    : QLabel(parent)
{
    setFrameShape(QFrame::Box);
    setAlignment(Qt::AlignCenter);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setScaledContents(true);
    adjustSize();
}

void ViewerImage::setImage(const QString &fileName)
{
    m_pixmap = QPixmap(fileName);
    m_scaled = QPixmap();
    m_scaledFor = QSize();
    update();
}

QRect ViewerImage::imageRect(const QSize &pixmapSize, const QSize &widgetSize)
{
    const QSize bound(qMin(pixmapSize.width(), widgetSize.width()), qMin(pixmapSize.height(), widgetSize.height()));
    QRect rect(QPoint(0, 0), pixmapSize.scaled(bound, Qt::KeepAspectRatio));
    rect.moveCenter(QPoint((widgetSize.width() - 1) / 2, (widgetSize.height() - 1) / 2));
    return rect;
}

void ViewerImage::paintEvent(QPaintEvent *)
{
    if (m_pixmap.isNull())
        return;
    const QRect target = imageRect(m_pixmap.size(), size());
    // Smooth scaling of a large picture is slow: do it once per size, not on every paint.
    if (m_scaledFor != target.size()) {
        m_scaled = m_pixmap.scaled(target.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
        m_scaledFor = target.size();
    }
    QPainter painter(this);
    painter.drawPixmap(target.topLeft(), m_scaled);
}

void ViewerImage::print(QPrinter *printer)
{
    // At its own size; a picture larger than the page is shrunk, or it would be cut off.
    MaterialPrinter::printPicture(printer, m_pixmap.toImage());
}
