// The engines' panels on the main window, pressed as the operator does: the
// RTTY program's switches against the program running as its own process,
// the multi-mode panel against its control, and the PSK switches; with what
// each keeps in ZORVATEK.INI.
#include "terminal/transmit/TxFixture.h"

#include "core/engines/MmttyState.h"
#include "core/engines/MmvariState.h"
#include "core/ini/IniStore.h"
#include "core/ini/IniValues.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/forms/controls/StatusPanels.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/mmvari/MmvariIds.h"
#include "support/Popups.h"
#include "support/ProgramFolder.h"

#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QListWidget>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>

namespace {

using mmtty::Pair;
constexpr std::uint32_t kFace = colour::kButtonFace;

// Numbers the switches keep are written with a blank before them (" 1").
bool storedAs(const QString& line) {
    QFile ini(core::IniFilePath());
    return ini.open(QIODevice::ReadOnly) && ini.readAll().contains(line.toLatin1() + "\r\n");
}

void clickRow(QListWidget* list, int row) {
    QWidget* view = list->viewport();
    QTest::mouseClick(view, Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

class RttyPanel : public zvtest::TxTest {
  protected:
    void SetUp() override {
        TxTest::SetUp();
        core::mm = {};
        runRttyProgram();
        notices = std::make_unique<QSignalSpy>(link, &mmtty::MmttyLink::notice);
        w->show();
        ASSERT_TRUE(zvtest::waitExposed(w));
        w->Frame4->show();
        ui::script::clearAsked();
    }
    // The program answers each word with its report of what it now holds:
    // proof that the word reached the program itself.
    bool programReports(std::int32_t code, std::int32_t value) {
        auto seen = [&] {
            for (const QList<QVariant>& n : *notices)
                if (n.at(0).toInt() == code && n.at(1).toInt() == value) return true;
            return false;
        };
        return zvtest::waitUntil(seen);
    }
    void reported(std::uint32_t word, std::array<int, 8> indicators) {
        core::mm.MmttyStatusBits2 = core::BitText(word, mmtty::SwitchPositions).value();
        core::g.MmttyIndicators = indicators;
    }
    std::unique_ptr<QSignalSpy> notices;
};

TEST_F(RttyPanel, SwitchButtonsSendTheWordBuiltFromTheLastReport) {
    constexpr std::array<int, 8> none{};
    struct Case {
        const char* what;
        std::uint32_t reported;
        std::array<int, 8> indicators;
        int k;
        Qt::MouseButton button;
        std::uint32_t sent;
    };
    const QList<Case> cases = {
        {"AFC off, left: on", 0, none, 17, Qt::LeftButton, 4},
        {"UOS off, left: on", 0, none, 10, Qt::LeftButton, 512},
        {"AFC on, left: off", 4, {0, 0, 0, 0, 0, 0, 0, 1}, 17, Qt::LeftButton, 0},
        {"NET with PLL and Fix kept", 2 | 1024, none, 16, Qt::LeftButton, 2 | 1024 | 8},
        {"BPF on, others kept", 0x7FFFF, {1, 1, 1, 1, 1, 1, 1, 1}, 14, Qt::LeftButton, 0x7FFFF & ~32u},
        {"right on UOS sends the report back", 512 | 1, {1, 0, 0, 0, 0, 0, 0, 0}, 10, Qt::RightButton, 513},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        reported(c.reported, c.indicators);
        link->clearPosted();
        QTest::mouseClick(w->Command13[c.k], c.button);
        EXPECT_EQ(posted(), (QList<Pair>{{mmtty::CmdSetSwitches, std::int32_t(c.sent)}}));
        EXPECT_TRUE(programReports(mmtty::NtfSwitches, std::int32_t(c.sent)));
        EXPECT_EQ(w->focusWidget(), w->Text1);
    }
}

TEST_F(RttyPanel, RightClickOnNotChangesTheNotchKindAndKeepsIt) {
    struct Case {
        const char* kind;
        std::uint32_t reported;
        std::uint32_t sent;
        const char* caption;
        const char* stored;
    };
    const QList<Case> cases = {
        {"1", 0, 8192, "NOT", "0"},
        {"0", 8192 | 4, 4, "LMS", "1"},
        {"x", 4, 8192 | 4, "NOT", "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        core::mm.MmttyNotLms = QString::fromLatin1(c.kind);
        reported(c.reported, {});
        link->clearPosted();
        QTest::mouseClick(w->Command13[13], Qt::RightButton);
        EXPECT_EQ(posted(), (QList<Pair>{{mmtty::CmdSetSwitches, std::int32_t(c.sent)}}));
        EXPECT_EQ(w->Command13[13]->text(), QString::fromLatin1(c.caption));
        EXPECT_EQ(core::mm.MmttyNotLms, QString::fromLatin1(c.stored));
        EXPECT_EQ(core::IniStored("Mmtty", "NOT_LMS"), QString::fromLatin1(c.stored));
    }
}

TEST_F(RttyPanel, ShiftMenuOfAfcRewritesTheShiftBeforeTheWordGoes) {
    struct Case {
        int reportedPair;
        QAction* PSK31MAIN::*entry;
        std::uint32_t sent;
    };
    const QList<Case> cases = {
        {0, &PSK31MAIN::ShiftFix, 1024},
        {1, &PSK31MAIN::ShiftHAM, 2048},
        {2, &PSK31MAIN::ShiftFSK, 3072},
        {3, &PSK31MAIN::ShiftFree, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sent);
        core::mm.MmttyStatusPair = c.reportedPair;
        reported(std::uint32_t(c.reportedPair) << 10, {});
        link->clearPosted();
        QMenu* menu = zvtest::popupByClick(w->Command13[17], Qt::RightButton);
        ASSERT_EQ(menu, w->AFCSHIFT);
        const std::array<QAction*, 4> entries = {w->ShiftFree, w->ShiftFix, w->ShiftHAM, w->ShiftFSK};
        for (int m = 0; m < 4; ++m)
            EXPECT_EQ(entries[m]->isChecked(), m == c.reportedPair) << "entry " << m;
        EXPECT_TRUE(posted().isEmpty()) << "nothing goes while the menu is open";
        ASSERT_TRUE(zvtest::chooseInPopup(menu, w->*c.entry));
        ASSERT_TRUE(zvtest::waitUntil([&] { return !posted().isEmpty(); }));
        EXPECT_EQ(posted(), (QList<Pair>{{mmtty::CmdSetSwitches, std::int32_t(c.sent)}}));
    }
}

TEST_F(RttyPanel, ShiftMenuLeftWithEscSendsTheReportUnchanged) {
    reported(4 | 2048, {0, 0, 0, 0, 0, 0, 0, 1});
    core::mm.MmttyStatusPair = 2;
    QMenu* menu = zvtest::popupByClick(w->Command13[17], Qt::RightButton);
    ASSERT_NE(menu, nullptr);
    QTest::keyClick(menu, Qt::Key_Escape);
    ASSERT_TRUE(zvtest::waitUntil([&] { return !posted().isEmpty(); }));
    EXPECT_EQ(posted(), (QList<Pair>{{mmtty::CmdSetSwitches, 4 | 2048}}));
}

TEST_F(RttyPanel, DemodulatorStepsThroughItsThreeKinds) {
    struct Case {
        int from;
        std::uint32_t reported;
        std::uint32_t sent;
        const char* label;
    };
    const QList<Case> cases = {
        {0, 0, 1, "MODEM=FIR"},
        {1, 0, 2, "MODEM=PLL"},
        {2, 0, 0, "MODEM=IIR"},
        {1, 4 | 1024 | 1, 4 | 1024 | 2, "MODEM=PLL"},
        {2, 0x7FFFF, 0x7FFFC, "MODEM=IIR"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        core::mm.MmttyModemType = c.from;
        reported(c.reported, {});
        link->clearPosted();
        QTest::mouseClick(w->Command14, Qt::LeftButton);
        EXPECT_EQ(posted(), (QList<Pair>{{mmtty::CmdSetSwitches, std::int32_t(c.sent)}}));
        EXPECT_TRUE(programReports(mmtty::NtfSwitches, std::int32_t(c.sent)));
        EXPECT_EQ(w->Label32->text(), QString::fromLatin1(c.label));
        EXPECT_EQ(core::mm.MmttyModemType, (c.from + 1) % 3);
    }
}

TEST_F(RttyPanel, FigHamAndTheShiftList) {
    struct Case {
        const char* what;
        std::function<void()> press;
        Pair sent;
    };
    const QList<Case> cases = {
        {"FIG on", [&] { QTest::mouseClick(w->Command12, Qt::LeftButton); }, {mmtty::CmdSetFig, 1}},
        {"FIG off", [&] { QTest::mouseClick(w->Command12, Qt::LeftButton); }, {mmtty::CmdSetFig, 0}},
        {"HAM", [&] { QTest::mouseClick(w->Command21, Qt::LeftButton); }, {mmtty::CmdHamPreset, 0}},
        {"shift 170", [&] { clickRow(w->List5, 1); }, {mmtty::CmdSetSpace, 2125 + 170}},
        {"shift 850", [&] { clickRow(w->List5, 7); }, {mmtty::CmdSetSpace, 2125 + 850}},
    };
    core::g.MarkFreq = 2125;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        link->clearPosted();
        QTest::mouseClick(w->Label36, Qt::LeftButton);
        EXPECT_TRUE(w->List5->isVisible());
        c.press();
        EXPECT_EQ(posted(), QList<Pair>{c.sent});
        if (c.sent.code == mmtty::CmdSetSpace) {
            EXPECT_FALSE(w->List5->isVisible());
        }
        w->List5->hide();
    }
    EXPECT_TRUE(programReports(mmtty::NtfSpace, 2125 + 850));
}

TEST_F(RttyPanel, FigShowsOnOnlyWhenTheProgramTookIt) {
    QTest::mouseClick(w->Command12, Qt::LeftButton);
    EXPECT_EQ(core::mm.MmttyFigOn, 1);
    EXPECT_EQ(colour::backColor(w->Command12), 0xC0FFC0u);

    link->close();
    ui::script::clearAsked();
    QTest::mouseClick(w->Command12, Qt::LeftButton);
    EXPECT_EQ(core::mm.MmttyFigOn, 1) << "still on in the program's last state";
    EXPECT_EQ(colour::backColor(w->Command12), 0xC0FFC0u);
    EXPECT_TRUE(w->Text3->isVisible()) << "the operator is told the program does not answer";
}

class MmvariButtons : public zvtest::TxTest {
  protected:
    void SetUp() override {
        TxTest::SetUp();
        mmvstate::g = {};
        useMmvari();
        w->show();
        ASSERT_TRUE(zvtest::waitExposed(w));
        w->Frame6->show();
        ui::script::clearAsked();
    }
    QList<dispatch::Call> sets() const {
        QList<dispatch::Call> out;
        for (const dispatch::Call& c : w->MMVARI->calls())
            if (c.kind == dispatch::Call::Set) out.append(c);
        return out;
    }
    QStringList storedSwitches() const {
        QStringList out;
        for (int k = 0; k < 8; ++k)
            out.append(core::IniStored("MMVCFG", QStringLiteral("SW%1").arg(k)).value_or("missing"));
        return out;
    }
};

TEST_F(MmvariButtons, ButtonRowSwitchesTheControlAndStoresEverySwitch) {
    struct Case {
        int k;
        int id;
        std::optional<int> index;
        QVariant on;
        QVariant off;
    };
    w->LastNotchFreq = 1234;
    const QList<Case> cases = {
        {0, mmvari::PNotch, 0, 1234, 0},        {2, mmvari::IdAtc, {}, true, false},
        {3, mmvari::IdReqRx, {}, true, false},  {4, mmvari::IdStartCr, {}, true, false},
        {5, mmvari::IdStopCr, {}, true, false}, {6, mmvari::IdPlayBack, {}, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.k);
        for (const QVariant& value : {c.on, c.off}) {
            const bool on = value == c.on;
            w->MMVARI->clearCalls();
            w->Text5->setFocus();
            QTest::mouseClick(w->Command19[c.k], Qt::LeftButton);
            const QList<dispatch::Call> made = sets();
            ASSERT_EQ(made.size(), 1);
            EXPECT_EQ(made[0].id, c.id);
            EXPECT_EQ(made[0].index, c.index);
            EXPECT_EQ(made[0].args.value(0), value);
            EXPECT_TRUE(made[0].ok);
            EXPECT_EQ(core::g.MmvariSwitches[c.k], on ? 1 : 0);
            EXPECT_EQ(colour::backColor(w->Command19[c.k]), on ? 0xC0FFC0u : kFace);
            QStringList expected;
            for (int k = 0; k < 8; ++k)
                expected.append(core::g.MmvariSwitches[k] == 1 ? "True" : "False");
            EXPECT_EQ(storedSwitches(), expected);
            EXPECT_EQ(w->focusWidget(), w->Text1);
        }
    }
}

TEST_F(MmvariButtons, SpeedListOnlyInThePskSubModes) {
    struct Case {
        int entry;
        bool listShown;
    };
    const QList<Case> cases = {{4, true}, {0, false}, {3, true}, {5, false}, {8, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(w->CBMode->itemText(c.entry).toStdString());
        ASSERT_TRUE(zvtest::chooseInCombo(w->CBMode, c.entry));
        ui::script::clearAsked();
        QTest::mouseClick(w->Command19[1], Qt::LeftButton);
        EXPECT_EQ(w->List2->isVisible(), c.listShown);
        EXPECT_EQ(ui::script::asked().size(), c.listShown ? 0 : 1);
        if (!c.listShown) {
            EXPECT_EQ(ui::script::asked().value(0).prompt,
                      QStringLiteral("これはＰＳＫモードの場合に有効です"));
        }
        QTest::mouseClick(w->Command19[1], Qt::LeftButton);
        EXPECT_FALSE(w->List2->isVisible()) << "a second press hides it";
        EXPECT_EQ(core::g.MmvariSwitches[1], 0);
        EXPECT_EQ(core::IniStored("MMVCFG", "SW1"), QStringLiteral("False"));
    }
}

TEST_F(MmvariButtons, SpeedChosenGoesToTheShownChannel) {
    const double baud[] = {31.25, 62.5, 125, 250};
    for (int channel : {0, 2}) {
        core::g.ImdChannel = channel;
        for (int row = 0; row < 4; ++row) {
            SCOPED_TRACE(row);
            w->List2->show();
            w->MMVARI->clearCalls();
            clickRow(w->List2, row);
            const QList<dispatch::Call> made = sets();
            ASSERT_EQ(made.size(), 1);
            EXPECT_EQ(made[0].id, mmvari::PSpeed);
            EXPECT_EQ(made[0].index, channel);
            EXPECT_DOUBLE_EQ(made[0].args.value(0).toDouble(), baud[row]);
            EXPECT_FALSE(w->List2->isVisible());
        }
    }
    QTest::mouseClick(w->Text9, Qt::LeftButton);
    EXPECT_EQ(ui::script::asked().value(0).prompt, QStringLiteral("3"));
}

TEST_F(MmvariButtons, ModeListSetsTheModemMarksTheMenuAndStoresTheMode) {
    const QStringList names = {"GMSK",   "FSK",    "FSK-W",  "BPSK",  "bpsk",
                               "rtty-L", "rtty-U", "mfsk-L", "mfsk-U"};
    // From the last entry to the first, and the first once more: every choice counts.
    for (int i : {8, 7, 6, 5, 4, 3, 2, 1, 0, 0}) {
        SCOPED_TRACE(i);
        w->MMVARI->clearCalls();
        ASSERT_TRUE(zvtest::chooseInCombo(w->CBMode, i));
        ASSERT_EQ(sets().size(), 1);
        EXPECT_EQ(sets()[0].id, mmvari::PModeName);
        EXPECT_EQ(sets()[0].index, 0);
        EXPECT_EQ(sets()[0].args.value(0), names[i]);
        EXPECT_EQ(mmvstate::g.MmvariMfskOn, i >= 7 ? 1 : 0);
        EXPECT_EQ(mmvstate::g.SubCh1VariMode, i);
        EXPECT_EQ(mmvstate::g.SubCh2VariMode, i);
        EXPECT_EQ(w->StatusBar1->text(2), w->CBMode->itemText(i));
        for (int m = 10; m <= 18; ++m)
            EXPECT_EQ(w->mvrMODEsel[m]->isChecked(), m == i + 10) << m;
        EXPECT_EQ(core::IniStored("MMVCFG", "LastMode"), QString::number(i + 10));
    }

    // The operator steps the list with the arrow key.
    w->CBMode->setFocus();
    QTest::keyClick(w->CBMode, Qt::Key_Down);
    EXPECT_EQ(mmvstate::g.SubCh1VariMode, 1);
    EXPECT_EQ(w->StatusBar1->text(2), QStringLiteral("FSK(MBCS)"));

    // Emptying the list, as the engine's start does before filling it, is no choice.
    w->MMVARI->clearCalls();
    w->CBMode->clear();
    EXPECT_TRUE(sets().isEmpty());
    EXPECT_EQ(core::IniStored("MMVCFG", "LastMode"), QStringLiteral("11"));
}

TEST_F(MmvariButtons, AfcAndNetSwitchTheControlAndKeepTheirKeys) {
    struct Case {
        QPushButton* PSK31MAIN::*button;
        int id;
        std::optional<int> index;
        int* state;
        const char* key;
        std::uint32_t colour;
    };
    const QList<Case> cases = {
        {&PSK31MAIN::Command22, mmvari::PAfc, 0, &mmvstate::g.MmvariAfcOn, "AFC_SW", 0x80FF80},
        {&PSK31MAIN::Command23, mmvari::IdNet, {}, &mmvstate::g.MmvariNetOn, "NET_SW", 0x8080FF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        for (bool on : {true, false}) {
            w->MMVARI->clearCalls();
            QTest::mouseClick(w->*c.button, Qt::LeftButton);
            ASSERT_EQ(sets().size(), 1);
            EXPECT_EQ(sets()[0].id, c.id);
            EXPECT_EQ(sets()[0].index, c.index);
            EXPECT_EQ(sets()[0].args.value(0), QVariant(on));
            EXPECT_EQ(*c.state, on ? 1 : 0);
            EXPECT_EQ(colour::backColor(w->*c.button), on ? c.colour : kFace);
            EXPECT_TRUE(storedAs(QStringLiteral("%1=%2").arg(c.key, on ? " 1" : " 0")));
            EXPECT_EQ(w->focusWidget(), w->Text5);
        }
    }
}

class PskSwitches : public zvtest::TxTest {};

TEST_F(PskSwitches, AfcAndNetKeepTheirKeysAndNetBringsTxToRx) {
    core::g.AfcOn = 0;
    QTest::mouseClick(w->Command7, Qt::LeftButton);
    EXPECT_EQ(core::g.AfcOn, 1);
    EXPECT_EQ(colour::backColor(w->Command7), 0x80FF80u);
    EXPECT_TRUE(storedAs("AFC_SW= 1"));
    QTest::mouseClick(w->Command7, Qt::LeftButton);
    EXPECT_EQ(core::g.AfcOn, 0);
    EXPECT_EQ(colour::backColor(w->Command7), kFace);
    EXPECT_TRUE(storedAs("AFC_SW= 0"));

    core::g.NetOn = 0;
    w->VScroll1->setValue(1200);
    w->VScroll2->setValue(1700);
    pskcore::lib().clearCalls();
    QTest::mouseClick(w->Command9, Qt::LeftButton);
    EXPECT_EQ(core::g.NetOn, 1);
    EXPECT_EQ(colour::backColor(w->Command9), 0x8080FFu);
    EXPECT_EQ(core::g.TxFreqHz, 1200);
    EXPECT_EQ(w->VScroll2->value(), 1200);
    EXPECT_EQ(w->Text8->text(), QStringLiteral("1200"));
    EXPECT_TRUE(calls().contains(QStringLiteral("fnSetTXFrequency(1200)")));
    EXPECT_TRUE(storedAs("NET_SW= 1"));

    QTest::mouseClick(w->Command9, Qt::LeftButton);
    EXPECT_EQ(core::g.NetOn, 0);
    EXPECT_EQ(colour::backColor(w->Command9), kFace);
    EXPECT_TRUE(storedAs("NET_SW= 0"));
    w->VScroll1->setValue(1300);
    EXPECT_EQ(core::g.TxFreqHz, 1200) << "off: the transmit frequency stays";
}

} // namespace
