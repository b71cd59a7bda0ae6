#include "doublepage.h"

#include <QDomDocument>
#include <QFile>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QSaveFile>
#include <QTextStream>

#include <cmath>

DoublePage::DoublePage(QWidget *parent)
    : QWidget(parent)
    , m_hitzones{QPolygonF()}
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setMouseTracking(true);
}

void DoublePage::setModified(bool modified)
{
    if (m_modified == modified)
        return;
    m_modified = modified;
    emit modificationChanged(modified);
}

void DoublePage::setImage(const QString &path)
{
    m_imagePath = path;
    m_image = QImage(path);
    setFixedSize(m_image.size());
    setModified(true);
    update();
}

bool DoublePage::appendHitzone()
{
    QPolygonF &zone = current();
    // One or two points enclose nothing a pupil could click; the page movie would leave the zone out.
    if (zone.size() < 3)
        return false;
    const QPointF first = zone.first();
    QPointF &last = zone.last();
    if (std::abs(first.y() - last.y()) < std::abs(first.x() - last.x()))
        last.setY(first.y());
    else
        last.setX(first.x());
    m_hitzones.append(QPolygonF());
    setModified(true);
    update();
    return true;
}

void DoublePage::deletePrevPoint()
{
    if (!current().isEmpty())
        current().removeLast();
    else if (m_hitzones.size() > 1)
        m_hitzones.removeLast(); // the last completed zone becomes the current one
    else
        return;
    setModified(true);
    update();
}

void DoublePage::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    const QPointF p = event->position();
    QPolygonF &zone = current();
    if (zone.isEmpty()) {
        zone.append(p);
    } else {
        const QPointF last = zone.last();
        // Edges are horizontal or vertical: the nearer direction wins, ties go vertical.
        if (std::abs(last.y() - p.y()) < std::abs(last.x() - p.x()))
            zone.append(QPointF(p.x(), last.y()));
        else
            zone.append(QPointF(last.x(), p.y()));
    }
    setModified(true);
    repaint();
}

void DoublePage::mouseMoveEvent(QMouseEvent *event)
{
    m_mousePosition = event->position().toPoint();
    update();
}

void DoublePage::resizeEvent(QResizeEvent *event)
{
    QSize old = event->oldSize();
    if (old.width() == -1)
        old = m_image.size();
    if (old.width() == 0 || old.height() == 0)
        return;
    m_scaleX = float(event->size().width()) / float(old.width());
    m_scaleY = float(event->size().height()) / float(old.height());
    scalePoints(m_scaleX, m_scaleY);
}

void DoublePage::scalePoints(float scaleX, float scaleY)
{
    for (QPolygonF &zone : m_hitzones) {
        for (QPointF &point : zone)
            point = QPointF(point.x() * scaleX, point.y() * scaleY);
    }
}

void DoublePage::showEvent(QShowEvent *event)
{
    // Coming back from being minimised must not throw away zones drawn since the last save.
    if (!m_fileName.isEmpty() && !m_modified)
        readFile(m_fileName);
    QWidget::showEvent(event);
}

QString DoublePage::pointsText(const QPolygonF &polygon)
{
    QStringList parts;
    for (const QPointF &point : polygon)
        parts << QString::number(point.x(), 'g', 6) << QString::number(point.y(), 'g', 6);
    return parts.join(QLatin1Char(','));
}

bool DoublePage::parsePoints(const QString &text, QPolygonF *polygon)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() % 2 != 0)
        return false;
    polygon->clear();
    for (int i = 0; i < parts.size(); i += 2)
        polygon->append(QPointF(parts[i].toDouble(), parts[i + 1].toDouble()));
    return true;
}

QString DoublePage::storedImagePath(const QString &imagePath)
{
    const int at = imagePath.indexOf(QLatin1String("data/"));
    return at < 0 ? QString() : imagePath.mid(at);
}

void DoublePage::readFile(const QString &path)
{
    m_fileName = path;
    m_hitzones.clear();
    QFile file(path);
    QDomDocument document;
    if (file.open(QIODevice::ReadOnly) && document.setContent(&file)
        && document.documentElement().tagName() == QLatin1String("doublepage")) {
        const QDomElement page = document.documentElement();
        m_imagePath = page.attribute(QStringLiteral("file"));
        m_image = QImage(m_imagePath);
        for (QDomElement e = page.firstChildElement(QStringLiteral("hitzone")); !e.isNull();
             e = e.nextSiblingElement(QStringLiteral("hitzone"))) {
            QPolygonF zone;
            if (parsePoints(e.text(), &zone))
                m_hitzones.append(zone);
        }
        if (!m_image.isNull()) {
            m_scaleX = float(width()) / float(m_image.width());
            m_scaleY = float(height()) / float(m_image.height());
            scalePoints(m_scaleX, m_scaleY);
        }
    }
    m_hitzones.append(QPolygonF());
    setFixedSize(m_image.size());
    setModified(false);
    update();
}

