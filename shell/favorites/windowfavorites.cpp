#include "windowfavorites.h"

#include "contentmodel.h"
#include "environment.h"
#include "favorites.h"
#include "favoritesmodel.h"
#include "treeitem.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

// Long enough for a first-grader to read where the material went.
static constexpr int kCloseDelayMs = 2500;

WindowFavorites::WindowFavorites(const QString &id, QWidget *parent)
    : WindowHard(0, parent)
    , m_id(id)
    , m_favorites(new Favorites(this))
    , m_name(new QLineEdit(this))
    , m_nameRow(new QWidget(this))
    , m_added(new QLabel(this))
{
    ensureContentModel();
    auto *box = new QVBoxLayout;
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    box->addWidget(m_favorites);
    auto *row = new QHBoxLayout(m_nameRow);
    row->setContentsMargins(9, 9, 9, 9);
    row->setSpacing(4);
    auto *add = new QPushButton(m_nameRow);
    add->setObjectName(QStringLiteral("button_append_resource"));
    add->setFixedSize(152, 48);
    add->setToolTip(tr("Добавить в избранное"));
    add->setAccessibleName(add->toolTip());
    row->addWidget(new QLabel(tr("Имя:"), m_nameRow));
    row->addWidget(m_name, 1);
    row->addWidget(add);
    box->addWidget(m_nameRow);
    m_added->setObjectName(QStringLiteral("label_added"));
    m_added->setAlignment(Qt::AlignCenter);
    m_added->setWordWrap(true);
    m_added->setMinimumHeight(66); // where the name row was: the tree does not jump
    m_added->hide();
    box->addWidget(m_added);
    setContentLayout(box);
    // The X title is the drawn caption: task bars and screen readers say what the pupil sees.
    setWindowTitle(tr("Добавить в избранное"));
    // Wide enough for its caption in the theme's caption font (350 cut it off at both ends).
    setFixedSize(420, 425);

    if (const TreeItem *material = contentModel->findObject(id, contentModel->rootItem()))
        m_name->setText(material->data(0).toString());
    m_name->setCursorPosition(0);
    connect(add, &QPushButton::clicked, this, &WindowFavorites::addResource);
}

QString WindowFavorites::addedText() const
{
    return m_added->isHidden() ? QString() : m_added->text();
}

void WindowFavorites::addResource()
{
    if (m_name->text().isEmpty() || !m_added->isHidden())
        return;
    const TreeItem *material = contentModel->findObject(m_id, contentModel->rootItem());
    if (!material)
        return;
    QList<QVariant> row = material->itemData().mid(0, 4);
    row.append(m_name->text());
    tellWhereItWent(m_favorites->addMaterial(row));
}

void WindowFavorites::tellWhereItWent(const QModelIndex &added)
{
    const QModelIndex folder = added.parent();
    // The top level under the name the pupil knows it by: the favorites' own.
    const QString place = folder.isValid() ? folder.data().toString()
                                           : favoritesModel->rootItem()->data(0).toString().trimmed();
    QTreeView *tree = m_favorites->tree();
    tree->expand(folder);
    tree->setCurrentIndex(added);
    tree->scrollTo(added);
    m_nameRow->hide();
    m_added->setText(tr("Добавлено в «%1»").arg(place));
    m_added->show();
    QTimer::singleShot(kCloseDelayMs, this, &WindowHard::close);
}

void WindowFavorites::addToFavorites(const QString &id, QWidget *parent)
{
    WindowFavorites window(id, parent);
    window.exec();
}
