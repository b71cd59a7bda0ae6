#include "sortmovie.h"

#include "canvas.h"
#include "gamestage.h"
#include "picturebook.h"
#include "shapes.h"

using Op = SwfActions::Op;

namespace {
constexpr double itemWidth = 140;
constexpr double itemHeight = 48;
constexpr double binTop = 92;
constexpr double binHeight = 300;
constexpr double header = 64;
constexpr int maxItems = 10;
const QColor itemColor(255, 205, 110);
const QColor againColor(140, 205, 110);

QImage itemFace()
{
    Canvas canvas(QSize(int(itemWidth), int(itemHeight) + 4));
    const QPainterPath outline = Shapes::rounded(QRectF(1, 1, itemWidth - 2, itemHeight - 3), 14);
    canvas.shadow(outline, QPointF(0, 2.5), 50);
    canvas.glossy(outline, itemColor, itemColor.darker(150));
    return canvas.finish();
}
} // namespace

SortMovie::SortMovie(const SourceElement &element)
    : m_element(element)
{
    if (element.tagName() == QLatin1String("columns")) {
        for (const SourceElement &column : element.children(QStringLiteral("column")))
            m_bins.append({column.content(), QString()});
        for (const SourceElement &item : element.children(QStringLiteral("item"))) {
            const int bin = int(item.number(QStringLiteral("column"), -1));
            if (bin < 0 || bin >= m_bins.size())
                item.error(QStringLiteral("column=\"%1\": there are columns 0 to %2").arg(item.text(QStringLiteral("column"))).arg(m_bins.size() - 1));
            else
                m_items.append({item.content(), bin});
        }
    } else {
        for (const SourceElement &target : element.children(QStringLiteral("target"))) {
            m_items.append({target.content(), int(m_bins.size())});
            m_bins.append({QString(), target.picture(QStringLiteral("picture"))});
        }
    }
    if (m_bins.size() < 2 || m_bins.size() > 4)
        element.error(QStringLiteral("%1 places; a sorting game has two to four").arg(m_bins.size()));
    if (m_items.isEmpty() || m_items.size() > maxItems)
        element.error(QStringLiteral("%1 words; a sorting game has one to %2").arg(m_items.size()).arg(maxItems));
    m_bins = m_bins.mid(0, 4);
    m_items = m_items.mid(0, maxItems);
}

QRectF SortMovie::binRect(int bin) const
{
    const double gap = 16;
    const double width = (GameStage::width - 40 - (m_bins.size() - 1) * gap) / m_bins.size();
    return QRectF(20 + bin * (width + gap), binTop, width, binHeight);
}

QPointF SortMovie::home(int item) const
{
    const int perRow = 5;
    const int row = item / perRow;
    const int inRow = qMin(perRow, int(m_items.size()) - row * perRow);
    const double gap = 12;
    const double left = (GameStage::width - inRow * itemWidth - (inRow - 1) * gap) / 2;
    return QPointF(left + (item % perRow) * (itemWidth + gap), 410 + row * (itemHeight + 12));
}

quint16 SortMovie::defineItem(GameStage &stage, const QString &text) const
{
    StageKit &kit = stage.kit();
    SwfTimeline clip;
    clip.placeObject(kit.picture(itemFace()), 1);
    StageKit::Text label;
    label.rect = QRectF(4, 8, itemWidth - 8, 34);
    label.size = 24;
    label.text = text;
    clip.placeObject(kit.text(label), 2);
    clip.showFrame();
    return stage.movie().defineSprite(clip);
}

quint16 SortMovie::defineBin(GameStage &stage, int bin) const
{
    const QRectF rect = binRect(bin);
    Canvas canvas(QSize(qCeil(rect.width()), qCeil(rect.height())));
    canvas.fill(Shapes::rounded(QRectF(2, 2, rect.width() - 4, rect.height() - 4), 16), QColor(255, 252, 244),
                QColor(200, 170, 130), 2);
    if (!m_bins[bin].picture.isEmpty()) {
        const double side = qMin(150.0, rect.width() - 20);
        PictureBook::paint(canvas.painter(), QRectF((rect.width() - side) / 2, 16, side, side), m_bins[bin].picture);
    } else {
        canvas.lettering(m_bins[bin].caption, Canvas::font(24, false), QRectF(8, 10, rect.width() - 16, 44),
                         QColor(0x3a, 0x2e, 0x26), Qt::transparent, 0);
    }
    return stage.kit().picture(canvas.finish(), rect.topLeft());
}

