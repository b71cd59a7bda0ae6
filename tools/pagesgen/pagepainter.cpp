#include "pagepainter.h"

#include "pagelayout.h"
#include "picturepainter.h"

#include <QHash>
#include <QLinearGradient>
#include <QPainter>

namespace {

const QColor paper(255, 250, 236);
const QColor ink(40, 60, 120);

QColor cardColor(const QString &group)
{
    static const QHash<QString, QColor> colors = {
        {QStringLiteral("ani"), QColor(255, 225, 190)}, {QStringLiteral("pra"), QColor(210, 240, 200)},
        {QStringLiteral("wrk"), QColor(205, 225, 250)}, {QStringLiteral("rzv"), QColor(250, 210, 225)},
        {QStringLiteral("con"), QColor(255, 240, 170)}, {QStringLiteral("slv"), QColor(225, 215, 250)},
        {QStringLiteral("igr"), QColor(195, 240, 240)},
    };
    return colors.value(group, QColor(235, 235, 235));
}

QFont font(int pixelSize, bool bold = false, bool italic = false)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

} // namespace

PagePainter::PagePainter(int doublePage, const QList<CoursePages::Chapter> &chapters)
    : m_doublePage(doublePage), m_chapters(chapters)
{
}

QString PagePainter::fileStem(int doublePage)
{
    return QString::asprintf("%03d-%03d", 2 * doublePage, 2 * doublePage + 1);
}

int PagePainter::doublePageOf(const QString &fileStem)
{
    return fileStem.section(QLatin1Char('-'), 0, 0).toInt() / 2;
}

QImage PagePainter::paint(const QList<Card> &cards) const
{
    QImage image(PageLayout::imageSize(), QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    paintPaper(p);
    paintTitles(p);
    for (int i = 0; i < cards.size(); ++i)
        paintCard(p, cards[i], i);
    paintPageNumbers(p);
    return image;
}

void PagePainter::paintPaper(QPainter &p) const
{
    const QRect all(QPoint(0, 0), PageLayout::imageSize());
    p.fillRect(all, QColor(120, 90, 60));
    p.setPen(Qt::NoPen);
    p.setBrush(paper);
    p.drawRoundedRect(all.adjusted(6, 6, -6, -6), 18, 18);
    const int spine = all.center().x();
    QLinearGradient shade(spine - 40, 0, spine + 40, 0);
    shade.setColorAt(0, QColor(0, 0, 0, 0));
    shade.setColorAt(0.5, QColor(90, 60, 30, 90));
    shade.setColorAt(1, QColor(0, 0, 0, 0));
    p.fillRect(QRect(spine - 40, 6, 80, all.height() - 12), shade);
}

void PagePainter::paintTitles(QPainter &p) const
{
    if (m_chapters.isEmpty())
        return;
    const QString part = m_chapters.first().part;
    for (int side = 0; side < 2; ++side) {
        const QRect rect = PageLayout::titleRect(side);
        const bool continued = m_chapters.size() == 1 && side == 1;
        const QString title = continued ? part : m_chapters.value(side).caption;
        if (title.isEmpty())
            continue;
        p.setPen(QColor(150, 110, 70));
        p.setFont(font(17, false, true));
        p.drawText(rect.adjusted(0, 0, 0, -rect.height() + 24), Qt::AlignCenter, continued ? QString() : part);
        p.setPen(continued ? QColor(150, 110, 70) : ink);
        p.setFont(font(continued ? 22 : 30, true, continued));
        p.drawText(rect.adjusted(0, 26, 0, 0), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, title);
    }
}

void PagePainter::paintCard(QPainter &p, const Card &card, int index) const
{
    const QRectF box = QRectF(card.box).adjusted(2, 2, -2, -2);
    p.setPen(QPen(cardColor(card.material.group).darker(135), 3));
    p.setBrush(cardColor(card.material.group));
    p.drawRoundedRect(box, 16, 16);
    const double side = box.width() - 50;
    PicturePainter::paint(p, QRectF(box.center().x() - side / 2, box.top() + 12, side, side), m_doublePage * 3 + index);
    p.setPen(ink);
    p.setFont(font(16, true));
    const QRectF caption(box.left() + 10, box.top() + side + 18, box.width() - 20, box.bottom() - box.top() - side - 24);
    p.drawText(caption, Qt::AlignCenter | Qt::TextWordWrap, card.material.caption);
}

void PagePainter::paintPageNumbers(QPainter &p) const
{
    const QSize size = PageLayout::imageSize();
    const QPointF centres[] = {QPointF(60, size.height() - 50), QPointF(size.width() - 60, size.height() - 50)};
    for (int side = 0; side < 2; ++side) {
        p.setPen(QPen(QColor(230, 120, 40), 3));
        p.setBrush(QColor(255, 230, 150));
        p.drawEllipse(centres[side], 26, 26);
        p.setPen(ink);
        p.setFont(font(22, true));
        p.drawText(QRectF(centres[side] - QPointF(26, 26), QSizeF(52, 52)), Qt::AlignCenter,
                   QString::number(2 * m_doublePage + side));
    }
}
