// The main window's handling of the multi-mode control's notices, its views,
// its meter and the sub-channel pop-up, with the control as the engine.
#include "terminal/panels/MmvariFixture.h"

#include "core/engines/MmvariState.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/forms/waits/Waits.h"
#include "platform/mmvari/MmvariViews.h"
#include "rig/RigGlobals.h"
#include "rig/RigPolling.h"
#include "rig/RigPort.h"
#include "settings/dialogs/CFG_MMVARI.h"
#include "settings/dialogs/CLKadj.h"
#include "support/Mouse.h"
#include "support/Popups.h"
#include "support/ProgramFolder.h"
#include "support/RigSimulator.h"
#include "support/Transmit.h"
#include "terminal/displays/TuningMath.h"
#include "terminal/displays/multi_ch.h"
#include "terminal/panels/MmvariPanel.h"
#include "terminal/transmit/TxDispatch.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTimer>

namespace {

using namespace mmvari;
using mmvtest::MmvariWindowTest;

class MmvariPanel : public MmvariWindowTest {
  protected:
    // The point of the first view that stands for the frequency.
    QPoint pointOf(int hz) {
        XMMVView* v = w->XMMVView1;
        for (int x = 0; x < v->width(); ++x)
            if (v->freqAt(x) >= hz) return {x, v->height() / 2};
        return {};
    }
    void showWindow(const QString& psk = {}) {
        w = &load(psk);
        w->show();
        ASSERT_TRUE(zvtest::waitExposed(w));
    }
    PSK31MAIN* w = nullptr;
};

TEST_F(MmvariPanel, TheStationsTextReachesThePaneOfItsChannel) {
    showWindow();
    ASSERT_TRUE(zvtest::chooseByClick(w->XMMVView1, w->SET2CH, Qt::RightButton, pointOf(1500)));
    ASSERT_TRUE(zvtest::chooseByClick(w->XMMVView1, w->SET3CH, Qt::RightButton, pointOf(2000)));
    ::multi_ch& m = forms::multi_ch();
    EXPECT_TRUE(m.isVisible());
    EXPECT_EQ(mmvstate::g.SubChannelSel, 2);
    const struct {
        RichTextPane* pane;
        QString call;
    } panes[] = {{w->RichTextBox1, "CQ CQ CQ de QQ9MVA QQ9MVA pse k\n"},
                 {m.RichTextBox1, "こんにちは、名前はハナコです。"},
                 {m.RichTextBox2, "ur rst 599 599 tu sk\n"}};
    ASSERT_TRUE(stepUntil([&] {
        for (const auto& p : panes)
            if (!p.pane->text().contains(p.call)) return false;
        return true;
    })) << w->RichTextBox1->text().toStdString()
        << " / " << m.RichTextBox1->text().toStdString() << " / " << m.RichTextBox2->text().toStdString();
    EXPECT_EQ(core::g.RxMarkPos, w->RichTextBox1->length());
    EXPECT_EQ(m.Label5->text().toInt(), read(PRxFreq, 1).toInt());
    EXPECT_NEAR(read(PRxFreq, 1).toInt(), 1500, 5);
    EXPECT_EQ(w->Text2->text(), "1000");
}

TEST_F(MmvariPanel, LineBreaksAndBackspacesInEachPane) {
    struct Case {
        int channel;
        QStringList received;
        QString shown;
    } cases[] = {
        {0, {"A", "B", "\r", "\n", "C"}, "AB\nC"},
        {0, {"A", "\r", "\n", "\b"}, "A"},
        {0, {"\b", "Z"}, "Z"},
        {1, {"X", "\r", "Y", "\b", "\b"}, "X"},
        {2, {"\b"}, ""},
        {2, {"Q", "\r\n", "R"}, "Q\nR"},
    };
    w = &load();
    ::multi_ch& m = forms::multi_ch();
    RichTextPane* panes[] = {w->RichTextBox1, m.RichTextBox1, m.RichTextBox2};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.received.join('|').toStdString());
        for (RichTextPane* p : panes)
            p->setText(QString());
        for (const QString& t : c.received)
            emit control->receivedText(c.channel, t);
        EXPECT_EQ(panes[c.channel]->text(), c.shown);
        for (int other = 0; other < 3; ++other)
            if (other != c.channel) {
                EXPECT_TRUE(panes[other]->text().isEmpty()) << other;
            }
        if (c.channel == 0) {
            EXPECT_EQ(core::g.RxMarkPos, w->RichTextBox1->length());
        }
    }
    mmvstate::g.MmvariCwIdSending = 1;
    emit control->receivedText(0, "W");
    EXPECT_FALSE(w->RichTextBox1->text().contains('W')) << "nothing shows while the CW ID is sent";
}

