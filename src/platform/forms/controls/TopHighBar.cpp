#include "platform/forms/controls/TopHighBar.h"

#include <QProxyStyle>
#include <QStyleOptionSlider>
#include <algorithm>

namespace ui {
namespace {

// Draws the bar, and finds what a click hits, as a bar whose value runs the
// other way: the largest value at the top in every style, whether or not the
// style itself turns a bar over.
class TopHighStyle : public QProxyStyle {
  public:
    void drawComplexControl(ComplexControl cc, const QStyleOptionComplex* opt, QPainter* p,
                            const QWidget* w) const override {
        if (const QStyleOptionSlider mirrored = mirror(cc, opt); mirrored.upsideDown)
            QProxyStyle::drawComplexControl(cc, opt, p, w);
        else
            QProxyStyle::drawComplexControl(cc, &mirrored, p, w);
    }
    QRect subControlRect(ComplexControl cc, const QStyleOptionComplex* opt, SubControl sc,
                         const QWidget* w) const override {
        const QStyleOptionSlider mirrored = mirror(cc, opt);
        return QProxyStyle::subControlRect(cc, mirrored.upsideDown ? opt : &mirrored, sc, w);
    }
    SubControl hitTestComplexControl(ComplexControl cc, const QStyleOptionComplex* opt, const QPoint& pos,
                                     const QWidget* w) const override {
        const QStyleOptionSlider mirrored = mirror(cc, opt);
        return QProxyStyle::hitTestComplexControl(cc, mirrored.upsideDown ? opt : &mirrored, pos, w);
    }

  private:
    // The bar's own option says it is upside down; the mirrored one does not,
    // so that the base style, which asks this style again for the parts of
    // what it draws, does not mirror it twice. Anything else comes back
    // marked as not to be mirrored.
    static QStyleOptionSlider mirror(ComplexControl cc, const QStyleOptionComplex* opt) {
        QStyleOptionSlider untouched;
        untouched.upsideDown = true;
        const auto* slider = qstyleoption_cast<const QStyleOptionSlider*>(opt);
        if (cc != CC_ScrollBar || !slider || !slider->upsideDown) return untouched;
        QStyleOptionSlider m = *slider;
        m.sliderPosition = m.minimum + m.maximum - m.sliderPosition;
        m.sliderValue = m.minimum + m.maximum - m.sliderValue;
        m.upsideDown = false;
        return m;
    }
};

class TopHighBar : public QScrollBar {
  public:
    explicit TopHighBar(QWidget* parent) : QScrollBar(Qt::Vertical, parent) {
        auto* style = new TopHighStyle;
        style->setParent(this);
        setStyle(style);
        // Qt steps towards the minimum with the top arrow, the up key and a
        // click above the thumb: each step is turned round.
        connect(this, &QAbstractSlider::actionTriggered, this, [this](int action) {
            int step = 0;
            if (action == SliderSingleStepAdd) step = -singleStep();
            if (action == SliderSingleStepSub) step = singleStep();
            if (action == SliderPageStepAdd) step = -pageStep();
            if (action == SliderPageStepSub) step = pageStep();
            if (step != 0) setSliderPosition(std::clamp(value() + step, minimum(), maximum()));
        });
    }

  protected:
    // A drag maps the thumb's place to a value through this option: the top
    // is the largest value.
    void initStyleOption(QStyleOptionSlider* option) const override {
        QScrollBar::initStyleOption(option);
        option->upsideDown = true;
    }
};

} // namespace

QScrollBar* makeTopHigh(QWidget* parent) {
    return new TopHighBar(parent);
}

} // namespace ui
