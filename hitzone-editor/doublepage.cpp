#include "doublepage.h"

#include <QDir>
#include <QDomDocument>
#include <QFileInfo>
#include <QFile>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QSaveFile>
#include <QTextStream>
#include <QUndoStack>

#include "zonescommand.h"

#include <cmath>

namespace {
// How far from a corner of the selected zone a press still takes its handle, in image pixels.
constexpr double handleReach = 5;
}

DoublePage::DoublePage(QWidget *parent)
    : QWidget(parent)
    , m_undo(new QUndoStack(this))
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setMouseTracking(true);
}

void DoublePage::Zones::scale(double scaleX, double scaleY)
{
    for (QPolygonF &zone : polygons) {
        for (QPointF &point : zone)
            point = QPointF(point.x() * scaleX, point.y() * scaleY);
    }
}

void DoublePage::setModified(bool modified)
{
    if (m_modified == modified)
        return;
    m_modified = modified;
    emit modificationChanged(modified);
}

void DoublePage::setFileName(const QString &fileName)
{
    if (m_fileName == fileName)
        return;
    m_fileName = fileName;
    emit fileNameChanged(fileName);
}

void DoublePage::setImage(const QString &path)
{
    m_imagePath = path;
    m_image = QImage(path);
    setFixedSize(m_image.size());
    setModified(true);
    update();
}

int DoublePage::nextFreeNumber() const
{
    // Numbers kept by the undo stack count as taken: a deleted zone that comes back keeps its material.
    QSet<int> taken(m_zones.numbers.cbegin(), m_zones.numbers.cend());
    for (int i = 0; i < m_undo->count(); ++i) {
        if (const auto *command = dynamic_cast<const ZonesCommand *>(m_undo->command(i)))
            taken.unite(command->numbers());
    }
    int number = 1;
    while (taken.contains(number))
        ++number;
    return number;
}

void DoublePage::record(const QString &text, const Zones &before)
{
    // A change made while a zone is held (Delete, Backspace) ends the drag: the zone held
    // may be gone, and the drag's starting zones are no longer the page's.
    m_drag = Drag::None;
    if (m_zones == before)
        return;
    m_undo->push(new ZonesCommand(this, text, before, m_zones));
    setModified(true);
    emit zonesChanged();
    update();
}

void DoublePage::restoreZones(const Zones &zones)
{
    m_drag = Drag::None; // an undo while a zone is held ends the drag, as any other change
    m_zones = zones;
    if (m_selected >= completedCount())
        setSelected(-1);
    setModified(true);
    emit zonesChanged();
    update();
}

bool DoublePage::appendHitzone()
{
    QPolygonF &zone = current();
    // One or two points enclose nothing a pupil could click; the page movie would leave the zone out.
    if (zone.size() < 3)
        return false;
    const Zones before = m_zones;
    const QPointF first = zone.first();
    QPointF &last = zone.last();
    if (std::abs(first.y() - last.y()) < std::abs(first.x() - last.x()))
        last.setY(first.y());
    else
        last.setX(first.x());
    m_zones.numbers.append(nextFreeNumber());
    m_zones.polygons.append(QPolygonF());
    record(tr("Добавить зону"), before);
    return true;
}

void DoublePage::deletePrevPoint()
{
    const Zones before = m_zones;
    if (!current().isEmpty()) {
        current().removeLast();
    } else if (completedCount() > 0) {
        if (m_selected == completedCount() - 1)
            setSelected(-1);
        m_zones.polygons.removeLast(); // the last completed zone becomes the current one
        m_zones.numbers.removeLast();
    }
    record(tr("Удалить предыдущую точку"), before);
}

void DoublePage::deleteSelected()
{
    if (m_selected < 0)
        return;
    const Zones before = m_zones;
    m_zones.polygons.removeAt(m_selected);
    m_zones.numbers.removeAt(m_selected);
    setSelected(-1);
    record(tr("Удалить зону"), before);
}

void DoublePage::selectNumber(int number)
{
    setSelected(m_zones.numbers.indexOf(number));
}

int DoublePage::selectedNumber() const
{
    return m_selected < 0 ? 0 : m_zones.numbers.value(m_selected);
}

void DoublePage::setSelected(int index)
{
    if (m_selected == index)
        return;
    m_selected = index;
    update();
    emit selectionChanged(selectedNumber());
}

