#include "materialprinter.h"

MaterialPrinter::MaterialPrinter(PrinterMode mode)
    : QPrinter(mode)
{
}

MaterialPrinter::~MaterialPrinter()
{
    finish();
}

QPainter *MaterialPrinter::nextPage()
{
    if (m_pages == 0) {
        if (!m_painter.begin(this))
            return nullptr;
    } else if (!newPage()) {
        return nullptr;
    }
    ++m_pages;
    return &m_painter;
}

void MaterialPrinter::finish()
{
    if (m_painter.isActive())
        m_painter.end();
}

static void drawFitted(QPainter *painter, const QRect &page, const QImage &image)
{
    if (image.isNull())
        return;
    const QSize size = image.size().scaled(page.size(), Qt::KeepAspectRatio);
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->drawImage(QRect(QPoint(0, 0), size), image);
}

void MaterialPrinter::printFitted(QPrinter *printer, const QImage &image)
{
    const QRect page = printer->pageLayout().paintRectPixels(printer->resolution());
    if (auto *job = dynamic_cast<MaterialPrinter *>(printer)) {
        if (QPainter *painter = job->nextPage())
            drawFitted(painter, page, image);
        return;
    }
    QPainter painter(printer);
    drawFitted(&painter, page, image);
}