SwfActions SortMovie::script(bool hasLink) const
{
    // Handlers of the word clips: r1 is the clip (this).
    SwfActions press;
    press.pushRegister(1).getMember(QStringLiteral("placed")).ifTrue(QStringLiteral("ignore"));
    press.pushPath(QStringLiteral("_root")).callMethodOnStack(QStringLiteral("getNextHighestDepth"), 0);
    press.pushRegister(1).callMethodOnStack(QStringLiteral("swapDepths"), 1).op(Op::Pop);
    press.pushRegister(1).callMethodOnStack(QStringLiteral("startDrag"), 0).op(Op::Pop);
    press.label(QStringLiteral("ignore"));

    // drop: r1 the clip, r2 its centre x, r3 its centre y, r4 the place it is over.
    SwfActions drop;
    const QString back = QStringLiteral("back");
    const QString done = QStringLiteral("done");
    drop.pushRegister(1).getMember(QStringLiteral("placed")).ifTrue(done);
    drop.pushRegister(1).callMethodOnStack(QStringLiteral("stopDrag"), 0).op(Op::Pop);
    drop.pushRegister(1).getMember(QStringLiteral("_x")).push(itemWidth / 2).op(Op::Add2).storeRegister(2).op(Op::Pop);
    drop.pushRegister(1).getMember(QStringLiteral("_y")).push(itemHeight / 2).op(Op::Add2).storeRegister(3).op(Op::Pop);
    drop.push(-1).storeRegister(4).op(Op::Pop);
    for (int bin = 0; bin < m_bins.size(); ++bin) {
        const QRectF rect = binRect(bin);
        const QString outside = QStringLiteral("outside%1").arg(bin);
        drop.pushRegister(2).push(rect.left()).op(Op::Less2).ifTrue(outside);
        drop.pushRegister(2).push(rect.right()).op(Op::Greater).ifTrue(outside);
        drop.pushRegister(3).push(rect.top()).op(Op::Less2).ifTrue(outside);
        drop.pushRegister(3).push(rect.bottom()).op(Op::Greater).ifTrue(outside);
        drop.push(bin).storeRegister(4).op(Op::Pop);
        drop.label(outside);
    }
    drop.pushRegister(4).push(-1).op(Op::Equals2).ifTrue(back);
    drop.pushRegister(4).pushRegister(1).getMember(QStringLiteral("bin")).op(Op::Equals2).ifTrue(QStringLiteral("right"));
    GameStage::say(drop, QStringLiteral("Не сюда! Подумай ещё."), GameStage::red());
    drop.label(back);
    drop.pushRegister(1).pushRegister(1).getMember(QStringLiteral("homeX")).setMember(QStringLiteral("_x"));
    drop.pushRegister(1).pushRegister(1).getMember(QStringLiteral("homeY")).setMember(QStringLiteral("_y"));
    drop.jump(done);

    // Right: the word lines up in its place, below the ones already there.
    drop.label(QStringLiteral("right"));
    drop.pushRegister(1).push(true).setMember(QStringLiteral("placed"));
    drop.pushRegister(1).push("binLeft").pushRegister(4).op(Op::Add2).op(Op::GetVariable).setMember(QStringLiteral("_x"));
    drop.pushRegister(1).push(binTop + header).push("filled").pushRegister(4).op(Op::Add2).op(Op::GetVariable);
    drop.push(itemHeight + 8).op(Op::Multiply).op(Op::Add2).setMember(QStringLiteral("_y"));
    drop.push("filled").pushRegister(4).op(Op::Add2).push("filled").pushRegister(4).op(Op::Add2).op(Op::GetVariable);
    drop.push(1).op(Op::Add2).op(Op::SetVariable);
    drop.getVariable(QStringLiteral("placedCount")).push(1).op(Op::Add2).setVariable(QStringLiteral("placedCount"));
    GameStage::say(drop, QStringLiteral("Верно!"), GameStage::green());
    drop.getVariable(QStringLiteral("placedCount")).push(int(m_items.size())).op(Op::Less2).ifTrue(done);
    GameStage::say(drop, QStringLiteral("Молодец! Всё на своих местах."), GameStage::green());
    drop.pushPath(QStringLiteral("again")).push(true).setMember(QStringLiteral("_visible"));
    if (hasLink)
        drop.pushPath(QStringLiteral("link")).push(true).setMember(QStringLiteral("_visible"));
    drop.label(done);

    SwfActions restart;
    for (int bin = 0; bin < m_bins.size(); ++bin) {
        const QRectF rect = binRect(bin);
        restart.push(QStringLiteral("filled%1").arg(bin)).push(0).op(Op::SetVariable);
        restart.push(QStringLiteral("binLeft%1").arg(bin)).push(rect.left() + (rect.width() - itemWidth) / 2).op(Op::SetVariable);
    }
    for (int i = 0; i < m_items.size(); ++i) {
        const QString clip = QStringLiteral("i%1").arg(i);
        const QPointF at = home(i);
        for (const auto &member : {qMakePair(QStringLiteral("homeX"), at.x()), qMakePair(QStringLiteral("homeY"), at.y()),
                                   qMakePair(QStringLiteral("_x"), at.x()), qMakePair(QStringLiteral("_y"), at.y()),
                                   qMakePair(QStringLiteral("bin"), double(m_items[i].bin))})
            restart.pushPath(clip).push(member.second).setMember(member.first);
        restart.pushPath(clip).push(false).setMember(QStringLiteral("placed"));
        restart.pushPath(clip).getVariable(QStringLiteral("pressWord")).setMember(QStringLiteral("onPress"));
        for (const char *event : {"onRelease", "onReleaseOutside"})
            restart.pushPath(clip).getVariable(QStringLiteral("dropWord")).setMember(QString::fromLatin1(event));
    }
    restart.push(0).setVariable(QStringLiteral("placedCount"));
    GameStage::say(restart, QString(), GameStage::green());
    restart.pushPath(QStringLiteral("again")).push(false).setMember(QStringLiteral("_visible"));
    if (hasLink)
        restart.pushPath(QStringLiteral("link")).push(false).setMember(QStringLiteral("_visible"));

    SwfActions a;
    a.op(Op::Stop);
    a.defineMethod(QStringLiteral("pressWord"), {}, 2, press);
    a.defineMethod(QStringLiteral("dropWord"), {}, 5, drop);
    a.defineFunction2(QStringLiteral("restart"), {}, 1, restart);
    a.callFunction(QStringLiteral("restart"), 0).op(Op::Pop);
    return a;
}

QByteArray SortMovie::build() const
{
    GameStage stage(m_element);
    SwfMovie &movie = stage.movie();
    int depth = GameStage::firstFreeDepth;
    for (int bin = 0; bin < m_bins.size(); ++bin)
        movie.placeObject(defineBin(stage, bin), depth++);
    SwfActions again;
    again.pushPath(QStringLiteral("_root")).callMethodOnStack(QStringLiteral("restart"), 0).op(Op::Pop);
    const QRectF againRect(GameStage::width - 230, GameStage::height - 66, 210, 56);
    movie.placeObject(stage.kit().textButton(againRect.size(), againColor, QStringLiteral("Ещё раз"), again, 22), depth++,
                      QTransform::fromTranslate(againRect.x(), againRect.y()), QStringLiteral("again"));
    const bool hasLink = stage.placeLink(depth++);
    for (int i = 0; i < m_items.size(); ++i) {
        const QPointF at = home(i);
        movie.placeObject(defineItem(stage, m_items[i].text), depth++, QTransform::fromTranslate(at.x(), at.y()),
                          QStringLiteral("i%1").arg(i));
    }
    movie.doAction(script(hasLink));
    movie.showFrame();
    return movie.toBytes();
}
