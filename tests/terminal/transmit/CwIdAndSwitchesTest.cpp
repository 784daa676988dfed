// The CW ID button with its prosign text conventions, the tune carrier, and
// the status bar switches with what they store.
#include "terminal/transmit/TxFixture.h"

#include "core/SharedRoutines.h"
#include "core/ini/IniValues.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/forms/controls/StatusPanels.h"
#include "platform/mmvari/MmvariControl.h"
#include "platform/mmvari/MmvariIds.h"
#include "support/Popups.h"
#include "terminal/mainwindow/StatusSwitches.h"
#include "terminal/transmit/CwId.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QMenu>

namespace {

class CwIdAndSwitches : public zvtest::TxTest {};

TEST_F(CwIdAndSwitches, CwIdTextSpeedAndMode) {
    struct Case {
        const char* ptt;
        int satellite;
        QStringList expected;
        QString text = QStringLiteral("DE JA1ZVK*");
    };
    const QList<Case> cases = {
        {"0", 0, {"fnSetCWIDSpeed(3)", "fnSetCWIDString(\" DE JA1ZVK* \")", "fnStartTX(4)", "fnStopTX()"}},
        {"2", 0, {"fnSetCWIDSpeed(3)", "fnSetCWIDString(\" DE JA1ZVK*\")", "fnStartTX(4)", "fnStopTX()"}},
        {"2", 1, {"fnSetCWIDSpeed(3)", "fnSetCWIDString(\" DE JA1ZVK*\")", "fnStartTX(132)", "fnStopTX()"}},
        // No own call: the list asks for it, and that is said, not sent.
        {"0", 0, {}, QStringLiteral("Pse Your Call Setting!")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.ptt) + (c.satellite ? " satellite" : ""));
        core::g.PttPortControl = QString::fromLatin1(c.ptt);
        core::g.SatelliteMode = c.satellite;
        w->Combo1->setEditText(c.text);
        w->Frame2->show();
        w->Text3->clear();
        pskcore::lib().clearCalls();
        QTest::mousePress(w->Command3, Qt::LeftButton);
        EXPECT_EQ(calls(), c.expected);
        EXPECT_EQ(core::g.CwIdText, c.text);
        EXPECT_EQ(w->Text3->text() == core::CwIdRefusedText(), c.expected.isEmpty());
        EXPECT_FALSE(w->Frame2->isVisibleTo(w));
    }
}

TEST_F(CwIdAndSwitches, RightPressTogglesTheFrameAndInhibitBlocksBoth) {
    w->Frame2->show();
    QTest::mousePress(w->Command3, Qt::RightButton);
    EXPECT_FALSE(w->Frame2->isVisibleTo(w));
    EXPECT_TRUE(w->Command3->isVisibleTo(w)) << "the button stays at hand";
    QTest::mousePress(w->Command3, Qt::RightButton);
    EXPECT_TRUE(w->Frame2->isVisibleTo(w));

    w->TxInhibited = 1;
    QTest::mousePress(w->Command3, Qt::LeftButton);
    QTest::mousePress(w->Command3, Qt::RightButton);
    EXPECT_TRUE(calls().isEmpty());
    EXPECT_TRUE(w->Frame2->isVisibleTo(w)) << "the frame keeps its state";
}

TEST_F(CwIdAndSwitches, MmvariSendsTheIdThroughItsOwnMember) {
    useMmvari();
    core::g.PttPortControl = QStringLiteral("1");
    w->Combo1->setEditText(QStringLiteral("DE JA1ZVK"));
    QTest::mousePress(w->Command3, Qt::LeftButton);
    EXPECT_EQ(w->MMVARI->callsOf(dispatch::Call::Invoke, mmvari::MethodCwId).value(0).args,
              QVariantList{QStringLiteral("DE JA1ZVK")});
    EXPECT_EQ(setsOf(mmvari::IdReqRx), QVariantList{true});
    EXPECT_EQ(w->MmvariCwIdOn, 1);
    EXPECT_EQ(core::g.MmvariTxOn, 1);
    EXPECT_EQ(colour::backColor(w->Command1), 0x0000FFu);
    EXPECT_TRUE(calls().isEmpty());
}

