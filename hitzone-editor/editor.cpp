#include "editor.h"

#include "doublepage.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QMessageBox>
#include <QVBoxLayout>

Editor::Editor(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_page(new DoublePage(this))
{
    // The title stays the same whatever the page's file; [*] shows unsaved changes.
    setWindowTitle(tr("Безымянный.xml") + QStringLiteral("[*]"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(m_page);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    connect(m_page, &DoublePage::modificationChanged, this, &QWidget::setWindowModified);
}

bool Editor::save()
{
    if (m_page->fileName().isEmpty()) {
        const QString name = askFileName();
        if (name.isEmpty())
            return false;
        m_page->setFileName(name);
    }
    return m_page->writeFile();
}

QString Editor::askFileName()
{
    QFileDialog dialog(this, tr("Сохранить файл"), QString(), QStringLiteral("*.xml"));
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