void DoublePage::setUnmapped(const QSet<int> &numbers)
{
    m_unmapped = numbers;
    update();
}

int DoublePage::zoneAt(const QPointF &p) const
{
    // The selected zone first, then the latest drawn: the one painted on top.
    if (m_selected >= 0 && m_zones.polygons[m_selected].containsPoint(p, Qt::WindingFill))
        return m_selected;
    for (int i = completedCount() - 1; i >= 0; --i) {
        if (m_zones.polygons[i].containsPoint(p, Qt::WindingFill))
            return i;
    }
    return -1;
}

int DoublePage::handleAt(const QPointF &p) const
{
    if (m_selected < 0)
        return -1;
    const QPolygonF &zone = m_zones.polygons[m_selected];
    for (int k = 0; k < zone.size(); ++k) {
        if (std::abs(zone[k].x() - p.x()) <= handleReach && std::abs(zone[k].y() - p.y()) <= handleReach)
            return k;
    }
    return -1;
}

void DoublePage::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    const QPointF p = event->position();
    // While a zone is being drawn every click is its next point; otherwise a click on a zone takes it.
    if (current().isEmpty()) {
        const int handle = handleAt(p);
        const int zone = handle >= 0 ? m_selected : zoneAt(p);
        if (zone >= 0) {
            setSelected(zone);
            m_drag = handle >= 0 ? Drag::Vertex : Drag::Zone;
            m_dragVertex = handle;
            m_pressPosition = p;
            m_pressPolygon = m_zones.polygons[zone];
            m_beforeDrag = m_zones;
            return;
        }
    }
    setSelected(-1);
    addPoint(p);
}

void DoublePage::addPoint(const QPointF &p)
{
    const Zones before = m_zones;
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
    record(tr("Точка"), before);
    repaint();
}

void DoublePage::mouseMoveEvent(QMouseEvent *event)
{
    m_mousePosition = event->position().toPoint();
    if (m_drag != Drag::None)
        dragTo(event->position());
    update();
}

void DoublePage::dragTo(const QPointF &p)
{
    if (m_selected < 0 || m_selected >= completedCount())
        return;
    QPolygonF polygon = m_pressPolygon;
    if (m_drag == Drag::Zone)
        polygon.translate(p - m_pressPosition);
    else
        moveVertex(polygon, m_dragVertex, p);
    m_zones.polygons[m_selected] = polygon;
}

void DoublePage::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_drag == Drag::None || event->button() != Qt::LeftButton)
        return;
    dragTo(event->position());
    const bool vertex = m_drag == Drag::Vertex;
    record(vertex ? tr("Перемещение угла зоны") : tr("Перемещение зоны"), m_beforeDrag);
}

