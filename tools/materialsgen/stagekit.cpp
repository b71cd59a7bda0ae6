#include "stagekit.h"

#include "canvas.h"
#include "shapes.h"

StageKit::StageKit(SwfMovie &movie)
    : m_movie(movie)
{
}

QColor StageKit::ink()
{
    return QColor(0x3a, 0x2e, 0x26);
}

QString StageKit::shellCallName()
{
    return QStringLiteral("shell");
}

SwfActions StageKit::openMaterial(const QString &action, const QString &materialId)
{
    SwfActions a;
    a.push(QStringLiteral("<shell action=\"%1\">%2</shell>").arg(action, materialId.toHtmlEscaped()));
    a.externalCall(shellCallName(), 1).op(SwfActions::Pop);
    return a;
}

SwfActions StageKit::sendToMaterial(const QString &message)
{
    SwfActions a;
    a.push(message).externalCall(shellCallName(), 1).op(SwfActions::Pop);
    return a;
}

quint16 StageKit::font()
{
    if (m_font == 0)
        m_font = m_movie.defineDeviceFont(QStringLiteral("_sans"));
    return m_font;
}

quint16 StageKit::text(const Text &text)
{
    SwfTextField field;
    field.boundsPixels = text.rect;
    field.text = text.text;
    field.variableName = text.variable;
    field.fontId = font();
    field.fontHeightPixels = text.size;
    field.color = text.color;
    field.align = text.align;
    field.multiline = text.multiline;
    field.wordWrap = text.multiline;
    field.readOnly = !text.editable;
    field.selectable = text.editable;
    field.border = text.editable;
    return m_movie.defineTextField(field);
}

quint16 StageKit::picture(const QImage &image, const QPointF &topLeft)
{
    SwfShape shape;
    const quint16 bitmap = m_movie.defineBitmap(image);
    shape.addRect(QRectF(topLeft, image.size()), shape.addBitmapFill(bitmap, topLeft, 1.0, true));
    return m_movie.defineShape(shape);
}

QImage StageKit::buttonFace(const QSizeF &size, const QColor &base, bool pressed) const
{
    // Drawn with room for the shadow below it.
    Canvas canvas(QSize(qCeil(size.width()), qCeil(size.height()) + 4));
    const QRectF box(1, pressed ? 3 : 1, size.width() - 2, size.height() - 3);
    const QPainterPath outline = Shapes::rounded(box, qMin<qreal>(18, box.height() / 3));
    if (!pressed)
        canvas.shadow(outline, QPointF(0, 2.5), 60);
    canvas.glossy(outline, pressed ? base.darker(110) : base, base.darker(150));
    return canvas.finish();
}

quint16 StageKit::button(const QRectF &rect, const QColor &base, const SwfActions &onClick)
{
    const quint16 up = picture(buttonFace(rect.size(), base, false), rect.topLeft());
    const quint16 over = picture(buttonFace(rect.size(), base.lighter(112), false), rect.topLeft());
    const quint16 down = picture(buttonFace(rect.size(), base, true), rect.topLeft());
    SwfShape hit;
    hit.addRect(rect, hit.addSolidFill(Qt::black));

    SwfButton button;
    button.records.append({up, 1, SwfButton::Up, QTransform()});
    button.records.append({over, 1, SwfButton::Over, QTransform()});
    button.records.append({down, 1, SwfButton::Down, QTransform()});
    button.records.append({m_movie.defineShape(hit), 2, SwfButton::HitTest, QTransform()});
    button.actions.append({SwfButton::Release, onClick});
    return m_movie.defineButton(button);
}

quint16 StageKit::clip(quint16 character)
{
    SwfTimeline timeline;
    timeline.placeObject(character, 1);
    timeline.showFrame();
    return m_movie.defineSprite(timeline);
}

quint16 StageKit::textButton(const QSizeF &size, const QColor &base, const QString &label, const SwfActions &onClick,
                             double fontSize)
{
    SwfTimeline clip;
    clip.placeObject(button(QRectF(QPointF(), size), base, onClick), 1);
    Text text;
    const double lineHeight = fontSize * 1.45;
    text.rect = QRectF(6, (size.height() - lineHeight) / 2, size.width() - 12, lineHeight);
    text.size = fontSize;
    text.text = label;
    clip.placeObject(this->text(text), 2);
    clip.showFrame();
    return m_movie.defineSprite(clip);
}

quint16 StageKit::background(const QColor &top, const QColor &bottom)
{
    const QSize size = m_movie.stageSize();
    Canvas canvas(size);
    canvas.painter().fillRect(QRectF(QPointF(), size), Canvas::vertical(QRectF(QPointF(), size), top, bottom));
    return picture(canvas.finish());
}