bool DoublePage::writeFile()
{
    const QString stored = storedImagePath(m_imagePath);
    if (stored.isEmpty()) {
        QMessageBox::warning(nullptr, tr("Error!!!"), tr("The folder \"data\" not found!!!"), QMessageBox::Ok);
        return false;
    }
    QDomDocument document;
    QDomElement page = document.createElement(QStringLiteral("doublepage"));
    page.setAttribute(QStringLiteral("file"), stored);
    for (int i = 0; i < m_hitzones.size() - 1; ++i) {
        QDomElement zone = document.createElement(QStringLiteral("hitzone"));
        zone.setAttribute(QStringLiteral("number"), i + 1);
        zone.appendChild(document.createTextNode(pointsText(m_hitzones[i])));
        page.appendChild(zone);
    }
    document.appendChild(page);

    QSaveFile file(m_fileName);
    if (file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        QTextStream stream(&file);
        document.save(stream, 4);
        stream.flush();
        // QSaveFile buffers, and its commit() renames even when the last buffer could not be
        // written (a full disk): check the flush, or a short file replaces the good one.
        if (!file.flush())
            file.cancelWriting();
        if (file.commit()) {
            // Points of an unfinished zone are still unsaved: the page must go on asking before they
            // are lost, and must not read the file over them when it is shown again.
            setModified(hasUnfinishedHitzone());
            return true;
        }
    }
    QMessageBox::warning(nullptr, tr("Error!!!"), tr("Cannot save \"%1\": %2").arg(m_fileName, file.errorString()),
                         QMessageBox::Ok);
    return false;
}

void DoublePage::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_image);
    paintGrid(painter);
    painter.setPen(QPen(QColor(255, 0, 0), 0));
    painter.setBrush(QColor(255, 0, 0, 32));
    QFont font = painter.font();
    font.setBold(true);
    painter.setFont(font);
    paintCompleted(painter);
    paintCurrent(painter);
    painter.setPen(QPen(QColor(0, 0, 255), 1));
    painter.drawLine(m_mousePosition.x(), 0, m_mousePosition.x(), height());
    painter.drawLine(0, m_mousePosition.y(), width(), m_mousePosition.y());
}

void DoublePage::paintGrid(QPainter &painter)
{
    painter.setPen(QPen(QColor(150, 150, 150, 127), 0));
    for (int x = 0; x < width(); x += 5)
        painter.drawLine(x, 0, x, height());
    for (int y = 0; y < height(); y += 5)
        painter.drawLine(0, y, width(), y);
}

void DoublePage::paintCompleted(QPainter &painter)
{
    for (int i = 0; i < m_hitzones.size() - 1; ++i) {
        const QPolygonF &zone = m_hitzones[i];
        painter.drawPolygon(zone, Qt::WindingFill);
        const QRectF bounds = zone.boundingRect();
        // A zone too flat for a number keeps the size the previous number had.
        const int pixelSize = int(bounds.height() * 0.5);
        if (pixelSize > 0) {
            QFont font = painter.font();
            font.setPixelSize(pixelSize);
            painter.setFont(font);
        }
        painter.drawText(bounds, Qt::AlignCenter, QString::number(i + 1));
    }
}

void DoublePage::paintCurrent(QPainter &painter)
{
    const QPolygonF &zone = m_hitzones.last();
    if (zone.isEmpty())
        return;
    QPen pen = painter.pen();
    QPen dot = pen;
    dot.setWidth(3);
    painter.setPen(dot);
    painter.drawPoint(zone.first());
    for (int k = 1; k < zone.size(); ++k) {
        const QPointF a = zone[k - 1], b = zone[k];
        painter.setPen(dot);
        painter.drawPoint(b);
        painter.setPen(pen);
        if (a.x() != b.x())
            painter.drawLine(0, int(a.y()), width(), int(b.y()));
        else
            painter.drawLine(int(a.x()), 0, int(b.x()), height());
    }
    QPen line = pen;
    line.setWidth(2);
    painter.setPen(line);
    painter.drawPolyline(zone);
}
