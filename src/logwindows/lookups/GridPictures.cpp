#include "logwindows/lookups/GridPictures.h"

#include <QPaintEngine>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <optional>

namespace logwindows {

size_t qHash(const PartLook& look, size_t seed) {
    return qHashMulti(seed, look.text, qHashRange(look.values.begin(), look.values.end()),
                      qHashRange(look.colours.begin(), look.colours.end()), look.size.width(),
                      look.size.height(), look.format, look.under);
}

bool PartLook::takeColours(const QPalette& palette) {
    colours.clear();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        for (int role = 0; role < QPalette::NColorRoles; ++role) {
            // A role that stands for no colour has no brush in any palette.
            if (role == QPalette::NoRole) continue;
            const QBrush& brush = palette.brush(group, static_cast<QPalette::ColorRole>(role));
            if (brush.style() != Qt::SolidPattern) return false;
            colours.push_back(brush.color().rgba());
        }
    return true;
}

namespace {

// The image a widget's painter paints into at whole pixels (the screen's
// backing store); none when it scales, turns, blends or paints elsewhere.
QImage* screenOf(QPainter* painter) {
    QPaintEngine* engine = painter->paintEngine();
    QPaintDevice* device = engine ? engine->paintDevice() : nullptr;
    if (!device || device->devType() != QInternal::Image || device->devicePixelRatio() != 1.0) return nullptr;
    const QTransform t = painter->deviceTransform();
    if (t.type() > QTransform::TxTranslate || t.dx() != std::trunc(t.dx()) || t.dy() != std::trunc(t.dy()))
        return nullptr;
    if (painter->opacity() != 1.0 || painter->compositionMode() != QPainter::CompositionMode_SourceOver)
        return nullptr;
    return static_cast<QImage*>(device);
}

// The one pixel value of the area, when all its pixels have it (a part is
// painted over its view's plain background); nothing otherwise.
std::optional<quint32> evenUnder(const QImage& screen, const QRect& area) {
    if (screen.depth() != 32 || !screen.rect().contains(area)) return std::nullopt;
    const quint32 first = reinterpret_cast<const quint32*>(screen.constScanLine(area.top()))[area.left()];
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const quint32* line = reinterpret_cast<const quint32*>(screen.constScanLine(y)) + area.left();
        if (std::any_of(line, line + area.width(), [first](quint32 p) { return p != first; }))
            return std::nullopt;
    }
    return first;
}

// A part painted over the plain background; a null picture when its painting
// reaches beyond its place (a line on its neighbour's edge), which a copy of
// the place alone would lose.
QImage pictureOf(const QPainter* painter, QSize size, QImage::Format format, quint32 under,
                 const std::function<void(QPainter*, const QRect&)>& paint) {
    constexpr int kAround = 2;
    QImage wide(size + QSize(2 * kAround, 2 * kAround), format);
    wide.fill(under);
    QPainter on(&wide);
    on.setRenderHints(painter->renderHints());
    on.setLayoutDirection(painter->layoutDirection());
    on.setFont(painter->font());
    on.setPen(painter->pen());
    on.setBrush(painter->brush());
    const QRect place(QPoint(kAround, kAround), size);
    paint(&on, place);
    on.end();
    for (int y = 0; y < wide.height(); ++y) {
        const quint32* line = reinterpret_cast<const quint32*>(wide.constScanLine(y));
        const bool inside = y >= place.top() && y <= place.bottom();
        const auto untouched = [under](const quint32* from, const quint32* to) {
            return std::all_of(from, to, [under](quint32 p) { return p == under; });
        };
        if (inside ? !untouched(line, line + kAround) ||
                         !untouched(line + place.right() + 1, line + wide.width())
                   : !untouched(line, line + wide.width()))
            return {};
    }
    return wide.copy(place);
}

} // namespace

void PartPictures::keepFor(const QFont& font, const QStyle* style) {
    if (font == font_ && style == style_) return;
    kept_.clear();
    font_ = font;
    style_ = style;
}

bool PartPictures::paint(QPainter* painter, const QRect& area, PartLook look,
                         const std::function<void(QPainter*, const QRect&)>& paint) {
    QImage* screen = screenOf(painter);
    if (!screen || area.isEmpty()) return false;
    const std::optional<quint32> under = evenUnder(*screen, painter->deviceTransform().mapRect(area));
    if (!under) return false;
    look.size = area.size();
    look.format = static_cast<int>(screen->format());
    look.under = *under;
    const QImage* picture = kept_.object(look);
    QImage made;
    if (!picture) {
        // Drawn from this copy: a picture dearer than all the cache holds is
        // not kept, and the cache deletes it at once.
        made = pictureOf(painter, area.size(), screen->format(), *under, paint);
        picture = &made;
        kept_.insert(look, new QImage(made), std::max<qsizetype>(1, made.sizeInBytes()));
    }
    // A part that paints beyond its own place is painted as it always is.
    if (picture->isNull()) return false;
    // The picture holds the pixels under it already: it replaces them.
    painter->setCompositionMode(QPainter::CompositionMode_Source);
    painter->drawImage(area.topLeft(), *picture);
    painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    return true;
}

