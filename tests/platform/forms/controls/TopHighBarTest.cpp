// A scroll bar whose top is its largest value, as the operator sees and moves
// it: where its thumb is drawn, what its arrows and a drag of the thumb give,
// in the style in use and in one that never turns a scroll bar over.
#include "platform/forms/controls/TopHighBar.h"
#include "support/ProgramFolder.h"

#include <QApplication>
#include <QImage>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOptionSlider>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

// A style that draws every scroll bar the plain way, whatever its option asks.
class PlainBars : public QProxyStyle {
  public:
    PlainBars() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}
    void drawComplexControl(ComplexControl cc, const QStyleOptionComplex* opt, QPainter* p,
                            const QWidget* w) const override {
        const QStyleOptionSlider plain = plainOf(opt);
        QProxyStyle::drawComplexControl(cc, cc == CC_ScrollBar ? &plain : opt, p, w);
    }
    QRect subControlRect(ComplexControl cc, const QStyleOptionComplex* opt, SubControl sc,
                         const QWidget* w) const override {
        const QStyleOptionSlider plain = plainOf(opt);
        return QProxyStyle::subControlRect(cc, cc == CC_ScrollBar ? &plain : opt, sc, w);
    }

  private:
    static QStyleOptionSlider plainOf(const QStyleOptionComplex* opt) {
        const auto* slider = qstyleoption_cast<const QStyleOptionSlider*>(opt);
        QStyleOptionSlider plain = slider ? *slider : QStyleOptionSlider();
        plain.upsideDown = false;
        return plain;
    }
};

// The colour drawn down the middle of the bar at a height.
QRgb drawnAt(QScrollBar* bar, int y) {
    const QImage shot = bar->grab().toImage();
    return shot.pixel(shot.width() / 2, y);
}

void walkTheBar() {
    std::unique_ptr<QScrollBar> bar(ui::makeTopHigh());
    bar->setRange(0, 8);
    bar->setPageStep(1);
    bar->resize(16, 200);
    bar->show();
    ASSERT_TRUE(zvtest::waitExposed(bar.get()));
    const int arrow = bar->width();
    const int nearTop = arrow + 4;
    const int nearBottom = bar->height() - arrow - 5;

    bar->setValue(4);
    const QRgb thumb = drawnAt(bar.get(), bar->height() / 2);
    const QRgb groove = drawnAt(bar.get(), nearTop);
    ASSERT_NE(thumb, groove);

    bar->setValue(8);
    EXPECT_EQ(drawnAt(bar.get(), nearTop), thumb) << "the largest value has its thumb at the top";
    EXPECT_EQ(drawnAt(bar.get(), nearBottom), groove);
    bar->setValue(0);
    EXPECT_EQ(drawnAt(bar.get(), nearBottom), thumb);

    QTest::mouseClick(bar.get(), Qt::LeftButton, {}, QPoint(bar->width() / 2, 3));
    EXPECT_EQ(bar->value(), 1) << "▲ raises";
    QTest::mouseClick(bar.get(), Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() - 4));
    EXPECT_EQ(bar->value(), 0) << "▼ lowers";

    // The thumb taken from the bottom up to the top.
    const QPoint from(bar->width() / 2, nearBottom);
    QTest::mousePress(bar.get(), Qt::LeftButton, {}, from);
    QTest::mouseMove(bar.get(), QPoint(from.x(), bar->height() / 2));
    QTest::mouseMove(bar.get(), QPoint(from.x(), 0));
    QTest::mouseRelease(bar.get(), Qt::LeftButton, {}, QPoint(from.x(), 0));
    EXPECT_EQ(bar->value(), 8) << "a drag to the top gives the largest value";
}

TEST(TopHighBar, ThumbArrowsAndDragGoTheWayTheValueGoesInAnyStyle) {
    {
        SCOPED_TRACE("the style in use");
        walkTheBar();
    }
    const QString inUse = QApplication::style()->name();
    QApplication::setStyle(new PlainBars);
    {
        SCOPED_TRACE("a style that never turns a bar over");
        walkTheBar();
    }
    QApplication::setStyle(inUse);
}

} // namespace