TEST_F(MmvariPanel, ErrorsOfTheControlOnTheMessageLine) {
    struct Case {
        int code;
        QString text;
    } cases[] = {{1, "受信サウンドが欠落しました"},
                 {2, "送信サウンドが欠落しました"},
                 {3, "サウンドカードがオープンできませんでした"},
                 {4, "COM回線がオープンできませんでした"},
                 {0, {}},
                 {5, {}}};
    w = &load();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        w->Text3->hide();
        w->Text3->setText("before");
        emit control->errorRaised(c.code);
        EXPECT_EQ(w->Text3->isHidden(), c.text.isEmpty());
        EXPECT_EQ(w->Text3->text(), c.text.isEmpty() ? QStringLiteral("before") : c.text);
    }
}

TEST_F(MmvariPanel, ASoundCardOrPttPortTheControlCannotOpenIsReported) {
    struct Case {
        QString psk;
        QString text;
    } cases[] = {{"SOUNDCARDnum=none\n", "サウンドカードがオープンできませんでした"},
                 {"COMPORT=-1\n", "COM回線がオープンできませんでした"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.psk.toStdString());
        core::g.MmvariActive = 0;
        w = &load(c.psk);
        ASSERT_TRUE(zvtest::waitUntil([&] { return w->Text3->text() == c.text; }));
        EXPECT_FALSE(w->Text3->isHidden());
        forms::unload<PSK31MAIN>();
    }
}

// PTT by CAT with no PTT port stored, or port 0: the control opens none.
TEST_F(MmvariPanel, WithPttByCatAndNoPortNoneIsOpened) {
    for (const char* port : {"", "COMPORT=0\n"}) {
        SCOPED_TRACE(port);
        QString keys = mmvtest::kPskKeys;
        keys.remove(QStringLiteral("COMPORT=0\n"))
            .replace(QStringLiteral("COMCONT=1"), QStringLiteral("COMCONT=0"));
        writeIni(QStringLiteral("[PSKCFG]\n") + QString::fromLatin1(port) + keys);
        core::g.OpMode = core::ModeMmvari;
        core::g.MmvariActive = 0;
        forms::AboutZORVATEK();
        w = &forms::PSK31MAIN();
        control = w->MMVARI;
        QSignalSpy errors(control, &MmvariControl::errorRaised);
        ASSERT_TRUE(zvtest::waitUntil([&] { return read(IdRun).toBool(); }));
        EXPECT_EQ(read(IdPttPort).toString(), QStringLiteral("NONE"));
        step(3);
        ASSERT_TRUE(zvtest::waitForPostedEvents());
        EXPECT_EQ(errors.size(), 0);
        EXPECT_NE(w->Text3->text(), QStringLiteral("COM回線がオープンできませんでした"));
        forms::unload<PSK31MAIN>();
    }
}

