// The multi-channel window on the main window with the PSK library's and the
// multi-mode control's stand-ins: its place and layout kept across runs, its
// panels and mode menus, the swap, its close, and words taken from its panes.
#include "terminal/displays/multi_ch.h"
#include "terminal/engines/PskFixture.h"

#include "core/engines/MmvariState.h"
#include "core/ini/IniValues.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/controls/PictureBox.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/windows/WindowFrame.h"
#include "platform/mmvari/MmvariControl.h"
#include "platform/mmvari/MmvariIds.h"
#include "settings/dialogs/CFG_RecPlay.h"
#include "support/Popups.h"
#include "support/ProgramFolder.h"
#include "support/QsoBoxSetUp.h"
#include "support/Transmit.h"
#include "terminal/displays/MultiChPos.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QTextCursor>

#include <sys/inotify.h>
#include <unistd.h>

namespace {

using core::g;
using namespace terminal::displays;

class MultiCh : public psktest::PskWindowTest {
  protected:
    PSK31MAIN& open(const QString& ini = {}) {
        writeIni(ini + QStringLiteral("\n[PSKCFG]\n") + psktest::kFixtureKeys);
        PSK31MAIN& w = forms::PSK31MAIN();
        w.Timer2->stop();
        g.EngineMsgHold = 0;
        w.show();
        EXPECT_TRUE(zvtest::waitExposed(&w));
        pskcore::lib().clearCalls();
        return w;
    }
    // The multi-channel item, as the operator starts the extra channels.
    multi_ch& start(PSK31MAIN& w) {
        EXPECT_TRUE(zvtest::chooseInMenuBar(w.menuBar(), w.MLTRCV));
        multi_ch& m = forms::multi_ch();
        EXPECT_TRUE(zvtest::waitExposed(&m));
        return m;
    }
    static bool closeBox(QWidget& window) {
        QCloseEvent e;
        QSpontaneKeyEvent::setSpontaneous(&e);
        static_cast<QObject&>(window).event(&e);
        return e.isAccepted();
    }
    static void clickPanel(multi_ch& m, int panel) {
        QTest::mouseClick(m.StatusBar1->panel(panel), Qt::LeftButton);
    }
    static QMenu* activePopup() {
        zvtest::waitUntil([] { return QApplication::activePopupWidget() != nullptr; });
        return qobject_cast<QMenu*>(QApplication::activePopupWidget());
    }
    static QString ini(const char* section, const char* key) {
        return core::IniStored(QString::fromLatin1(section), QString::fromLatin1(key)).value_or("-");
    }
    static QPoint placeOf(RichTextPane* pane, int pos) {
        QTextCursor c(pane->document());
        c.setPosition(pos);
        return pane->cursorRect(c).center();
    }
};

TEST_F(MultiCh, TheFirstOpeningIsStackedAtTheTopLeft) {
    PSK31MAIN& w = open(QStringLiteral("[MultiDSP]\nHORZ=YES\n"));
    multi_ch& m = start(w);
    EXPECT_EQ(m.windowTitle(), QStringLiteral("Multi Channel Display"));
    EXPECT_EQ(m.pos(), QPoint(0, 0));
    EXPECT_EQ(m.widthTw(), 6690);
    EXPECT_EQ(m.MultiHorizontal, 0) << "stacked whatever HORZ holds";
    EXPECT_EQ(m.tw.rect(m.RichTextBox1).top, 480);
    EXPECT_EQ(m.tw.rect(m.RichTextBox2).top, 2040);
    EXPECT_EQ(m.tw.rect(m.RichTextBox2).width, 6690 - 165);
    EXPECT_EQ(m.tw.rect(m.Label2).top, 1800);
    EXPECT_EQ(m.Label1->text(), QStringLiteral("Ch2"));
    EXPECT_EQ(m.Command1->text(), QStringLiteral("=>To Ch1"));
    EXPECT_EQ(m.StatusBar1->text(1), QStringLiteral("Close"));
    EXPECT_EQ(m.StatusBar1->text(2), QStringLiteral("Ch2=BPSK"));
    EXPECT_EQ(m.StatusBar1->text(3), QStringLiteral("Ch3=BPSK"));
    EXPECT_EQ(g.ChannelDisplay, 3);
    EXPECT_EQ(m.VScroll1->value(), 1400);
    EXPECT_EQ(m.Label5->text(), QStringLiteral("1400"));
}

TEST_F(MultiCh, SideBySideItsSecondHeaderFollowsTheMiddleAndTheLayoutReturns) {
    PSK31MAIN& w = open(QStringLiteral("[MultiDSP]\nHORZ=YES\n[CFGPOS]\nMDPOSTop=300\nMDPOSLeft=450\n"
                                       "MDPOSWidth=6690\nMDPOSHeight=3930\n"));
    multi_ch& m = start(w);
    EXPECT_EQ(m.pos(), QPoint(30, 20));
    EXPECT_EQ(m.widthTw(), 9165);
    EXPECT_EQ(m.tw.rect(m.RichTextBox2).left, m.tw.rect(m.RichTextBox1).width + 104);
    EXPECT_EQ(m.tw.rect(m.RichTextBox2).top, 480);
    EXPECT_EQ(m.tw.rect(m.Label2).left, 4750);

    // 1020 twips wider (68 pixels): the header moves by half of it.
    m.resize(m.width() + 68, m.height());
    ASSERT_TRUE(zvtest::waitUntil([&] { return m.tw.rect(m.Label2).left != 4750; }));
    EXPECT_EQ(m.tw.rect(m.Label2).left, 4750 + 510);
    EXPECT_EQ(m.tw.rect(m.Command2).left, 6550 + 510);
    EXPECT_EQ(m.tw.rect(m.Label1).left, 120);

    // Closed and opened again: every control where it was, the window too.
    const MultiPlaces before = m.places();
    const QPoint at = m.pos();
    m.VScroll2->setValue(2210);
    EXPECT_TRUE(closeBox(m));
    EXPECT_FALSE(forms::isLoaded<multi_ch>());
    EXPECT_EQ(ini("multi_pos", "L2L"), QStringLiteral("5260"));
    EXPECT_TRUE(readFile(QStringLiteral("ZORVATEK.INI")).contains("RX3Freq= 2210\r\n"));
    EXPECT_EQ(ini("CFGPOS", "MDPOSWidth"), QString::number(m.widthTw()));
    multi_ch& again = start(w);
    EXPECT_EQ(again.places(), before);
    EXPECT_EQ(again.pos(), at);
    EXPECT_EQ(again.MultiHorizontal, 1);
}

// Side by side ticked in the settings, the window unloaded by a mode change
// before its close: the switch has stored the new arrangement, and places
// stored for the other one are arranged anew rather than garbled.
TEST_F(MultiCh, AnArrangementFollowsHorzAndIsStoredWhenItChanges) {
    PSK31MAIN& w =
        open(QStringLiteral("[CFGPOS]\nMDPOSTop=0\nMDPOSLeft=0\nMDPOSWidth=6690\nMDPOSHeight=3930\n"));
    multi_ch& m = start(w);
    ASSERT_EQ(m.MultiHorizontal, 0);
    ASSERT_TRUE(closeBox(m));
    ASSERT_EQ(ini("multi_pos", "R2T"), QStringLiteral("2040")) << "a stacked layout is stored";

    multi_ch& again = start(w);
    core::PutIniText(QStringLiteral("MultiDSP"), "HORZ", QStringLiteral("YES"));
    again.MultiHorizontal = 1;
    ArrangeMultiCh();
    EXPECT_EQ(ini("multi_pos", "R2T"), QStringLiteral("480")) << "stored at once";
    EXPECT_EQ(ini("CFGPOS", "MDPOSWidth"), QStringLiteral("9165"));
    forms::unload<multi_ch>();

    // Stacked places stored, side by side asked for: arranged side by side.
    for (const auto& [key, value] : layoutKeys(arranged(designPlaces(), 6690, 3930, false)))
        core::PutIniText(QStringLiteral("multi_pos"), core::IniKey::built(key), QString::number(value));
    multi_ch& third = start(w);
    EXPECT_EQ(third.MultiHorizontal, 1);
    EXPECT_EQ(third.tw.rect(third.RichTextBox2).top, 480);
    EXPECT_EQ(third.tw.rect(third.RichTextBox2).left, third.tw.rect(third.RichTextBox1).width + 104);
    EXPECT_EQ(third.tw.rect(third.Label2).left, 4750);
    EXPECT_EQ(third.tw.rect(third.Label2).top, 240);
}

// The stored size is the outer one: stacked, the second pane ends just above
// the status bar, with no empty band between.
TEST_F(MultiCh, TheStoredSizeIsTheOuterSize) {
    PSK31MAIN& w = open();
    multi_ch& m = start(w);
    EXPECT_EQ(m.heightTw(), 3930);
    const int paneBottom = m.RichTextBox2->geometry().bottom();
    const int barTop = m.StatusBar1->geometry().top();
    EXPECT_GE(barTop, paneBottom);
    EXPECT_LT(barTop - paneBottom, 12) << "no empty band above the status bar";
    EXPECT_EQ(m.height() + winframe::framePx(&m).height(), twips::toPx(3930));
}

// One close writes the settings file once, however many keys it stores.
TEST_F(MultiCh, OneCloseWritesTheSettingsFileOnce) {
    PSK31MAIN& w = open();
    multi_ch& m = start(w);
    const int watch = ::inotify_init1(IN_NONBLOCK);
    ASSERT_GE(watch, 0);
    const QScopeGuard closeWatch([watch] { ::close(watch); });
    ASSERT_GE(
        ::inotify_add_watch(watch, QFile::encodeName(folder()).constData(), IN_CLOSE_WRITE | IN_MOVED_TO), 0);
    ASSERT_TRUE(closeBox(m));
    int writes = 0;
    alignas(inotify_event) char buffer[8192];
    for (ssize_t n; (n = ::read(watch, buffer, sizeof buffer)) > 0;)
        for (char* p = buffer; p < buffer + n;) {
            const auto* e = reinterpret_cast<const inotify_event*>(p);
            if (e->len > 0 && QByteArray(e->name) == "ZORVATEK.INI") ++writes;
            p += sizeof(inotify_event) + e->len;
        }
    EXPECT_EQ(writes, 1);
    EXPECT_EQ(ini("multi_pos", "C2T"), QStringLiteral("1800"));
}

TEST_F(MultiCh, StoredValuesThatAreNoNumbersOrOffTheScreenTakeTheirDefaults) {
    PSK31MAIN& w =
        open(QStringLiteral("[CFGPOS]\nMDPOSTop=99999\nMDPOSLeft=abc\nMDPOSWidth=x\nMDPOSHeight=4500\n"
                            "[multi_pos]\nR1H=2000\nR1T=x\nC2L=2500\n"));
    multi_ch& m = start(w);
    EXPECT_EQ(m.pos(), QPoint(0, 0));
    EXPECT_EQ(m.widthTw(), 6690);
    EXPECT_EQ(m.heightTw(), 4500);
    EXPECT_EQ(m.tw.rect(m.RichTextBox1).height, 2000);
    EXPECT_EQ(m.tw.rect(m.RichTextBox1).top, 480);
    EXPECT_EQ(m.tw.rect(m.Command2).left, 2500);
}

// A stored size larger than the screen (a damaged or hand-edited file) gives
// the default size, so that the window's edges and status bar stay in reach.
TEST_F(MultiCh, AStoredSizeLargerThanTheScreenTakesTheDefault) {
    PSK31MAIN& w = open(QStringLiteral("[CFGPOS]\nMDPOSTop=300\nMDPOSLeft=450\nMDPOSWidth=99999999\n"
                                       "MDPOSHeight=99999999\n"));
    multi_ch& m = start(w);
    const QRect screen = m.screen()->availableGeometry();
    EXPECT_EQ(m.widthTw(), 6690);
    EXPECT_LE(m.frameGeometry().width(), screen.width());
    EXPECT_LE(m.frameGeometry().height(), screen.height());
    EXPECT_EQ(m.pos(), QPoint(30, 20));
}

TEST_F(MultiCh, StoredFrequenciesOutsideTheBarsAreBroughtIn) {
    PSK31MAIN& w = load(QStringLiteral("RX2Freq=5000\nRX3Freq=20\n"));
    EXPECT_EQ(g.Ch2RxFreq, 3500);
    EXPECT_EQ(g.Ch3RxFreq, 100);
    w.show();
    ASSERT_TRUE(zvtest::waitExposed(&w));
    multi_ch& m = start(w);
    EXPECT_EQ(m.Label5->text(), QStringLiteral("3500"));
    EXPECT_EQ(m.VScroll2->value(), 100);
    EXPECT_EQ(m.Label6->text(), QStringLiteral("100"));
    // The top is the highest frequency: ▲ raises it, ▼ lowers it.
    m.show();
    ASSERT_TRUE(zvtest::waitExposed(&m));
    QScrollBar* bar = m.VScroll2;
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, 3));
    EXPECT_GT(bar->value(), 100);
    EXPECT_EQ(m.Label6->text(), QString::number(bar->value()));
    const int raised = bar->value();
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() - 4));
    EXPECT_LT(bar->value(), raised);
}

