#include "scene.h"

#include "picturebook.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

namespace {
const QColor ink(0x3a, 0x2e, 0x26);

QLinearGradient vertical(double top, double bottom, const QColor &from, const QColor &to)
{
    QLinearGradient gradient(0, top, 0, bottom);
    gradient.setColorAt(0, from);
    gradient.setColorAt(1, to);
    return gradient;
}

QFont font(double pixelSize)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(qRound(pixelSize));
    return font;
}

void paintMeadow(QPainter &p, const QSize &size)
{
    const double horizon = size.height() * 0.68;
    p.fillRect(QRectF(0, 0, size.width(), horizon), vertical(0, horizon, QColor(150, 210, 250), QColor(225, 243, 255)));
    QPainterPath hills;
    hills.moveTo(0, horizon + 10);
    hills.cubicTo(size.width() * 0.3, horizon - 30, size.width() * 0.6, horizon + 30, size.width(), horizon - 10);
    hills.lineTo(size.width(), size.height());
    hills.lineTo(0, size.height());
    hills.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(vertical(horizon - 30, size.height(), QColor(140, 210, 100), QColor(95, 170, 70)));
    p.drawPath(hills);
}
} // namespace

bool Scene::isBackground(const QString &kind)
{
    static const QStringList kinds = {QStringLiteral("paper"), QStringLiteral("white"), QStringLiteral("sky"),
                                      QStringLiteral("meadow"), QStringLiteral("none")};
    return kinds.contains(kind) || (kind.startsWith(QLatin1Char('#')) && QColor::fromString(kind).isValid());
}

QImage Scene::background(const QString &kind, const QSize &size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF all(QPointF(), size);
    if (kind == QLatin1String("paper"))
        p.fillRect(all, vertical(0, size.height(), QColor(255, 248, 233), QColor(251, 234, 200)));
    else if (kind == QLatin1String("white"))
        p.fillRect(all, Qt::white);
    else if (kind == QLatin1String("sky"))
        p.fillRect(all, vertical(0, size.height(), QColor(150, 210, 250), QColor(230, 245, 255)));
    else if (kind == QLatin1String("meadow"))
        paintMeadow(p, size);
    else if (kind != QLatin1String("none"))
        p.fillRect(all, QColor::fromString(kind));
    p.end();
    return image;
}

Scene Scene::read(const SourceElement &element, const QSize &fallbackSize)
{
    Scene scene;
    scene.m_size = QSize(int(element.number(QStringLiteral("width"), fallbackSize.width())),
                         int(element.number(QStringLiteral("height"), fallbackSize.height())));
    if (scene.m_size.width() < 16 || scene.m_size.height() < 16 || scene.m_size.width() > 2000 || scene.m_size.height() > 2000) {
        element.error(QStringLiteral("a picture is 16 to 2000 pixels wide and high"));
        scene.m_size = fallbackSize;
    }
    scene.m_background = element.text(QStringLiteral("background"), QStringLiteral("white"));
    if (!isBackground(scene.m_background)) {
        element.error(QStringLiteral("there is no background \"%1\"").arg(scene.m_background));
        scene.m_background = QStringLiteral("white");
    }
    for (const SourceElement &child : element.children()) {
        if (child.tagName() == QLatin1String("item")) {
            scene.m_items.append({child.picture(QStringLiteral("picture")),
                                  QPointF(child.number(QStringLiteral("x"), 0), child.number(QStringLiteral("y"), 0)),
                                  child.number(QStringLiteral("size"), 100)});
        } else if (child.tagName() == QLatin1String("text")) {
            const double x = child.number(QStringLiteral("x"), 0);
            const double y = child.number(QStringLiteral("y"), 0);
            const double size = child.number(QStringLiteral("size"), 24);
            const double width = child.number(QStringLiteral("width"), scene.m_size.width() - x);
            // As tall as the lines the text wraps into.
            const QRectF wrapped = QFontMetricsF(font(size)).boundingRect(QRectF(0, 0, width, 10000), Qt::TextWordWrap, child.content());
            const QRectF rect(x, y, width, qMax(size * 1.6, wrapped.height() + size * 0.4));
            scene.m_labels.append({child.content(), rect, size, child.color(QStringLiteral("color"), ink)});
        }
    }
    return scene;
}

QImage Scene::paint() const
{
    QImage image = background(m_background, m_size);
    QPainter p(&image);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    for (const Item &item : m_items)
        PictureBook::paint(p, QRectF(item.topLeft, QSizeF(item.size, item.size)), item.picture);
    for (const Label &label : m_labels) {
        p.setFont(font(label.size));
        p.setPen(label.color);
        p.drawText(label.rect, Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextWordWrap, label.text);
    }
    p.end();
    return image;
}