TEST_F(CwIdAndSwitches, TuneCarrierByRightRelease) {
    struct Case {
        int mode;
        int transmitting;
        QStringList expected;
        QString text = QStringLiteral("DE JA1ZVK*");
    };
    const QList<Case> cases = {
        {core::ModeBpsk, 0, {"fnStartTX(3)"}},
        {core::ModeQpskUsb, 1, {"fnAbortTX()"}},
        {core::ModeRtty, 0, {}},
        {core::ModeCw, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        core::g.OpMode = c.mode;
        if (c.transmitting) transmitByF12();
        w->Text1->setText(QStringLiteral("x"));
        pskcore::lib().clearCalls();
        QTest::mouseClick(w->Command1, Qt::RightButton);
        EXPECT_EQ(calls(), c.expected);
        EXPECT_EQ(w->Text1->text().isEmpty(), !c.expected.isEmpty());
        if (c.transmitting) {
            EXPECT_TRUE(zvtest::waitUntil([] { return core::g.Transmitting == 0; })) << "the abort ends it";
        }
    }
}

TEST_F(CwIdAndSwitches, MmvariTuneCarrierOnAndOff) {
    useMmvari();
    QTest::mouseClick(w->Command1, Qt::RightButton);
    EXPECT_EQ(w->MMVARI->callsOf(dispatch::Call::Invoke, mmvari::MethodTune).size(), 1);
    EXPECT_EQ(setsOf(mmvari::IdTuneReset), QVariantList{0});
    EXPECT_EQ(core::g.MmvariTxOn, 1);
    EXPECT_EQ(colour::backColor(w->Command1), 0x0000FFu);

    w->MMVARI->clearCalls();
    emit w->MMVARI->txState(1); // the carrier is on the air
    EXPECT_EQ(core::g.Transmitting, 1);
    QTest::mouseClick(w->Command1, Qt::RightButton);
    EXPECT_EQ(setsOf(mmvari::IdTransmit), QVariantList{false});
    EXPECT_EQ(core::g.Transmitting, 0);
    EXPECT_TRUE(calls().isEmpty());
}

TEST_F(CwIdAndSwitches, TransmitInhibitPanel) {
    QTest::mouseClick(w->StatusBar1->panel(4), Qt::LeftButton);
    EXPECT_EQ(w->StatusBar1->text(4), QStringLiteral("送信禁止"));
    EXPECT_EQ(w->TxInhibited, 1);
    EXPECT_FALSE(w->Command1->isEnabled());
    EXPECT_EQ(w->Command1->text(), QStringLiteral("送信禁止"));
    EXPECT_EQ(core::IniStored("PSKCFG", "TXinhibt"), QStringLiteral("False"));

    QTest::keyClick(w->Text1, Qt::Key_F12);
    QTest::mouseClick(w->Command1, Qt::RightButton);
    QTest::mousePress(w->Command3, Qt::LeftButton);
    EXPECT_TRUE(calls().isEmpty()) << "no transmission, no tune, no CW ID";
    EXPECT_FALSE(w->Text3->isVisibleTo(w)) << "refused without a word";

    QTest::mouseClick(w->StatusBar1->panel(4), Qt::LeftButton);
    EXPECT_EQ(w->StatusBar1->text(4), QStringLiteral("送信可能"));
    EXPECT_EQ(w->TxInhibited, 0);
    EXPECT_TRUE(w->Command1->isEnabled());
    EXPECT_EQ(w->Command1->text(), QStringLiteral("TX(F12)"));
    EXPECT_EQ(core::IniStored("PSKCFG", "TXinhibt"), QStringLiteral("True"));

    transmitByF12();
    QTest::mouseClick(w->StatusBar1->panel(4), Qt::LeftButton);
    EXPECT_EQ(w->TxInhibited, 0) << "refused while transmitting";
    EXPECT_EQ(core::IniStored("PSKCFG", "TXinhibt"), QStringLiteral("True"));
    endByEscape();
}

TEST_F(CwIdAndSwitches, InputMethodPanelByMode) {
    w->StatusBar1->setText(3, QStringLiteral("IME無効"));
    w->Text1->setAttribute(Qt::WA_InputMethodEnabled, false);
    core::g.OpMode = core::ModeRtty;
    QTest::mouseClick(w->StatusBar1->panel(3), Qt::LeftButton);
    EXPECT_EQ(w->StatusBar1->text(3), QStringLiteral("IME無効"));
    EXPECT_EQ(core::g.ImeState, 3);
    core::g.OpMode = core::ModeBpsk;
    QTest::mouseClick(w->StatusBar1->panel(3), Qt::LeftButton);
    EXPECT_EQ(w->StatusBar1->text(3), QStringLiteral("IME有効"));
    EXPECT_TRUE(w->Text1->testAttribute(Qt::WA_InputMethodEnabled));
    EXPECT_EQ(core::g.ImeState, 2);
    QTest::mouseClick(w->StatusBar1->panel(3), Qt::LeftButton);
    EXPECT_EQ(w->StatusBar1->text(3), QStringLiteral("IME無効"));
    EXPECT_EQ(core::g.ImeState, 3);
}

TEST_F(CwIdAndSwitches, ModePanelOpensTheModeMenu) {
    for (const char* text : {"mfsk(USB)", "GMSK(MBCS)", "CW", "RTTY", "QPSK(LSB)"}) {
        SCOPED_TRACE(text);
        w->StatusBar1->setText(2, QString::fromUtf8(text));
        ASSERT_EQ(zvtest::popupByClick(w->StatusBar1->panel(2), Qt::LeftButton), w->PMS);
        QTest::keyClick(w->PMS, Qt::Key_Escape);
        ASSERT_TRUE(zvtest::waitUntil([&] { return !w->PMS->isVisible(); }));
    }
    w->StatusBar1->setText(2, QStringLiteral("rtty(LSB)"));
    w->StatusBar1->setText(1, QStringLiteral("Tokyo 12:00"));
    QTest::mouseClick(w->StatusBar1->panel(1), Qt::LeftButton);
    ASSERT_TRUE(zvtest::waitForPostedEvents());
    EXPECT_FALSE(w->PMS->isVisible());
}

TEST_F(CwIdAndSwitches, CheckBoxesStoreTheirState) {
    QTest::mouseClick(w->Check2, Qt::LeftButton);
    EXPECT_EQ(core::g.LogTimeUtc, 1);
    EXPECT_EQ(core::g.TimeZoneOffsetH, -9);
    EXPECT_TRUE(readFile("ZORVATEK.INI").contains("TIME_STAMP= 1\r\n"));
    QTest::mouseClick(w->Check2, Qt::LeftButton);
    EXPECT_EQ(core::g.TimeZoneOffsetH, 0);
    EXPECT_TRUE(readFile("ZORVATEK.INI").contains("TIME_STAMP= 0\r\n"));
    QTest::mouseClick(w->Check1, Qt::LeftButton);
    EXPECT_TRUE(readFile("ZORVATEK.INI").contains("San= 1\r\n"));
    QTest::mouseClick(w->Check5, Qt::LeftButton);
    EXPECT_EQ(core::g.DataCaptureOn, 1);
    EXPECT_TRUE(readFile("ZORVATEK.INI").contains("Data_Get= 1\r\n"));
}

} // namespace