TEST_F(MultiCh, APanelChoosesItsChannelsMode) {
    PSK31MAIN& w = open();
    multi_ch& m = start(w);
    pskcore::lib().clearCalls();
    g.EngineMsgHold = 1;
    clickPanel(m, 2);
    ASSERT_EQ(activePopup(), m.MODSEL2);
    ASSERT_TRUE(zvtest::chooseInPopup(m.MODSEL2, m.PSKMODE2[2]));
    EXPECT_EQ(m.StatusBar1->text(2), QStringLiteral("Ch2=QPSK(LSB)"));
    EXPECT_EQ(g.Ch2PskMode, 2);
    EXPECT_FALSE(m.PSKMODE2[0]->isChecked());
    EXPECT_FALSE(m.PSKMODE2[1]->isChecked());
    EXPECT_TRUE(m.PSKMODE2[2]->isChecked());
    EXPECT_TRUE(calls().contains(QStringLiteral("fnSetRXPSKMode(2, 1)")));
    EXPECT_EQ(g.EngineMsgHold, 0);

    clickPanel(m, 3);
    ASSERT_EQ(activePopup(), m.MODSEL3);
    ASSERT_TRUE(zvtest::chooseInPopup(m.MODSEL3, m.PSKMODE3[1]));
    EXPECT_EQ(m.StatusBar1->text(3), QStringLiteral("Ch3=QPSK(USB)"));
    EXPECT_TRUE(calls().contains(QStringLiteral("fnSetRXPSKMode(1, 2)")));

    // While transmitting the panels do nothing.
    ASSERT_TRUE(zvtest::transmitByF12(w));
    clickPanel(m, 2);
    EXPECT_TRUE(zvtest::waitForPostedEvents());
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    clickPanel(m, 1);
    EXPECT_TRUE(forms::isLoaded<multi_ch>());
    EXPECT_TRUE(zvtest::endByEscape(w));
}

