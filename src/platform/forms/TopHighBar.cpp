#include "platform/forms/TopHighBar.h"

#include <algorithm>

namespace ui {

void makeTopHigh(QScrollBar* bar) {
    bar->setInvertedAppearance(true);
    QObject::connect(bar, &QAbstractSlider::actionTriggered, bar, [bar](int action) {
        int step = 0;
        if (action == QAbstractSlider::SliderSingleStepAdd) step = -bar->singleStep();
        if (action == QAbstractSlider::SliderSingleStepSub) step = bar->singleStep();
        if (action == QAbstractSlider::SliderPageStepAdd) step = -bar->pageStep();
        if (action == QAbstractSlider::SliderPageStepSub) step = bar->pageStep();
        if (step != 0)
            bar->setSliderPosition(std::clamp(bar->value() + step, bar->minimum(), bar->maximum()));
    });
}

} // namespace ui
