#include "pagelayout.h"

namespace {
constexpr int titleHeight = 150;
constexpr int footerHeight = 80;

// Fewer pictures on a page get bigger cards.
QSize boxSizeFor(qsizetype pictures)
{
    if (pictures <= 1)
        return QSize(300, 340);
    if (pictures == 2)
        return QSize(235, 300);
    return QSize(230, 250);
}
}

QSize PageLayout::imageSize()
{
    return QSize(1130, 832);
}

QRect PageLayout::pageRect(int side)
{
    const int half = imageSize().width() / 2;
    return QRect(side * half, 0, half, imageSize().height());
}

QRect PageLayout::titleRect(int side)
{
    const QRect page = pageRect(side);
    return QRect(page.left() + 40, 30, page.width() - 80, titleHeight - 40);
}

QList<PageLayout::Zone> PageLayout::zones(const QList<CoursePages::Chapter> &chapters)
{
    QList<CoursePages::Material> left;
    QList<CoursePages::Material> right;
    if (chapters.size() == 1) {
        const QList<CoursePages::Material> all = chapters.first().materials;
        const int leftCount = int(all.size() + 1) / 2;
        left = all.mid(0, leftCount);
        right = all.mid(leftCount);
    } else {
        for (int i = 0; i < chapters.size(); ++i)
            (i % 2 == 0 ? left : right) += chapters[i].materials;
    }
    return placeOnPage(0, left) + placeOnPage(1, right);
}

QList<PageLayout::Zone> PageLayout::placeOnPage(int side, const QList<CoursePages::Material> &materials)
{
    // Up to two pictures a row, rows centred in the space between the title and the footer.
    const QSize boxSize = boxSizeFor(materials.size());
    const QRect page = pageRect(side);
    const QRect area(page.left(), titleHeight, page.width(), page.height() - titleHeight - footerHeight);
    const int perRow = materials.size() == 1 ? 1 : 2;
    const int rows = int(materials.size() + perRow - 1) / perRow;
    const int gap = 30;
    const int top = area.top() + (area.height() - rows * boxSize.height() - (rows - 1) * gap) / 2;
    QList<Zone> zones;
    for (int i = 0; i < materials.size(); ++i) {
        const int row = i / perRow;
        const int inRow = qMin<int>(perRow, int(materials.size()) - row * perRow);
        const int rowWidth = inRow * boxSize.width() + (inRow - 1) * gap;
        const int left = area.left() + (area.width() - rowWidth) / 2 + (i % perRow) * (boxSize.width() + gap);
        zones.append({QRect(QPoint(left, top + row * (boxSize.height() + gap)), boxSize), materials[i].id});
    }
    return zones;
}