TEST_F(MultiCh, TheSwapBringsTheChannelToTheMainPane) {
    struct Case {
        int n;
        int panel;
    } cases[] = {{1, 2}, {2, 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.n);
        PSK31MAIN& w = open();
        multi_ch& m = start(w);
        w.VScroll1->setValue(1000);
        g.OpMode = core::ModeBpsk;
        (c.n == 1 ? m.VScroll1 : m.VScroll2)->setValue(1500);
        (c.n == 1 ? g.Ch2PskMode : g.Ch3PskMode) = 1;
        pskcore::lib().clearCalls();
        QTest::mouseClick(c.n == 1 ? m.Command1 : m.Command2, Qt::LeftButton);
        EXPECT_EQ(w.VScroll1->value(), 1500);
        EXPECT_EQ(g.RxFreqHz, 1500);
        EXPECT_EQ(g.OpMode, core::ModeQpskUsb);
        EXPECT_EQ((c.n == 1 ? m.VScroll1 : m.VScroll2)->value(), 1000);
        EXPECT_EQ(c.n == 1 ? g.Ch2RxFreq : g.Ch3RxFreq, 1000);
        EXPECT_EQ(c.n == 1 ? g.Ch2PskMode : g.Ch3PskMode, 0);
        EXPECT_EQ(w.StatusBar1->text(2), QStringLiteral("QPSK(USB)"));
        EXPECT_TRUE(w.PSKMODE[1]->isChecked());
        EXPECT_FALSE(w.PSKMODE[0]->isChecked());
        EXPECT_EQ(m.StatusBar1->text(c.panel),
                  c.n == 1 ? QStringLiteral("Ch2=BPSK") : QStringLiteral("Ch3=BPSK"));
        EXPECT_TRUE((c.n == 1 ? m.PSKMODE2 : m.PSKMODE3)[0]->isChecked());
        EXPECT_FALSE((c.n == 1 ? m.PSKMODE2 : m.PSKMODE3)[1]->isChecked());
        EXPECT_TRUE(calls().contains(QStringLiteral("fnSetRXPSKMode(1, 0)")));
        EXPECT_TRUE(calls().contains(QStringLiteral("fnSetRXPSKMode(0, %1)").arg(c.n)));
        EXPECT_TRUE(calls().contains(QStringLiteral("fnSetRXFrequency(1000, 50, %1)").arg(c.n)));
        EXPECT_EQ(w.focusWidget(), w.Text5);
        forms::unload<multi_ch>();
    }
}

