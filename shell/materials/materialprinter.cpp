#include "materialprinter.h"

#include <QTextDocument>

#include <memory>

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

void MaterialPrinter::printDocument(QPrinter *printer, const QTextDocument *document)
{
    auto *job = dynamic_cast<MaterialPrinter *>(printer);
    if (!job) {
        document->print(printer);
        return;
    }
    const QRect page = printer->pageLayout().paintRectPixels(printer->resolution());
    const std::unique_ptr<QTextDocument> laidOut(document->clone());
    laidOut->setPageSize(page.size());
    for (int i = 0; i < laidOut->pageCount(); ++i) {
        QPainter *painter = job->nextPage();
        if (!painter)
            return;
        const QRectF shown(0, i * page.height(), page.width(), page.height());
        painter->save();
        painter->translate(0, -shown.top());
        laidOut->drawContents(painter, shown);
        painter->restore();
    }
}