void KeptCells::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    // A picture, a check box or a brush of its own is not all in the look.
    constexpr auto kOwn = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDecoration;
    const bool plain = cell.widget && !(cell.features & kOwn) && cell.backgroundBrush.style() == Qt::NoBrush;
    if (plain) {
        pictures_.keepFor(cell.font, cell.widget->style());
        PartLook look;
        look.text = cell.text;
        look.values = {static_cast<qint64>(cell.state), static_cast<qint64>(cell.displayAlignment),
                       static_cast<qint64>(cell.features), static_cast<qint64>(cell.textElideMode),
                       static_cast<qint64>(cell.direction)};
        const auto paintCell = [&](QPainter* on, const QRect& at) {
            QStyleOptionViewItem moved = option;
            moved.rect = at;
            QStyledItemDelegate::paint(on, moved, index);
        };
        if (look.takeColours(cell.palette) && pictures_.paint(painter, option.rect, look, paintCell)) return;
    }
    QStyledItemDelegate::paint(painter, option, index);
}

KeptHeader::KeptHeader(QWidget* table) : QHeaderView(Qt::Horizontal, table) {
    setSectionsClickable(true);
    setHighlightSections(true);
}

void KeptHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    QStyleOptionHeader section;
    initStyleOption(&section);
    initStyleOptionForIndex(&section, logicalIndex);
    if (section.icon.isNull()) {
        pictures_.keepFor(font(), style());
        PartLook look;
        look.text = section.text;
        look.values = {static_cast<qint64>(section.state),
                       static_cast<qint64>(section.position),
                       static_cast<qint64>(section.selectedPosition),
                       static_cast<qint64>(section.sortIndicator),
                       static_cast<qint64>(section.textAlignment),
                       static_cast<qint64>(textElideMode()),
                       static_cast<qint64>(section.direction)};
        const auto paintPart = [&](QPainter* on, const QRect& at) {
            QHeaderView::paintSection(on, at, logicalIndex);
        };
        if (look.takeColours(section.palette) && pictures_.paint(painter, rect, look, paintPart)) return;
    }
    QHeaderView::paintSection(painter, rect, logicalIndex);
}

QSize KeptHeader::sectionSizeFromContents(int logicalIndex) const {
    const QAbstractItemModel* m = model();
    if (!m || isSortIndicatorShown()) return QHeaderView::sectionSizeFromContents(logicalIndex);
    for (int role : {Qt::SizeHintRole, Qt::DecorationRole, Qt::FontRole})
        if (m->headerData(logicalIndex, orientation(), role).isValid())
            return QHeaderView::sectionSizeFromContents(logicalIndex);
    if (font() != measuredFont_ || style() != measuredStyle_ || measured_.size() > 256) {
        measured_.clear();
        measuredFont_ = font();
        measuredStyle_ = style();
    }
    const QString text = m->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString();
    const auto known = measured_.constFind(text);
    if (known != measured_.cend()) return *known;
    const QSize size = QHeaderView::sectionSizeFromContents(logicalIndex);
    measured_.insert(text, size);
    return size;
}

void KeptMenuItems::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                                const QWidget* widget) const {
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (element == CE_MenuBarItem && item && item->icon.isNull()) {
        pictures_.keepFor(item->font, baseStyle());
        PartLook look;
        look.text = item->text;
        look.values = {
            static_cast<qint64>(item->state),        static_cast<qint64>(item->menuItemType),
            static_cast<qint64>(item->checkType),    static_cast<qint64>(item->checked),
            static_cast<qint64>(item->maxIconWidth), static_cast<qint64>(item->reservedShortcutWidth),
            static_cast<qint64>(item->direction)};
        const auto paintItem = [&](QPainter* on, const QRect& at) {
            QStyleOptionMenuItem moved = *item;
            moved.rect = at;
            QProxyStyle::drawControl(element, &moved, on, widget);
        };
        if (look.takeColours(item->palette) && pictures_.paint(painter, item->rect, look, paintItem)) return;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

void keepMenuItemPictures(QMenuBar& bar) {
    auto* style = new KeptMenuItems;
    style->setParent(&bar);
    bar.setStyle(style);
}

} // namespace logwindows