TEST_F(MmvariPanel, ThePopUpOfTheViewSetsSubChannelsAndTheNotch) {
    showWindow();
    ASSERT_TRUE(zvtest::chooseByClick(w->XMMVView1, w->SETCAN, Qt::RightButton, pointOf(1800)));
    EXPECT_FALSE(forms::isLoaded<::multi_ch>());
    EXPECT_EQ(read(PNotch, 0).toInt(), 0);

    ASSERT_TRUE(zvtest::chooseByClick(w->XMMVView1, w->SETnotch0, Qt::RightButton, pointOf(1800)));
    EXPECT_EQ(read(PNotch, 0).toInt(), w->ViewClickFreq);
    EXPECT_NEAR(w->ViewClickFreq, 1800, 10);
    EXPECT_EQ(w->LastNotchFreq, w->ViewClickFreq);
    EXPECT_EQ(core::g.MmvariSwitches[0], 1);
    EXPECT_EQ(colour::backColor(w->Command19[0]), 0xC0FFC0u);

    ASSERT_TRUE(control->set(PModeNumber, 0, 6));
    ASSERT_TRUE(zvtest::chooseByClick(w->XMMVView1, w->SET3CH, Qt::RightButton, pointOf(1200)));
    EXPECT_EQ(read(PRxFreq, 2).toInt(), w->ViewClickFreq);
    EXPECT_TRUE(read(PRxOn, 2).toBool());
    EXPECT_FALSE(read(PRxOn, 1).toBool());
    EXPECT_EQ(read(PCharSet, 2), read(PCharSet, 0));
    EXPECT_TRUE(forms::multi_ch().isVisible());
}

TEST_F(MmvariPanel, OutsideTheMultiModeEngineTheItemsMarkAPskChannel) {
    showWindow();
    core::g.OpMode = core::ModeBpsk;
    // What the item itself has done, before the waterfall's click goes on to place the
    // channel (the three-channel display it opens shows the channel window itself).
    struct {
        int imdChannel = 0, subChannel = 0;
        bool line11 = false, line12 = false, line14 = false, engineChannelOn = false;
    } marked;
    QObject::connect(w->SET3CH, &QAction::triggered, w, [&] {
        marked = {core::g.ImdChannel,     mmvstate::g.SubChannelSel, w->Line11->isVisible(),
                  w->Line12->isVisible(), w->Line14->isVisible(),    read(PRxOn, 2).toBool()};
    });
    QSignalSpy chosen(w->SET3CH, &QAction::triggered);
    zvtest::chooseInNextPopup(w->SET3CH);
    zvtest::clickAt(w->Picture3, Qt::RightButton, w->Picture3->toPixels(300, 50));
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(marked.imdChannel, 2);
    EXPECT_EQ(marked.subChannel, 2);
    EXPECT_TRUE(marked.line12);
    EXPECT_TRUE(marked.line14);
    EXPECT_FALSE(marked.line11);
    EXPECT_FALSE(marked.engineChannelOn) << "the multi-mode control's channel is left alone";
    EXPECT_EQ(core::g.Ch3RxFreq, terminal::displays::clickHz(300, core::g.FftFirstBin));
}

// A click on the 1500 Hz station's trace tunes the receiver there (its text
// arrives) and the transmitter with it; a drag tunes nothing.
TEST_F(MmvariPanel, ViewClicksTuneTheReceiverAndTransmitterUnlessDragged) {
    showWindow();
    XMMVView* view = w->XMMVView1;
    const QPoint at1500 = pointOf(1500);
    const QPoint at1900 = pointOf(1900);
    step(); // the view shows the trace
    QTest::mouseClick(view, Qt::LeftButton, {}, at1500);
    const int clicked = view->freqAt(at1500.x());
    EXPECT_EQ(read(PRxFreq, 0).toInt(), clicked);
    EXPECT_EQ(read(IdTxFreq).toInt(), clicked);
    ASSERT_TRUE(stepUntil([&] { return w->RichTextBox1->text().contains("こんにちは"); }))
        << w->RichTextBox1->text().toStdString();
    EXPECT_EQ(w->Text2->text(), QString::number(clicked));
    EXPECT_EQ(w->Text9->text(), QString::number(clicked));
    // A drag that ends over 1900 Hz tunes nothing.
    zvtest::pressAt(view, Qt::LeftButton, at1500);
    zvtest::moveMouseTo(view, at1900, Qt::LeftButton);
    zvtest::releaseAt(view, Qt::LeftButton, at1900);
    EXPECT_EQ(read(PRxFreq, 0).toInt(), clicked);
    EXPECT_EQ(read(IdTxFreq).toInt(), clicked);
    // With NET the transmitter follows the receiver.
    QTest::mouseClick(w->Command23, Qt::LeftButton);
    ASSERT_EQ(mmvstate::g.MmvariNetOn, 1);
    QTest::mouseClick(view, Qt::LeftButton, {}, at1900);
    step();
    EXPECT_EQ(read(PRxFreq, 0).toInt(), view->freqAt(at1900.x()));
    EXPECT_EQ(w->Text9->text(), QString::number(view->freqAt(at1900.x())));
}