TEST_F(MultiCh, TheMultiModeSwapAndModesGoToTheControl) {
    PSK31MAIN& w = open();
    g.OpMode = core::ModeMmvari;
    mmvstate::g.SubCh1VariMode = 5;
    mmvstate::g.SubCh2VariMode = 6;
    multi_ch& m = forms::multi_ch();
    EXPECT_EQ(m.Command1->text(), QStringLiteral("=>To Ch0"));
    EXPECT_EQ(m.Label1->text(), QStringLiteral("Ch1"));
    EXPECT_EQ(m.StatusBar1->text(2), QStringLiteral("ch1=RTTY-LSB"));
    EXPECT_EQ(m.StatusBar1->text(3), QStringLiteral("ch2=RTTY-USB"));
    m.show();
    ASSERT_TRUE(zvtest::waitExposed(&m));

    mmvari::MmvariControl* c = w.MMVARI;
    c->set(mmvari::PRxFreq, 0, 1000);
    c->set(mmvari::PRxFreq, 1, 1500);
    c->set(mmvari::PModeName, 0, QStringLiteral("GMSK"));
    c->set(mmvari::PModeName, 1, QStringLiteral("bpsk"));
    c->clearCalls();
    QTest::mouseClick(m.Command1, Qt::LeftButton);
    QVariant v;
    ASSERT_TRUE(c->get(mmvari::PRxFreq, 0, v));
    EXPECT_EQ(v.toInt(), 1500);
    ASSERT_TRUE(c->get(mmvari::PRxFreq, 1, v));
    EXPECT_EQ(v.toInt(), 1000);
    ASSERT_TRUE(c->get(mmvari::PModeName, 0, v));
    EXPECT_EQ(v.toString(), QStringLiteral("bpsk"));
    ASSERT_TRUE(c->get(mmvari::PModeName, 1, v));
    EXPECT_EQ(v.toString(), QStringLiteral("GMSK"));
    const auto tx = c->callsOf(dispatch::Call::Set, mmvari::IdTxFreq);
    ASSERT_FALSE(tx.isEmpty());
    EXPECT_EQ(tx.last().args.value(0).toInt(), 1500);
    EXPECT_EQ(m.StatusBar1->text(2), QStringLiteral("ch1=GMSK(MBCS)"));
    EXPECT_TRUE(m.MMV2[0]->isChecked());

    // A mode from the panel's menu goes to the sub-channel by its name.
    c->clearCalls();
    const int mainChoice = mmvstate::g.SubCh2VariMode;
    clickPanel(m, 3);
    ASSERT_EQ(activePopup(), m.mmMODE3);
    ASSERT_TRUE(zvtest::chooseInPopup(m.mmMODE3, m.MMV3[7]));
    const auto names = c->callsOf(dispatch::Call::Set, mmvari::PModeName);
    ASSERT_EQ(names.size(), 1);
    EXPECT_EQ(names.front().index, 2);
    EXPECT_EQ(names.front().args, (QVariantList{QStringLiteral("mfsk-L")}));
    EXPECT_EQ(m.StatusBar1->text(3), QStringLiteral("ch2=mfsk-LSB"));
    EXPECT_TRUE(m.MMV3[7]->isChecked());
    EXPECT_EQ(mmvstate::g.SubCh2VariMode, mainChoice) << "the main window's choice stays";

    // The "Close" panel switches the sub-channels off.
    c->clearCalls();
    clickPanel(m, 1);
    EXPECT_FALSE(forms::isLoaded<multi_ch>());
    const auto off = c->callsOf(dispatch::Call::Set, mmvari::PRxOn);
    ASSERT_EQ(off.size(), 2);
    EXPECT_EQ(off[0].index, 1);
    EXPECT_EQ(off[1].index, 2);
    EXPECT_EQ(off[0].args, (QVariantList{false}));
    EXPECT_EQ(off[1].args, (QVariantList{false}));
    EXPECT_EQ(g.ChannelDisplay, 1);
}

