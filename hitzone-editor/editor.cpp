#include "editor.h"

#include "doublepage.h"
#include "pagematerials.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QVBoxLayout>

Editor::Editor(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_page(new DoublePage(this))
    , m_materials(new PageMaterials(m_page))
{
    updateTitle();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(m_page);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    connect(m_page, &DoublePage::modificationChanged, this, &QWidget::setWindowModified);
    connect(m_page, &DoublePage::fileNameChanged, this, &Editor::updateTitle);
    connect(m_materials, &PageMaterials::changed, this, [this] { m_page->setUnmapped(m_materials->unmapped()); });
}

void Editor::open(const QString &path)
{
    m_page->readFile(path);
    m_materials->load(path);
}

void Editor::updateTitle()
{
    // [*] shows unsaved changes.
    const QString name = m_page->fileName().isEmpty() ? tr("Безымянный.xml") : QFileInfo(m_page->fileName()).fileName();
    setWindowTitle(name + QStringLiteral("[*]"));
}

bool Editor::save()
{
    if (m_page->fileName().isEmpty()) {
        const QString name = askFileName();
        if (name.isEmpty())
            return false;
        m_page->setFileName(name);
    }
    return write();
}

bool Editor::write()
{
    if (!m_page->writeFile())
        return false;
    QString error;
    if (m_materials->save(m_page->fileName(), &error))
        return true;
    m_page->setModified(true);
    QMessageBox::warning(this, tr("Ошибка"), tr("Не удалось сохранить материалы зон рядом с «%1»: %2")
                                                 .arg(m_page->fileName(), error));
    return false;
}

bool Editor::saveAs()
{
    const QString name = askFileName();
    if (name.isEmpty())
        return false;
    const QString old = m_page->fileName();
    m_page->setFileName(name);
    if (write())
        return true;
    m_page->setFileName(old); // nothing was written there: later saves go where they went before
    return false;
}

QString Editor::askFileName()
{
    QFileDialog dialog(this, tr("Сохранить файл"), QFileInfo(m_page->fileName()).path(), QStringLiteral("*.xml"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // The open dialog lists *.xml only; the dialog adds the suffix before it asks about
    // overwriting, so an existing "name.xml" is not replaced unasked.
    dialog.setDefaultSuffix(QStringLiteral("xml"));
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return dialog.selectedFiles().value(0);
}

QString Editor::closingQuestion() const
{
    QString text = tr("Сохранить изменения на странице перед закрытием?");
    if (m_page->hasUnfinishedHitzone())
        text += QStringLiteral("\n\n")
                + tr("Незаконченная зона в файл не записывается: чтобы сохранить её, закончите её командой "
                     "«Добавить зону».");
    return text;
}

void Editor::closeEvent(QCloseEvent *event)
{
    if (!m_page->isModified()) {
        event->accept();
        return;
    }
    const auto answer = QMessageBox::question(this, tr("Double page editor"), closingQuestion(),
                                              QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                                              QMessageBox::Save);
    if (answer == QMessageBox::Discard || (answer == QMessageBox::Save && save()))
        event->accept();
    else
        event->ignore();
}
