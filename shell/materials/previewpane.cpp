#include "previewpane.h"

#include "viewerobject.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

PreviewPane::PreviewPane(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("widget_object"));
    auto *box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    auto *caption = new QLabel(this);
    caption->setObjectName(QStringLiteral("label_caption"));
    caption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    caption->setTextInteractionFlags(Qt::NoTextInteraction);
    // A label's own size ignores the layout inside it: room for the themed title and buttons.
    caption->setMinimumHeight(32);
    m_row = new QHBoxLayout(caption);
    m_row->setContentsMargins(0, 0, 0, 0);
    m_row->setSpacing(5);
    m_title = new QLabel(caption);
    m_title->setObjectName(QStringLiteral("label_hdr"));
    m_title->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_title->setTextInteractionFlags(Qt::NoTextInteraction);
    m_row->addWidget(m_title, 1);
    m_viewer = new ViewerObject(ViewerObject::Preview, this);
    box->addWidget(caption, 0);
    box->addWidget(m_viewer, 1);
}

QPushButton *PreviewPane::addButton(const char *objectName, const QString &toolTip)
{
    auto *button = new QPushButton(this);
    button->setObjectName(QLatin1String(objectName));
    button->setFixedSize(18, 24);
    button->setEnabled(false);
    button->setToolTip(toolTip);
    button->setAccessibleName(toolTip);
    m_row->addWidget(button, 0, Qt::AlignTop);
    m_buttons.append(button);
    return button;
}

void PreviewPane::showMaterial(const QString &caption, const QString &id)
{
    for (QPushButton *button : std::as_const(m_buttons))
        button->setEnabled(true);
    const QString title = QStringLiteral("  %1").arg(caption);
    m_title->setText(m_title->fontMetrics().elidedText(title, Qt::ElideRight, m_title->width()));
    m_viewer->loadObject(id);
}