TEST_F(MultiCh, ClosingIsRefusedWhileAnyEngineTransmits) {
    PSK31MAIN& w = open();
    multi_ch& m = start(w);
    for (int* flag : {&g.Transmitting, &g.MmvariTxOn}) {
        *flag = 1;
        EXPECT_FALSE(closeBox(m));
        EXPECT_TRUE(forms::isLoaded<multi_ch>());
        *flag = 0;
    }
    EXPECT_TRUE(closeBox(m));
    EXPECT_FALSE(forms::isLoaded<multi_ch>());
    EXPECT_EQ(g.ChannelDisplay, 1);
    EXPECT_EQ(g.ImdChannel, 0);
    EXPECT_EQ(w.Label8->text(), QStringLiteral(" Ch1"));
    EXPECT_FALSE(w.Label43->isVisible());
    EXPECT_FALSE(w.Command16->isEnabled());
    EXPECT_EQ(ini("multi_pos", "R1T"), QStringLiteral("480"));
}

TEST_F(MultiCh, AClickInAPaneTakesACallOrANameAndASelectionIsOffered) {
    PSK31MAIN& w = open();
    multi_ch& m = start(w);
    g.DataCaptureOn = 1;
    m.RichTextBox2->setText(QStringLiteral("QQ9ABC de qq1xyz/p1234 name TAROYAMADAKUN k"));
    QTest::mouseClick(m.RichTextBox2->viewport(), Qt::LeftButton, {}, placeOf(m.RichTextBox2, 14));
    EXPECT_EQ(w.Text5->text(), QStringLiteral("QQ1XYZ/P12"));
    EXPECT_EQ(w.focusWidget(), w.Text1);
    QTest::mouseClick(m.RichTextBox2->viewport(), Qt::LeftButton, {}, placeOf(m.RichTextBox2, 30));
    EXPECT_EQ(w.Text6->text(), QStringLiteral("TAROYAMADAKU"));
    EXPECT_EQ(m.RichTextBox2->selStart(), m.RichTextBox2->length());
    zvtest::clearBox(w.Text6);
    QTest::mouseClick(m.RichTextBox2->viewport(), Qt::LeftButton, {}, placeOf(m.RichTextBox2, 44));
    EXPECT_TRUE(w.Text6->text().isEmpty()) << "the last word is still coming";

    // A selection is offered in the pop-up; its items take it from the clipboard.
    g.DataCaptureOn = 0;
    m.RichTextBox1->setText(QStringLiteral("op  Hanako  here"));
    auto drag = [&] {
        QWidget* view = m.RichTextBox1->viewport();
        QTest::mousePress(view, Qt::LeftButton, {}, placeOf(m.RichTextBox1, 2));
        QTest::mouseMove(view, placeOf(m.RichTextBox1, 12));
        QTest::mouseRelease(view, Qt::LeftButton, {}, placeOf(m.RichTextBox1, 12));
        return activePopup();
    };
    ASSERT_EQ(drag(), m.PUPMENU);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("  Hanako  "));
    ASSERT_TRUE(zvtest::chooseInPopup(m.PUPMENU, m.TONAME));
    EXPECT_EQ(w.Text6->text(), QStringLiteral("Hanako"));
    EXPECT_TRUE(QGuiApplication::clipboard()->text().isEmpty());
    ASSERT_EQ(drag(), m.PUPMENU);
    ASSERT_TRUE(zvtest::chooseInPopup(m.PUPMENU, m.MEMOW));
    EXPECT_EQ(readFile(QStringLiteral("PSKMEMO.DAT")), QByteArray("Hanako\r\n"));

    // A right click offers to clear the pane.
    ASSERT_TRUE(zvtest::chooseByClick(m.RichTextBox1->viewport(), m.Disp1Clr));
    EXPECT_TRUE(m.RichTextBox1->text().isEmpty());
}

