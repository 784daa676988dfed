#pragma once
// The main window loaded over a fixture ZORVATEK.INI and the settings sheet
// opened from its settings menu, as the operator opens it.
#include "core/ini/IniValues.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "settings/sheet/CFGSHEET.h"
#include "support/Popups.h"
#include "terminal/engines/PskFixture.h"

#include <QStyleOptionSlider>
#include <QTabBar>
#include <QTest>

namespace sheettest {

class SheetTest : public psktest::PskWindowTest {
  protected:
    // The main window loaded, the sheet opened from its settings menu. extra
    // holds keys of [PSKCFG] before the fixture's; sections come before them.
    CFGSHEET& open(const QString& extra = {}, const QString& sections = {}) {
        writeIni(sections + QStringLiteral("[PSKCFG]\n") + extra + psktest::kFixtureKeys);
        main = &forms::PSK31MAIN();
        main->Timer2->stop();
        pskcore::lib().clearCalls();
        EXPECT_TRUE(zvtest::chooseMenuItem(main->PSKCFG));
        EXPECT_TRUE(forms::isLoaded<CFGSHEET>());
        return forms::CFGSHEET();
    }
    static QString ini(const char* section, const char* key) {
        return core::IniStored(QString::fromLatin1(section), QString::fromLatin1(key))
            .value_or(QStringLiteral("-"));
    }
    static bool asked(const QString& prompt) {
        for (const ui::Asked& a : ui::script::asked())
            if (a.prompt == prompt) return true;
        return false;
    }
    // The last dialog asked, of any kind.
    static ui::Asked lastAsked() {
        const QList<ui::Asked>& all = ui::script::asked();
        return all.isEmpty() ? ui::Asked{} : all.back();
    }
    // A click on the tab's title.
    static void showTab(CFGSHEET& s, int tab) {
        QTabBar* bar = s.SSTab1->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
    }
    // A click on the button, as the operator presses it.
    static void press(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
    // A click on the box of an option or check box (its row may run wider than its caption).
    static void tick(QAbstractButton* b) {
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(8, b->height() / 2));
    }

    // A drag of the slider's handle by dx pixels, as the operator moves it.
    static void dragHandle(QSlider* slider, int dx) {
        QStyleOptionSlider opt;
        opt.initFrom(slider);
        opt.orientation = slider->orientation();
        opt.minimum = slider->minimum();
        opt.maximum = slider->maximum();
        opt.sliderPosition = opt.sliderValue = slider->value();
        opt.tickPosition = slider->tickPosition();
        opt.tickInterval = slider->tickInterval();
        opt.subControls = QStyle::SC_SliderHandle;
        const QPoint from = slider->style()
                                ->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderHandle, slider)
                                .center();
        QTest::mousePress(slider, Qt::LeftButton, {}, from);
        QTest::mouseMove(slider, from + QPoint(dx / 2, 0));
        QTest::mouseMove(slider, from + QPoint(dx, 0));
        QTest::mouseRelease(slider, Qt::LeftButton, {}, from + QPoint(dx, 0));
    }
    PSK31MAIN* main = nullptr;
};

} // namespace sheettest
