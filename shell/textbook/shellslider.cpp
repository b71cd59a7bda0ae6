#include "shellslider.h"

#include "contentmodel.h"
#include "environment.h"
#include "treeitem.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

static QPixmap themePixmap(const QString &name)
{
    return QPixmap(themed(QStringLiteral("theme/slider/")) + name);
}

// Shared by every slider and kept for the life of the process: the bubble's caption font.
static const QFont &hintFont()
{
    static const QFont font = [] {
        QFont f(QStringLiteral("Tahoma"), 10);
        f.setBold(true);
        return f;
    }();
    return font;
}

ShellSlider::ShellSlider(QWidget *parent)
    : ShellSlider(pageList(), parent)
{
}

ShellSlider::ShellSlider(const QStringList &pages, QWidget *parent)
    : QSlider(Qt::Horizontal, parent)
    , m_pages(pages)
{
    m_part = QImage(themed(QStringLiteral("theme/slider/slider_part.png")));
    m_hint[0] = themePixmap(QStringLiteral("slider_hint_normal.png"));
    m_hint[1] = themePixmap(QStringLiteral("slider_hint_inverse.png"));
    m_stroke[0] = themePixmap(QStringLiteral("slider_stroke_big.png"));
    m_stroke[1] = themePixmap(QStringLiteral("slider_stroke_small.png"));
    m_groove = themePixmap(QStringLiteral("slider_groove.png"));
    m_handle[0] = themePixmap(QStringLiteral("slider_handle.png"));
    m_handle[1] = themePixmap(QStringLiteral("slider_handle_inverse.png"));
    const QString states[] = {QStringLiteral("normal"), QStringLiteral("hover"), QStringLiteral("press")};
    for (int i = 0; i < 3; ++i) {
        m_prev[i] = themePixmap(QStringLiteral("slider_button_prev_%1.png").arg(states[i]));
        m_next[i] = themePixmap(QStringLiteral("slider_button_next_%1.png").arg(states[i]));
    }
    setFixedHeight(70);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setMouseTracking(true);
    m_rects[HandleArea].setSize(m_handle[0].size());
    setRange(0, int(m_pages.size()) - 1);
    connect(this, &QSlider::valueChanged, this, &ShellSlider::updateHandle);
    connect(this, &QSlider::valueChanged, this, qOverload<>(&ShellSlider::valueChanged));
    connect(this, &QSlider::sliderReleased, this, qOverload<>(&ShellSlider::valueChanged));
}

QString ShellSlider::currentPagePath() const
{
    return m_pages.value(value());
}

void ShellSlider::jumpPage(int page)
{
    setValue(page - 1);
}

void ShellSlider::valueChanged()
{
    if (isSliderDown())
        return;
    QString path = currentPagePath();
    emit pageChanged(path);
}

void ShellSlider::updateHandle()
{
    const QRectF &groove = m_rects[GrooveArea];
    QRectF &handle = m_rects[HandleArea];
    m_pageStep = maximum() == 0 ? 0.0f : float((groove.width() - handle.width()) / maximum());
    const int centre = int(groove.x() + 12 + value() * m_pageStep);
    handle.moveLeft(centre - handle.width() / 2);
    handle.moveTop(groove.y() + 40 - handle.height());
    update();
}

void ShellSlider::resizeEvent(QResizeEvent *event)
{
    const int w = width();
    m_rects[GrooveArea] = QRectF(50, m_part.height() + 22, w - m_prev[0].width() - m_next[0].width() + 7, m_groove.height());
    m_rects[PrevButtonArea] = QRectF(QPointF(0, 22), m_prev[0].size());
    m_rects[NextButtonArea] = QRectF(QPointF(w - m_next[0].width(), 22), m_next[0].size());
    updateHandle();
    QSlider::resizeEvent(event);
}

int ShellSlider::areaAt(const QPointF &pos) const
{
    for (int area = HandleArea; area <= NextButtonArea; ++area) {
        if (m_rects[area].contains(pos))
            return area;
    }
    // The groove is a thin line; a child's click anywhere above or below it counts.
    const QRectF &groove = m_rects[GrooveArea];
    if (pos.x() >= groove.left() && pos.x() < groove.right() && pos.y() >= 0 && pos.y() < height())
        return GrooveArea;
    return -1;
}

void ShellSlider::wheelEvent(QWheelEvent *event)
{
    turnByWheel(event->angleDelta());
    event->accept();
}

void ShellSlider::turnByWheel(const QPoint &angleDelta)
{
    // One notch turns one double page (the system's "lines per notch" is for text). A book
    // goes on downwards like a page of text, whatever way the slider's own value runs.
    m_wheelDelta -= angleDelta.y() != 0 ? angleDelta.y() : angleDelta.x();
    const int notches = m_wheelDelta / QWheelEvent::DefaultDeltasPerStep;
    m_wheelDelta -= notches * QWheelEvent::DefaultDeltasPerStep;
    if (notches != 0)
        setValue(value() + notches);
}

int ShellSlider::handleCentreX() const
{
    return int(m_rects[HandleArea].x() + m_rects[HandleArea].width() / 2);
}

