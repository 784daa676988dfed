// The waterfall level slider: its thresholds, and what it stores.
#include "core/Globals.h"
#include "core/ini/IniValues.h"
#include "support/ProgramFolder.h"
#include "terminal/engines/PskEngine.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QSlider>

namespace {

using core::g;
using Levels = std::array<int, 8>;

class WaterfallLevel : public zvtest::ProgramFolderTest {
  protected:
    PSK31MAIN& load(const QString& extra = {}) {
        writeIni(QStringLiteral("[PSKCFG]\nAudio_Center_Freq=1500\n") + extra);
        return forms::PSK31MAIN();
    }
    // The key's line as the file holds it.
    QString stored(const char* key) const {
        const QString prefix = QString::fromLatin1(key) + QLatin1Char('=');
        for (const QByteArray& line : readFile(QStringLiteral("ZORVATEK.INI")).split('\n')) {
            const QString text = QString::fromLatin1(line).trimmed();
            if (text.startsWith(prefix)) return text.mid(prefix.size());
        }
        return QStringLiteral("(missing)");
    }
};

TEST_F(WaterfallLevel, TheLoadAndAModeChangeSetTheThresholdsOfTheStoredLevel) {
    PSK31MAIN& w = load("WF_LEVEL=120\nWFRT_LEVEL=60\n");
    EXPECT_EQ(w.Slider2->value(), 120);
    EXPECT_EQ(g.WfLevelSteps, (Levels{24, 29, 30, 39, 40, 59, 60, 120}));
    g.OpMode = core::ModeRtty;
    terminal::engines::ApplyPskMode();
    EXPECT_EQ(g.WfLevelSteps, (Levels{12, 14, 15, 19, 20, 29, 30, 60}));
    // Levels set from code are not written back.
    EXPECT_EQ(stored("WF_LEVEL"), QStringLiteral("120"));
    EXPECT_EQ(stored("WFRT_LEVEL"), QStringLiteral("60"));
}

TEST_F(WaterfallLevel, TheOperatorsMoveIsStoredForTheEngineInUse) {
    struct Case {
        int mode, position;
        const char* key;
        QString core::Globals::*level;
        Levels steps;
    } cases[] = {
        {core::ModeBpsk, 100, "WF_LEVEL", &core::Globals::WfLevelPsk, {20, 24, 25, 32, 33, 49, 50, 100}},
        {core::ModeQpskLsb, 7, "WF_LEVEL", &core::Globals::WfLevelPsk, {1, 0, 1, 1, 2, 2, 3, 7}},
        {core::ModeRtty, 200, "WFRT_LEVEL", &core::Globals::WfLevelRtty, {40, 49, 50, 65, 66, 99, 100, 200}},
        {core::ModeCw, 0, "WFRT_LEVEL", &core::Globals::WfLevelRtty, {0, -1, 0, -1, 0, -1, 0, 0}},
    };
    PSK31MAIN& w = load();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.position);
        g.OpMode = c.mode;
        w.Slider2->setSliderPosition(c.position); // as a drag does
        EXPECT_EQ(w.Slider2->value(), c.position);
        EXPECT_EQ(g.WfLevelSteps, c.steps);
        EXPECT_EQ(g.*c.level, core::NumberText(c.position));
        EXPECT_EQ(stored(c.key), core::NumberText(c.position));
    }
    // A step by the keyboard is the operator's move too.
    g.OpMode = core::ModeBpsk;
    w.Slider2->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(stored("WF_LEVEL"), core::NumberText(w.Slider2->value()));
    EXPECT_EQ(g.WfLevelSteps[7], w.Slider2->value());
}

} // namespace
