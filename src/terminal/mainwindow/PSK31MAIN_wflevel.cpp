// The waterfall level slider of the "WaterFall/Color balance" panel. Setting
// its value from code (the load, a mode change) moves the colour thresholds
// too; only the operator's moves are stored.
#include "core/Globals.h"
#include "core/ini/IniValues.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QSlider>

void PSK31MAIN::Slider2_Change() {
    const int l = Slider2->value();
    core::g.WfLevelSteps = {l / 5, l / 4 - 1, l / 4, l / 3 - 1, l / 3, l / 2 - 1, l / 2, l};
}

// The action runs before the slider takes its new position as value.
void PSK31MAIN::Slider2_Scroll(int action) {
    if (action == QAbstractSlider::SliderNoAction) return;
    core::Globals& g = core::g;
    const int l = Slider2->sliderPosition();
    const bool rtty = g.OpMode == core::ModeRtty || g.OpMode == core::ModeCw;
    (rtty ? g.WfLevelRtty : g.WfLevelPsk) = core::NumberText(l);
    core::PutIniNumber(QStringLiteral("PSKCFG"), rtty ? core::IniKey("WFRT_LEVEL") : core::IniKey("WF_LEVEL"),
                       l);
}