TEST_F(MmvariPanel, TheMeterClickSetsTheSquelchInWholeSteps) {
    struct Case {
        int squelch, slider, result;
    } cases[] = {{1234, 6, 1200}, {199, 0, 0}, {2000, 10, 2000}};
    w = &load();
    for (const Case& c : cases) {
        ASSERT_TRUE(control->set(PSquelch, 0, c.squelch));
        QTest::mouseClick(w->XMMVLv1, Qt::LeftButton);
        EXPECT_EQ(w->Slider1->value(), c.slider);
        EXPECT_EQ(read(PSquelch, 0).toInt(), c.result);
    }
}

TEST_F(MmvariPanel, TheUpdateShowsFrequenciesAndFollowsTheWatchedChannel) {
    struct Case {
        int channel, mode, freq, span, left, colour;
    } cases[] = {{0, 4, 1000, 200, 900, 0xFFFFFF},
                 {2, 5, 1500, 300, 1350, 0xFFFFFF},
                 {1, 8, 2000, 600, 1700, 0},
                 {2, 0, 800, 200, 700, 0xFFFFFF}};
    w = &load();
    w->Label40->setText("7.035.000");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        core::g.ImdChannel = c.channel;
        ASSERT_TRUE(control->set(PModeNumber, c.channel, c.mode));
        ASSERT_TRUE(control->set(PRxFreq, c.channel, c.freq));
        emit control->periodicUpdate();
        QVariant span, left, colour, text;
        ASSERT_TRUE(w->XMMVView2->get(ViewSpan, span));
        ASSERT_TRUE(w->XMMVView2->get(ViewLeftFreq, left));
        ASSERT_TRUE(w->XMMVView2->get(ViewColour, 2, colour));
        EXPECT_EQ(span.toInt(), c.span);
        EXPECT_EQ(left.toInt(), c.left);
        EXPECT_EQ(colour.toInt(), c.colour);
        ASSERT_TRUE(w->XMMVView1->get(ViewText, 3, text));
        EXPECT_EQ(text.toString(), "7.035.000");
    }
    mmvstate::g.MmvariNetOn = 1;
    ASSERT_TRUE(control->set(PRxFreq, 0, 1234));
    emit control->periodicUpdate();
    EXPECT_EQ(read(IdTxFreq).toInt(), 1234);
    EXPECT_EQ(core::g.TxFreqHz, 1234);
    EXPECT_EQ(rig::g.RigAudioOffsetHz, 1234);
    EXPECT_EQ(w->Text2->text(), "1234");
    EXPECT_EQ(w->Text9->text(), "1234");
    EXPECT_EQ(w->Label15->text(), QString::number(read(PLevelDb, 0).toInt()) + "dB");
    EXPECT_EQ(w->Label41->text(), read(PChannelText, 0).toString());
}

// Transmitting with PTT by CAT on a simulated rig.
class MmvariOnAir : public MmvariWindowTest {
  protected:
    void SetUp() override {
        MmvariWindowTest::SetUp();
        w = &load("COMCONT=0\nTRX_TimeStmp=YES\n");
        sim = std::make_unique<zvtest::RigSimulator>("KENWOOD");
        ASSERT_TRUE(zvtest::openUnpolledRigLink(*sim));
        core::g.CwIdText = "DE JA1ZVK *";
    }
    void TearDown() override {
        if (rig::g.RigPortOpen == 1) rig::RigClosePort();
        sim.reset();
        MmvariWindowTest::TearDown();
    }
    // A macro's text, sent as the macro sender hands it over.
    void sendMacro(const QString& text, int cwId) {
        core::g.MacroText = text;
        core::g.MacroTxOn = 1;
        core::g.MacroTxOff = 1;
        core::g.MacroCwId = cwId;
        terminal::transmit::TxSend();
    }
    bool rigKeyed(bool keyed) { return zvtest::waitForRigToCatchUp(*sim) && sim->ptt == keyed; }

