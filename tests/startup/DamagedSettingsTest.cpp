// A start on a ZORVATEK.INI damaged by hand: the numbers come back into the
// ranges of the controls they set and the window is usable; the file keeps
// what the operator wrote.
#include "core/Globals.h"
#include "core/ini/IniValues.h"
#include "core/ini/SettingRanges.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/pskcore/PskCore.h"
#include "startup/Startup.h"
#include "support/ProgramFolder.h"
#include "terminal/displays/multi_ch.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QScrollBar>
#include <QSlider>

namespace {

using core::g;

class DamagedSettings : public zvtest::ProgramFolderTest {};

const core::StoredRange& row(const char* key) {
    const core::StoredRange* r = core::StoredRangeOf(QStringLiteral("PSKCFG"), QString::fromLatin1(key));
    EXPECT_NE(r, nullptr) << key;
    static const core::StoredRange none{"", "", 0, 0, 0};
    return r ? *r : none;
}

TEST_F(DamagedSettings, TheTableHoldsTheControlsOwnLimits) {
    writeIni(QStringLiteral("[PSKCFG]\nAudio_Center_Freq=1500\n"));
    PSK31MAIN& w = forms::PSK31MAIN();
    struct Case {
        const char* key;
        int lowest, highest;
        int scale; // stored value per step of the control
    } cases[] = {
        {"WF_LEVEL", w.Slider2->minimum(), w.Slider2->maximum(), 1},
        {"WFRT_LEVEL", w.Slider2->minimum(), w.Slider2->maximum(), 1},
        {"SQ_LEVEL", w.Slider1->minimum(), w.Slider1->maximum(), 10},
        {"F_Range", w.VScroll3->minimum(), w.VScroll3->maximum(), 1},
        {"RX2Freq", forms::multi_ch().VScroll1->minimum(), forms::multi_ch().VScroll1->maximum(), 1},
        {"RX3Freq", forms::multi_ch().VScroll2->minimum(), forms::multi_ch().VScroll2->maximum(), 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(row(c.key).lowest, c.lowest * c.scale) << c.key;
        EXPECT_EQ(row(c.key).highest, c.highest * c.scale) << c.key;
    }
    // The receive frequency falls back inside the frequency bar's range.
    EXPECT_GE(row("RX1Freq").lowest, w.VScroll1->minimum());
    EXPECT_LE(row("RX1Freq").highest, w.VScroll1->maximum());
}

TEST_F(DamagedSettings, AStartBringsTheValuesIntoRangeAndReceives) {
    writeIni(QStringLiteral("[PSKCFG]\n"
                            "Audio_Center_Freq=-500\n"
                            "WF_LEVEL=-7\n"
                            "SQ_LEVEL=12345\n"
                            "SQ_SPEED=\n"
                            "F_Range=999\n"));
    startup::StartUp();
    PSK31MAIN& w = forms::PSK31MAIN();
    ASSERT_TRUE(w.isVisible());

    EXPECT_EQ(g.AudioCenterFreq, 1500);
    EXPECT_EQ(g.RxFreqHz, 1500);
    EXPECT_EQ(w.VScroll1->value(), 1500) << "not below the receive box's floor";
    EXPECT_EQ(w.Slider2->value(), 90);
    EXPECT_EQ(g.WfLevelSteps[7], 90) << "the waterfall's colour steps are not all 0";
    EXPECT_EQ(w.Slider1->value(), 0);
    EXPECT_EQ(w.VScroll3->value(), 1);

    // The engine starts with the squelch open, so the stations come through.
    ASSERT_TRUE(zvtest::waitUntil([] {
        for (const QString& c : pskcore::lib().callTexts())
            if (c.startsWith(QLatin1String("fnStartSoundCard"))) return true;
        return false;
    }));
    EXPECT_TRUE(pskcore::lib().callTexts().contains(QStringLiteral("fnSetSquelchThreshold(0, 10, 0)")))
        << pskcore::lib().callTexts().join(' ').toStdString();
    EXPECT_FALSE(g.StatusMessage.contains(QLatin1String("Error"))) << g.StatusMessage.toStdString();
    EXPECT_TRUE(zvtest::waitUntil([&] { return !w.RichTextBox1->text().trimmed().isEmpty(); }))
        << "the station at the centre frequency is received";

    const QByteArray ini = readFile("ZORVATEK.INI");
    for (const char* line : {"Audio_Center_Freq=-500\r\n", "WF_LEVEL=-7\r\n", "SQ_LEVEL=12345\r\n",
                             "SQ_SPEED=\r\n", "F_Range=999\r\n"})
        EXPECT_TRUE(ini.contains(line)) << line << " kept in\n" << ini.toStdString();
}

// Every number of the table stored out of its range: the start uses it in
// range and leaves its line as the operator left it, until the operator
// stores that setting.
TEST_F(DamagedSettings, EveryNumberOutOfRangeIsUsedInRangeAndItsLineKept) {
    QMap<QString, QString> sections;
    QList<std::pair<const core::StoredRange*, QString>> keys;
    for (const core::StoredRange& r : core::StoredRanges())
        for (int n = 0; n < std::max(r.count, 1); ++n) {
            const QString key = core::StoredRangeKey(r, n);
            // Below the range where that is still a wish (a poll time of 500 ms).
            const int stored = r.toNearerEnd && r.lowest > 1 ? r.lowest - 1 : r.highest + 1;
            sections[QString::fromLatin1(r.section)] +=
                key + QLatin1Char('=') + QString::number(stored) + '\n';
            keys.append({&r, key});
        }
    QString text;
    for (auto it = sections.cbegin(); it != sections.cend(); ++it)
        text += QLatin1Char('[') + it.key() + QStringLiteral("]\n") + it.value();
    writeIni(text);
    const QByteArray before = readFile("ZORVATEK.INI");
    startup::StartUp();
    ASSERT_TRUE(forms::PSK31MAIN().isVisible());
    const QByteArray after = readFile("ZORVATEK.INI");
    for (const QByteArray& line : before.split('\n'))
        EXPECT_TRUE(after.contains(line)) << line.toStdString() << " rewritten";
    for (const auto& [r, key] : keys) {
        const std::optional<int> used = core::IniWhole(QString::fromLatin1(r->section), key);
        ASSERT_TRUE(used.has_value()) << key.toStdString();
        EXPECT_TRUE(core::InStoredRange(*r, *used)) << key.toStdString() << " in use: " << *used;
    }
}

} // namespace
