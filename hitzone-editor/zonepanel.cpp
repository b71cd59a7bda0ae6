#include "zonepanel.h"

#include "coursefolder.h"
#include "doublepage.h"
#include "editor.h"
#include "pagematerials.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
const QColor missing(200, 0, 0);
}

ZonePanel::ZonePanel(QWidget *parent)
    : QWidget(parent)
    , m_zones(new QTreeWidget(this))
    , m_contentsLabel(new QLabel(this))
    , m_search(new QLineEdit(this))
    , m_materials(new QListWidget(this))
    , m_assign(new QPushButton(tr("Назначить зоне"), this))
    , m_remove(new QPushButton(tr("Убрать материал"), this))
{
    m_zones->setHeaderLabels({tr("Зона"), tr("Материал")});
    m_zones->setRootIsDecorated(false);
    m_zones->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_contentsLabel->setWordWrap(true);
    m_search->setPlaceholderText(tr("Поиск по названию"));
    m_search->setClearButtonEnabled(true);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_assign);
    buttons->addWidget(m_remove);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Зоны страницы"), this));
    layout->addWidget(m_zones, 2);
    layout->addWidget(new QLabel(tr("Материалы курса"), this));
    layout->addWidget(m_contentsLabel);
    layout->addWidget(m_search);
    layout->addWidget(m_materials, 3);
    layout->addLayout(buttons);

    connect(m_zones, &QTreeWidget::itemSelectionChanged, this, &ZonePanel::selectZoneFromList);
    connect(m_search, &QLineEdit::textChanged, this, &ZonePanel::filterMaterials);
    connect(m_materials, &QListWidget::itemDoubleClicked, this, &ZonePanel::assignMaterial);
    connect(m_assign, &QPushButton::clicked, this, &ZonePanel::assignMaterial);
    connect(m_remove, &QPushButton::clicked, this, &ZonePanel::removeMaterial);
    loadContents(QString());
}

void ZonePanel::setEditor(Editor *editor)
{
    for (const QMetaObject::Connection &connection : std::as_const(m_connections))
        disconnect(connection);
    m_connections.clear();
    m_editor = editor;
    if (editor) {
        m_connections << connect(editor->materials(), &PageMaterials::changed, this, &ZonePanel::refreshZones)
                      << connect(editor->page(), &DoublePage::selectionChanged, this, &ZonePanel::showSelection)
                      << connect(editor->page(), &DoublePage::fileNameChanged, this, [this] { setEditor(m_editor); });
        const CourseFolder course(editor->page()->fileName());
        if (course.isValid() && course.contentsFile() != m_contentsPath)
            loadContents(course.contentsFile());
    }
    refreshZones();
}

bool ZonePanel::loadContents(const QString &path)
{
    m_contentsPath = path;
    bool ok = false;
    if (path.isEmpty()) {
        m_contents = CourseIds();
        m_contentsLabel->setText(tr("Содержание курса не найдено: откройте его командой «Открыть содержание курса»."));
    } else {
        ok = m_contents.read(path);
        m_contentsLabel->setText(ok ? QDir::toNativeSeparators(path)
                                    : tr("Содержание курса не прочитано: %1").arg(m_contents.errors().join(QLatin1Char('\n'))));
    }
    fillMaterials();
    refreshZones();
    return ok;
}

QString ZonePanel::contentsPath() const
{
    return m_contentsPath;
}

void ZonePanel::fillMaterials()
{
    m_materials->clear();
    for (const CourseIds::Material &material : m_contents.materials()) {
        auto *item = new QListWidgetItem(material.caption.isEmpty() ? material.id : material.caption, m_materials);
        item->setData(Qt::UserRole, material.id);
        item->setToolTip(material.id);
    }
    filterMaterials(m_search->text());
}

void ZonePanel::filterMaterials(const QString &text)
{
    for (int i = 0; i < m_materials->count(); ++i) {
        QListWidgetItem *item = m_materials->item(i);
        item->setHidden(!item->text().contains(text.trimmed(), Qt::CaseInsensitive));
    }
}

QString ZonePanel::describe(const QString &materialId) const
{
    if (materialId.isEmpty())
        return tr("нет материала");
    const QString caption = m_contents.caption(materialId);
    if (m_contentsPath.isEmpty() || !caption.isEmpty())
        return caption.isEmpty() ? materialId : QStringLiteral("%1 (%2)").arg(caption, materialId);
    return tr("%1: нет в содержании курса").arg(materialId);
}

void ZonePanel::refreshZones()
{
    const QSignalBlocker blocker(m_zones);
    m_zones->clear();
    m_assign->setEnabled(m_editor);
    m_remove->setEnabled(m_editor);
    if (!m_editor)
        return;
    const bool knownCourse = !m_contentsPath.isEmpty();
    for (int number : m_editor->page()->numbers()) {
        const QString id = m_editor->materials()->materialOf(number);
        auto *item = new QTreeWidgetItem(m_zones, {QString::number(number), describe(id)});
        item->setData(0, Qt::UserRole, number);
        if (id.isEmpty() || (knownCourse && !m_contents.contains(id))) {
            item->setForeground(1, missing);
            item->setIcon(0, style()->standardIcon(QStyle::SP_MessageBoxWarning));
        }
    }
    showSelection(m_editor->page()->selectedNumber());
}

void ZonePanel::showSelection(int number)
{
    const QSignalBlocker blocker(m_zones);
    m_zones->clearSelection();
    for (int i = 0; i < m_zones->topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = m_zones->topLevelItem(i);
        if (item->data(0, Qt::UserRole).toInt() == number) {
            item->setSelected(true);
            m_zones->setCurrentItem(item);
            m_zones->scrollToItem(item);
        }
    }
}

void ZonePanel::selectZoneFromList()
{
    if (m_editor)
        m_editor->page()->selectNumber(selectedNumber());
}

int ZonePanel::selectedNumber() const
{
    const QList<QTreeWidgetItem *> selected = m_zones->selectedItems();
    return selected.isEmpty() ? 0 : selected.first()->data(0, Qt::UserRole).toInt();
}

void ZonePanel::assignMaterial()
{
    QListWidgetItem *material = m_materials->currentItem();
    const int number = selectedNumber();
    if (m_editor && material && !material->isHidden() && number > 0)
        m_editor->materials()->setMaterial(number, material->data(Qt::UserRole).toString());
}

void ZonePanel::removeMaterial()
{
    const int number = selectedNumber();
    if (m_editor && number > 0)
        m_editor->materials()->setMaterial(number, QString());
}