    PSK31MAIN* w = nullptr;
    std::unique_ptr<zvtest::RigSimulator> sim;
};

TEST_F(MmvariOnAir, TheMacroGoesOutAndTheRigIsReleasedAtTheEnd) {
    struct Case {
        const char* name;
        int cwId;
        int repeat;
    } cases[] = {{"plain", 0, 0}, {"with CW ID", 1, 0}, {"repeating", 0, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim->pttOnCount = sim->pttOffCount = 0;
        control->clearCalls();
        core::g.RepeatTxOn = c.repeat;
        terminal::macros::g.RepeatSeconds = "7";
        w->Text1->setText("typed");
        sendMacro("CQ de JA1ZVK k", c.cwId);
        ASSERT_TRUE(rigKeyed(true));
        ASSERT_TRUE(stepUntil([] { return core::g.Transmitting == 1; }));
        EXPECT_TRUE(w->RichTextBox1->text().contains("TX-"));
        if (c.cwId == 1) {
            ASSERT_TRUE(stepUntil([] { return mmvstate::g.MmvariCwIdSending == 1; }));
            EXPECT_EQ(control->callsOf(dispatch::Call::Invoke, MethodCwId).value(0).args.value(0).toString(),
                      "DE JA1ZVK :");
            EXPECT_EQ(core::g.MacroCwId, 0);
            EXPECT_TRUE(rigKeyed(true)) << "the CW ID goes out on the same keying";
            EXPECT_EQ(sim->pttOffCount, 0);
        }
        ASSERT_TRUE(stepUntil([] { return core::g.MmvariTxOn == 0; }));
        ASSERT_TRUE(rigKeyed(false));
        EXPECT_EQ(sim->pttOnCount, 1);
        EXPECT_EQ(sim->pttOffCount, 1);
        EXPECT_EQ(core::g.Transmitting, 0);
        EXPECT_EQ(mmvstate::g.MmvariCwIdSending, 0);
        EXPECT_TRUE(w->RichTextBox1->text().contains("CQ de JA1ZVK k"));
        EXPECT_FALSE(w->RichTextBox1->text().contains("JA1ZVK :")) << "the CW ID is not shown";
        EXPECT_TRUE(w->RichTextBox1->text().contains("RX-"));
        EXPECT_EQ(control->callsOf(dispatch::Call::Set, IdTuneReset).size(), 1);
        if (c.repeat == 1) {
            EXPECT_TRUE(w->Timer1->isActive());
            EXPECT_EQ(w->Timer1->interval(), 7000);
            EXPECT_TRUE(w->Timer4->isActive());
            EXPECT_EQ(colour::backColor(w->Command1), 0x80C0FFu);
            EXPECT_EQ(w->Text1->text(), "typed");
        } else {
            EXPECT_FALSE(w->Timer1->isActive());
            EXPECT_EQ(colour::backColor(w->Command1), colour::kButtonFace);
            EXPECT_TRUE(w->Text1->text().isEmpty());
            EXPECT_EQ(core::g.MacroTxOff, 0);
        }
        w->Timer1->stop();
        w->Timer4->stop();
    }
}

// From receive, a left press on "CW ID" sends the identification and the rig
// is released when it has gone out.
TEST_F(MmvariOnAir, TheCwIdButtonSendsTheIdAndReleasesTheRig) {
    w->Combo1->setEditText("DE JA1ZVK");
    QTest::mousePress(w->Command3, Qt::LeftButton);
    ASSERT_TRUE(rigKeyed(true));
    EXPECT_EQ(colour::backColor(w->Command1), 0x0000FFu);
    ASSERT_TRUE(stepUntil([] { return core::g.Transmitting == 1; }));
    ASSERT_TRUE(stepUntil([] { return core::g.MmvariTxOn == 0; }));
    ASSERT_TRUE(rigKeyed(false));
    EXPECT_EQ(sim->pttOnCount, 1);
    EXPECT_EQ(sim->pttOffCount, 1);
    EXPECT_EQ(core::g.Transmitting, 0);
    EXPECT_EQ(colour::backColor(w->Command1), colour::kButtonFace);
}

// Esc from any QSO box ends the control's transmission and releases the rig,
// and the macro's CW ID does not follow. Esc taken while the key-on still
// waits for the rig's answer to a poll ends the start itself: the rig is
// never keyed and the control never sends.
TEST_F(MmvariOnAir, EscFromAnyBoxReleasesTheRig) {
    w->show();
    ASSERT_TRUE(zvtest::waitExposed(w));
    const struct {
        const char* name;
        QWidget* box;
        bool whileKeyWaits;
    } rows[] = {{"transmit box", w->Text1, false},
                {"call", w->Text5, false},
                {"name", w->Text6, false},
                {"receive pane", w->RichTextBox1, false},
                {"call, while the key waits", w->Text5, true},
                {"transmit box, while the key waits", w->Text1, true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const int keyed = sim->pttOnCount;
        bool pressed = false;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (pressed || !rig::exchangeInProgress()) return;
            pressed = true;
            row.box->setFocus();
            QTest::keyClick(row.box, Qt::Key_Escape);
            sim->holdingAnswers = false;
            sim->releaseAnswers();
        });
        if (row.whileKeyWaits) {
            sim->holdingAnswers = true;
            rig::RigReadStatus();
            watch.start(0);
        }
        sendMacro("CQ CQ de JA1ZVK JA1ZVK JA1ZVK pse k", 1);
        core::g.MacroTxOff = 0; // on the air until stopped
        if (row.whileKeyWaits) {
            ASSERT_TRUE(pressed);
            ASSERT_TRUE(zvtest::waitUntil([&] { return !sim->lineBusy() && !rig::exchangeInProgress(); }));
            EXPECT_FALSE(stepUntil([] { return core::g.Transmitting == 1; }, 20))
                << "the control never sends";
            EXPECT_EQ(sim->pttOnCount, keyed);
        } else {
            ASSERT_TRUE(rigKeyed(true));
            ASSERT_TRUE(stepUntil([] { return core::g.Transmitting == 1; }));
            row.box->setFocus();
            QTest::keyClick(row.box, Qt::Key_Escape);
        }
        ASSERT_TRUE(stepUntil([] { return core::g.MmvariTxOn == 0 && core::g.Transmitting == 0; }));
        ASSERT_TRUE(rigKeyed(false));
        EXPECT_EQ(core::g.MacroCwId, 0);
        EXPECT_TRUE(control->callsOf(dispatch::Call::Invoke, MethodCwId).isEmpty()) << "no CW ID after Esc";
        EXPECT_TRUE(w->Text1->text().isEmpty());
    }
}

