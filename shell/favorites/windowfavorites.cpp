#include "windowfavorites.h"

#include "contentmodel.h"
#include "environment.h"
#include "favorites.h"
#include "treeitem.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

WindowFavorites::WindowFavorites(const QString &id, QWidget *parent)
    : WindowHard(0, parent)
    , m_id(id)
    , m_favorites(new Favorites(this))
    , m_name(new QLineEdit(this))
{
    ensureContentModel();
    auto *box = new QVBoxLayout;
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    box->addWidget(m_favorites);
    auto *row = new QHBoxLayout;
    row->setContentsMargins(9, 9, 9, 9);
    row->setSpacing(4);
    auto *add = new QPushButton(this);
    add->setObjectName(QStringLiteral("button_append_resource"));
    add->setFixedSize(152, 48);
    add->setToolTip(tr("Добавить в избранное"));
    add->setAccessibleName(add->toolTip());
    row->addWidget(new QLabel(tr("Имя:"), this));
    row->addWidget(m_name, 1);
    row->addWidget(add);
    box->addLayout(row);
    setContentLayout(box);
    setCaptionText(tr("Добавить в избранное"));
    // Wide enough for its caption in the theme's caption font (350 cut it off at both ends).
    setFixedSize(420, 425);

    if (const TreeItem *material = contentModel->findObject(id, contentModel->rootItem()))
        m_name->setText(material->data(0).toString());
    m_name->setCursorPosition(0);
    connect(add, &QPushButton::clicked, this, &WindowFavorites::addResource);
}

void WindowFavorites::addResource()
{
    if (m_name->text().isEmpty())
        return;
    const TreeItem *material = contentModel->findObject(m_id, contentModel->rootItem());
    if (!material)
        return;
    QList<QVariant> row = material->itemData().mid(0, 4);
    row.append(m_name->text());
    m_favorites->addMaterial(row);
}

void WindowFavorites::addToFavorites(const QString &id, QWidget *parent)
{
    WindowFavorites window(id, parent);
    window.exec();
}
