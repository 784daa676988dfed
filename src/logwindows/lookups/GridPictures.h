#pragma once
// Laying out the text of a grid's cells and headers (and of the menu items) is
// most of what painting a list window costs, and a list shows the same cells again and again (the next
// look-up, a window uncovered). A cell or header section is painted once into a
// picture and copied from then on, wherever the same look is painted over the
// same plain background; a part over anything else, or a painter that does not
// paint the screen's image pixel for pixel (scaled, printing), is painted as it
// always is. What is shown stays the same to the pixel.
#include <QCache>
#include <QHeaderView>
#include <QImage>
#include <QMenuBar>
#include <QProxyStyle>
#include <QStyledItemDelegate>
#include <array>
#include <functional>
#include <vector>

namespace logwindows {

// All that one painted part depends on besides the background under it.
struct PartLook {
    QString text;
    std::array<qint64, 8> values{};
    // Every colour of the palette it is painted with.
    std::vector<QRgb> colours;
    // Takes the palette's colours; false when a brush is more than a colour,
    // which the part's picture would not stand for.
    bool takeColours(const QPalette& palette);
    // Filled in by the pictures: the part's size and format, and the pixel value under it.
    QSize size;
    int format = 0;
    quint32 under = 0;
    bool operator==(const PartLook&) const = default;
};
size_t qHash(const PartLook& look, size_t seed = 0);

class PartPictures {
  public:
    // Paints `area` as `paint` does there, from the picture kept for the look
    // over the same background; false (nothing painted) where no picture can stand
    // for the painting.
    bool paint(QPainter* painter, const QRect& area, PartLook look,
               const std::function<void(QPainter*, const QRect&)>& paint);
    // Drops the pictures when the font or style they were made with changes.
    void keepFor(const QFont& font, const QStyle* style);

  private:
    // A few hundred cells of a list window.
    QCache<PartLook, QImage> kept_{2 << 20};
    QFont font_;
    const QStyle* style_ = nullptr;
};

class KeptCells : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

  private:
    mutable PartPictures pictures_;
};

class KeptHeader : public QHeaderView {
  public:
    // A table's own horizontal header, as the table makes it.
    explicit KeptHeader(QWidget* table);

  protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    // The header's height is measured over every section's text whenever the
    // table lays itself out: a section of plain text is measured once.
    QSize sectionSizeFromContents(int logicalIndex) const override;

  private:
    mutable PartPictures pictures_;
    mutable QHash<QString, QSize> measured_;
    mutable QFont measuredFont_;
    mutable const QStyle* measuredStyle_ = nullptr;
};

// The menu bar of a list window: each item's text, shown again with every
// look-up, is painted once as well.
class KeptMenuItems : public QProxyStyle {
  public:
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;

  private:
    mutable PartPictures pictures_;
};
void keepMenuItemPictures(QMenuBar& bar);

} // namespace logwindows