// The calibration window takes the sound card from the main control while it
// transmits: the transmission ends first, the rig is released, and F12 sends
// again once the card is back.
TEST_F(MmvariOnAir, TheCalibrationTakingTheCardEndsTheTransmission) {
    w->show();
    ASSERT_TRUE(zvtest::waitExposed(w));
    w->Text1->setFocus();
    QTest::keyClick(w->Text1, Qt::Key_F12);
    ASSERT_TRUE(rigKeyed(true));
    QTest::mouseClick(w->Command19[7], Qt::LeftButton);
    QTest::mouseClick(forms::CFG_MMVARI().Command1, Qt::LeftButton);
    ASSERT_TRUE(forms::isLoaded<CLKadj>());
    CLKadj& d = forms::CLKadj();
    ASSERT_TRUE(zvtest::chooseMenuItem(d.stopSound1));
    EXPECT_TRUE(rigKeyed(false));
    EXPECT_EQ(core::g.MmvariTxOn, 0);
    EXPECT_EQ(colour::backColor(w->Command1), colour::kButtonFace);
    ASSERT_TRUE(zvtest::chooseMenuItem(d.stopSound1));
    d.close();
    ASSERT_TRUE(zvtest::waitUntil([] { return !forms::isLoaded<CLKadj>(); }));
    forms::unload<CFG_MMVARI>();
    w->Text1->setFocus();
    QTest::keyClick(w->Text1, Qt::Key_F12);
    EXPECT_TRUE(rigKeyed(true));
    QTest::keyClick(w->Text1, Qt::Key_Escape);
    ASSERT_TRUE(stepUntil([] { return core::g.MmvariTxOn == 0; }));
    EXPECT_TRUE(rigKeyed(false));
}