TEST_F(MultiCh, CtrlMStartsTheExtraChannelsButNotInRttyOrWhileRecording) {
    PSK31MAIN& w = open();
    struct Case {
        int mode, recording, transmitting;
        const char* asked;
        bool shown;
    } cases[] = {
        {core::ModeRtty, 0, 0, nullptr, false},
        {core::ModeBpsk, 1, 0, "録音再生モード中は変更できません", false},
        {core::ModeBpsk, 0, 1, "送信中は変更できません", false},
        {core::ModeCw, 0, 0, nullptr, true},
        {core::ModeBpsk, 0, 0, nullptr, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode * 10 + c.recording);
        g.OpMode = c.mode;
        if (c.recording) {
            ASSERT_TRUE(zvtest::chooseMenuItem(w.RecPsk)); // its dialog sets the recording up
        }
        if (c.transmitting) {
            ASSERT_TRUE(zvtest::transmitByF12(w));
        }
        ui::script::clearAsked();
        w.Text1->setFocus();
        QTest::keyClick(w.Text1, Qt::Key_M, Qt::ControlModifier);
        EXPECT_EQ(ui::script::asked().size(), c.asked ? 1 : 0);
        if (c.asked && !ui::script::asked().isEmpty()) {
            EXPECT_EQ(ui::script::asked().front().prompt, QString::fromUtf8(c.asked));
        }
        EXPECT_EQ(forms::isLoaded<multi_ch>() && forms::multi_ch().isVisible(), c.shown);
        forms::unload<multi_ch>();
        if (c.recording) {
            CFG_RecPlay& d = forms::CFG_RecPlay();
            ASSERT_TRUE(zvtest::chooseInMenuBar(d.menus, d.CLOSE_CFG));
            EXPECT_EQ(g.RecPlayState, 0);
        }
        if (c.transmitting) {
            EXPECT_TRUE(zvtest::endByEscape(w));
        }
    }
    g.OpMode = core::ModeBpsk;
}

} // namespace