void ShellSlider::mouseMoveEvent(QMouseEvent *event)
{
    const QPointF pos = event->position();
    const int hover = areaAt(pos);
    if (isSliderDown() && m_pageStep > 0)
        setValue(int((pos.x() - m_rects[GrooveArea].x() - m_grabOffset) / m_pageStep));
    else if (isSliderDown())
        setValue(0);
    if (hover != m_hover) {
        m_hover = hover;
        repaint();
    }
}

void ShellSlider::mousePressEvent(QMouseEvent *event)
{
    const QPointF pos = event->position();
    m_hover = areaAt(pos); // a touch screen presses without moving there first
    switch (m_hover) {
    case HandleArea:
        setSliderDown(true);
        m_grabOffset = float(pos.x() - handleCentreX());
        break;
    case GrooveArea:
        setValue(m_pageStep > 0 ? int((pos.x() - m_rects[GrooveArea].x()) / m_pageStep) : 0);
        break;
    case PrevButtonArea:
        setValue(value() - 1);
        break;
    case NextButtonArea:
        setValue(value() + 1);
        break;
    default:
        break;
    }
    m_pressed = 1;
    repaint();
}

void ShellSlider::mouseReleaseEvent(QMouseEvent *)
{
    m_pressed = 0;
    setSliderDown(false); // after a drag this emits sliderReleased, and so the page
    repaint();
}

void ShellSlider::leaveEvent(QEvent *)
{
    m_hover = -1;
    repaint();
}

QString ShellSlider::chapterCaption(int page)
{
    if (!contentModel || contentModel->startPageMap().isEmpty())
        return QString();
    const QMap<int, TreeItem *> &starts = contentModel->startPageMap();
    auto it = starts.upperBound(page);
    if (it != starts.begin())
        --it;
    return it.value()->data(0).toString();
}

int ShellSlider::captionWidth(const QString &caption) const
{
    if (caption.isEmpty())
        return 200;
    return qBound(200, QFontMetrics(hintFont()).horizontalAdvance(caption), 300);
}

bool ShellSlider::isInverse() const
{
    return opensLeft(captionWidth(chapterCaption(value() + 1)));
}

bool ShellSlider::opensLeft(int textWidth) const
{
    const QRectF &groove = m_rects[GrooveArea];
    return (textWidth - 20) + m_hint[0].width() + handleCentreX() > groove.x() + groove.width();
}

void ShellSlider::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setFont(hintFont());
    painter.drawPixmap(m_rects[GrooveArea].toRect(), m_groove);
    paintButtons(painter);
    const QString caption = chapterCaption(value() + 1);
    const int textWidth = captionWidth(caption);
    const bool inverse = opensLeft(textWidth);
    if (!isSliderDown())
        painter.drawPixmap(m_rects[HandleArea].topLeft().toPoint(), m_handle[inverse ? 1 : 0]);
    else
        paintBubble(painter, caption, textWidth, inverse);
    paintStrokes(painter);
}

void ShellSlider::paintButtons(QPainter &painter)
{
    painter.drawPixmap(m_rects[PrevButtonArea].toRect(), m_prev[m_hover == PrevButtonArea ? m_pressed + 1 : 0]);
    painter.drawPixmap(m_rects[NextButtonArea].toRect(), m_next[m_hover == NextButtonArea ? m_pressed + 1 : 0]);
}

void ShellSlider::paintBubble(QPainter &painter, const QString &caption, int textWidth, bool inverse)
{
    const QPixmap &hint = m_hint[inverse ? 1 : 0];
    QImage bubble(m_hint[1].width() + textWidth - 10, m_hint[1].height(), QImage::Format_ARGB32);
    bubble.fill(Qt::transparent);
    QPainter p(&bubble);
    // A horizontally stretchable picture: left part, one stretched column, right part.
    const int split = inverse ? 25 : 40;
    const int h = hint.height();
    p.drawPixmap(QRect(0, 0, split, h), hint, QRect(0, 0, split, h));
    p.drawPixmap(QRect(split, 0, textWidth - 10, h), hint, QRect(split, 0, 1, h));
    p.drawPixmap(QPoint(textWidth + split - 10, 0), hint, QRect(split + 1, 0, hint.width() - split - 1, h));

    const QRectF &handle = m_rects[HandleArea];
    const int top = int(handle.y() + handle.height() - bubble.height());
    const int left = inverse ? int(handle.x() + handle.width() - bubble.width() + 15) : int(handle.x());
    p.setFont(hintFont());
    const QString elided = QFontMetrics(hintFont()).elidedText(caption, Qt::ElideRight, textWidth);
    p.drawText(QPoint(20, top + 25), elided);
    p.end();
    painter.drawImage(QPoint(left, top), bubble);
}

void ShellSlider::paintStrokes(QPainter &painter)
{
    const QRectF &groove = m_rects[GrooveArea];
    const int n = int(groove.width() / 30);
    if (!(n / 4 < maximum() && n > 1))
        return;
    for (int j = 1; j < n; ++j)
        painter.drawPixmap(QPoint(int(groove.x() + 30 * j), int(groove.y() + groove.height() - 1)),
                           m_stroke[j % 2 ? 1 : 0]);
}