void DoublePage::moveVertex(QPolygonF &polygon, int vertex, const QPointF &to)
{
    const int n = polygon.size();
    const QPointF from = polygon[vertex];
    // Each neighbour shares one coordinate with the corner: it keeps sharing it, so both edges stay
    // horizontal or vertical. A neighbour on the corner itself follows the edge beyond it.
    auto follow = [&](int neighbour, int beyond) {
        QPointF &q = polygon[neighbour];
        bool horizontal = q.y() == from.y();
        if (q == from)
            horizontal = polygon[beyond].x() == q.x();
        if (horizontal)
            q.setY(to.y());
        else
            q.setX(to.x());
    };
    if (n >= 3) {
        follow((vertex + n - 1) % n, (vertex + n - 2) % n);
        follow((vertex + 1) % n, (vertex + 2) % n);
    }
    polygon[vertex] = to;
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
    m_zones.scale(scaleX, scaleY);
    for (int i = 0; i < m_undo->count(); ++i) {
        if (auto *command = dynamic_cast<ZonesCommand *>(const_cast<QUndoCommand *>(m_undo->command(i))))
            command->scale(scaleX, scaleY);
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

QString DoublePage::resolvedImagePath(const QString &stored, const QString &hitzonePath)
{
    if (stored.isEmpty() || QDir::isAbsolutePath(stored))
        return stored;
    for (QDir folder = QFileInfo(hitzonePath).absoluteDir();; ) {
        if (QFileInfo(folder.filePath(stored)).isFile())
            return QDir::cleanPath(folder.filePath(stored));
        if (!folder.cdUp())
            return stored;
    }
}

void DoublePage::readFile(const QString &path)
{
    setFileName(path);
    m_zones = Zones();
    m_zones.polygons.clear();
    m_undo->clear();
    setSelected(-1);
    QList<int> wanted; // the file's numbers; 0 where it has none fit to keep
    QFile file(path);
    QDomDocument document;
    const bool isPage = file.open(QIODevice::ReadOnly) && document.setContent(&file)
                        && document.documentElement().tagName() == QLatin1String("doublepage");
    if (!isPage && file.exists()) {
        // Another file (the course's contents, say) is never overwritten by a page saved over it.
        QMessageBox::warning(this, tr("Открыть файл"),
                             tr("«%1» — не файл зон двойной страницы. Страница будет новой, без имени.")
                                 .arg(QDir::toNativeSeparators(path)));
        setFileName(QString());
    }
    if (isPage) {
        const QDomElement page = document.documentElement();
        m_imagePath = resolvedImagePath(page.attribute(QStringLiteral("file")), path);
        m_image = QImage(m_imagePath);
        for (QDomElement e = page.firstChildElement(QStringLiteral("hitzone")); !e.isNull();
             e = e.nextSiblingElement(QStringLiteral("hitzone"))) {
            QPolygonF zone;
            if (!parsePoints(e.text(), &zone))
                continue;
            m_zones.polygons.append(zone);
            const int number = e.attribute(QStringLiteral("number")).toInt();
            wanted.append(number > 0 && !wanted.contains(number) ? number : 0);
        }
        if (!m_image.isNull()) {
            m_scaleX = float(width()) / float(m_image.width());
            m_scaleY = float(height()) / float(m_image.height());
            m_zones.scale(m_scaleX, m_scaleY);
        }
    }
    m_zones.polygons.append(QPolygonF());
    // The map beside the file names zones by these numbers: a zone keeps its own, and one the
    // file leaves unnumbered (or numbers twice) takes the next free one.
    m_zones.numbers = wanted;
    for (int &number : m_zones.numbers) {
        if (number == 0)
            number = nextFreeNumber();
    }
    setFixedSize(m_image.size());
    setModified(false);
    emit zonesChanged();
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
    for (int i = 0; i < completedCount(); ++i) {
        QDomElement zone = document.createElement(QStringLiteral("hitzone"));
        zone.setAttribute(QStringLiteral("number"), m_zones.numbers[i]);
        zone.appendChild(document.createTextNode(pointsText(m_zones.polygons[i])));
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
    paintSelection(painter);
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
    const QPen pen = painter.pen();
    const QBrush brush = painter.brush();
    for (int i = 0; i < completedCount(); ++i) {
        const QPolygonF &zone = m_zones.polygons[i];
        const int number = m_zones.numbers[i];
        // A zone that opens nothing yet is hatched, so it is not forgotten.
        if (m_unmapped.contains(number)) {
            painter.setBrush(QBrush(QColor(255, 0, 0, 96), Qt::BDiagPattern));
            painter.setPen(QPen(QColor(255, 0, 0), 0, Qt::DashLine));
        } else {
            painter.setBrush(brush);
            painter.setPen(pen);
        }
        painter.drawPolygon(zone, Qt::WindingFill);
        const QRectF bounds = zone.boundingRect();
        // A zone too flat for a number keeps the size the previous number had.
        const int pixelSize = int(bounds.height() * 0.5);
        if (pixelSize > 0) {
            QFont font = painter.font();
            font.setPixelSize(pixelSize);
            painter.setFont(font);
        }
        painter.setPen(pen);
        painter.drawText(bounds, Qt::AlignCenter, QString::number(number));
    }
    painter.setBrush(brush);
}

void DoublePage::paintCurrent(QPainter &painter)
{
    const QPolygonF &zone = m_zones.polygons.last();
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

void DoublePage::paintSelection(QPainter &painter)
{
    if (m_selected < 0)
        return;
    const QPolygonF &zone = m_zones.polygons[m_selected];
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0, 120, 255), 2));
    painter.drawPolygon(zone);
    painter.setPen(QPen(QColor(0, 80, 200), 1));
    painter.setBrush(Qt::white);
    for (const QPointF &corner : zone)
        painter.drawRect(QRectF(corner - QPointF(handleReach - 1, handleReach - 1),
                                QSizeF(2 * handleReach - 2, 2 * handleReach - 2)));
}