// The control's sound lost and its window unloaded while a handler of its
// end notice waits: the control is not freed under that handler.
TEST_F(MmvariOnAir, TheControlGoneInsideAHandlersWaitGoesAfterIt) {
    const QPointer<MmvariControl> alive(control);
    bool freedInside = false;
    QObject::connect(control, &MmvariControl::txState, control, [&](int state) {
        if (state != 0) return;
        QTimer::singleShot(0, [this] {
            control->soundDropped();
            forms::unloadAllExcept();
        });
        forms::letEventsRun();
        forms::letEventsRun();
        freedInside = !alive;
    });
    sendMacro("CQ", 0);
    ASSERT_TRUE(stepUntil([] { return core::g.MmvariTxOn == 0; }));
    EXPECT_FALSE(freedInside);
    EXPECT_TRUE(rigKeyed(false));
}

TEST_F(MmvariOnAir, AnEndNoticeWithoutTransmissionLeavesTheRigAlone) {
    emit control->txState(0);
    ASSERT_TRUE(zvtest::waitForRigToCatchUp(*sim));
    EXPECT_EQ(sim->pttOffCount, 0);
    EXPECT_TRUE(control->callsOf(dispatch::Call::Set, IdTuneReset).isEmpty());
}

// A repeat that ends in its pause leaves no 'TXOFF' behind: the operator's
// next transmission with F12 runs until the operator ends it.
TEST_F(MmvariOnAir, ARepeatStoppedInItsPauseLeavesTheNextTransmissionToTheOperator) {
    enum How { EscInCallBox, EscInTransmitBox, BusyChannel };
    struct Case {
        const char* name;
        How how;
    } cases[] = {{"Esc in the call-sign box", EscInCallBox},
                 {"Esc in the transmit box", EscInTransmitBox},
                 {"a busy channel", BusyChannel}};
    w->show();
    ASSERT_TRUE(zvtest::waitExposed(w));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        zvtest::sendMacro(*w, 0, "'TXON'CQ de JA1ZVK k'RPT 30''TXOFF'");
        ASSERT_EQ(core::g.RepeatTxOn, 1);
        ASSERT_TRUE(stepUntil([] { return core::g.Transmitting == 1; }));
        ASSERT_TRUE(stepUntil([] { return core::g.MmvariTxOn == 0; }));
        ASSERT_TRUE(w->Timer1->isActive()) << "the pause runs";
        switch (c.how) {
        case EscInCallBox:
            QTest::keyClick(w->Text5, Qt::Key_Escape);
            break;
        case EscInTransmitBox:
            QTest::keyClick(w->Text1, Qt::Key_Escape);
            break;
        case BusyChannel:
            // The main channel sits on the station at 1000 Hz: every reading is busy.
            ASSERT_GT(control->meterLevel(), 50);
            for (int i = 0; i < 3; ++i)
                ASSERT_TRUE(QSignalSpy(w->Timer4, &QTimer::timeout).wait(zvtest::kSafetyNetMsecs));
            break;
        }
        EXPECT_EQ(core::g.RepeatTxOn, 0);
        EXPECT_EQ(core::g.MacroTxOff, 0);
        w->Timer1->stop();

        QTest::keyClick(w->Text1, Qt::Key_F12);
        QTest::keyClicks(w->Text1, "abc");
        ASSERT_TRUE(stepUntil([] { return core::g.Transmitting == 1; }));
        ASSERT_TRUE(stepUntil([this] { return w->RichTextBox1->text().endsWith("abc"); }));
        step(20);
        EXPECT_EQ(core::g.MmvariTxOn, 1) << "the text has gone out and the transmission goes on";
        QTest::keyClick(w->Text1, Qt::Key_F12);
        ASSERT_TRUE(stepUntil([] { return core::g.MmvariTxOn == 0; }));
        ASSERT_TRUE(rigKeyed(false));
    }
}

} // namespace
