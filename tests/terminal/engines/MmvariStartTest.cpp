// The multi-mode engine's start from the stored [MMVCFG] options: what reaches
// the control in which order, and what the main window shows.
#include "terminal/panels/MmvariFixture.h"

#include "platform/forms/colour/Colour.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/controls/PictureBox.h"
#include "platform/forms/controls/StatusPanels.h"
#include "platform/mmvari/MmvariIds.h"
#include "platform/mmvari/MmvariViews.h"
#include "platform/os/Cp932.h"
#include "support/Popups.h"
#include "terminal/engines/MmvariEngine.h"
#include "terminal/engines/PskEngine.h"
#include "terminal/panels/MmvariPanel.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace {

using namespace mmvari;
using mmvtest::MmvariWindowTest;

// The control's sets in order, "id=value" or "id(channel)=value"; the mode
// list's own handler (mode name and speed) and the character set, which
// follows the pane's font, are left out.
QStringList startSequence(const MmvariControl& c) {
    QStringList out;
    for (const dispatch::Call& call : c.calls()) {
        if (call.kind != dispatch::Call::Set || call.id == PModeName || call.id == PSpeed) continue;
        QString name = QString::number(call.id);
        if (call.index) name += QStringLiteral("(%1)").arg(*call.index);
        out << (call.id == PCharSet ? name : name + QLatin1Char('=') + call.args.value(0).toString());
    }
    return out;
}

struct StartCase {
    const char* name;
    QString psk;
    QString mmvcfg;
    QStringList sequence;
    std::uint32_t afcColour, netColour;
    std::array<int, 8> switches;
    double rxOffset;
};

const std::uint32_t kFace = colour::kButtonFace;

TEST_F(MmvariWindowTest, TheStartAppliesTheStoredOptionsInOrder) {
    const StartCase cases[] = {
        {"no section: the defaults",
         {},
         {},
         {"17=false",    "6=false",    "7=false",   "43=false", "51=false",    "40=false", "39=false",
          "91(0)=false", "42=0",       "26=50",     "38=20",    "86(0)=false", "12=11025", "15=0",
          "86(1)=true",  "86(2)=true", "82(0)=500", "8=false",  "93(1)=4",     "93(2)=4",  "80(0)=1000",
          "2=1000",      "85(0)",      "5=true",    "36=false", "19=0",        "33=NONE",  "4=true"},
         kFace,
         kFace,
         {0, 0, 1, 0, 0, 0, 0, 0},
         0.0},
        {"every option on",
         "COMPORT=5\nSQ_LEVEL=10\n",
         "[MMVCFG]\nSW3=True\nSW4=True\nSW5=False\nSW6=True\nHPF_SW=1\nSqMFSK_SW=1\nTcMFSK_SW=0\nUOS_SW=1\n"
         "Didl_SW=1\nAFC_W=80\nCWIDsp=25\nAFC_SW=1\nextLoop=True\nRXoffset=1.234\nTXoffset=-2.5\nNET_SW=1\n",
         {"17=true",  "6=true",      "7=false", "43=true",    "51=true",    "40=true",
          "39=false", "91(0)=true",  "42=1",    "26=80",      "38=25",      "86(0)=true",
          "31=true",  "12=11026.23", "15=-2.5", "86(1)=true", "86(2)=true", "82(0)=200",
          "8=true",   "93(1)=4",     "93(2)=4", "80(0)=1000", "2=1000",     "85(0)",
          "5=true",   "36=false",    "19=0",    "33=COM5",    "4=true"},
         0x80FF80,
         0x8080FF,
         {0, 0, 1, 1, 1, 0, 1, 0},
         1.23},
        {"texts that are not the switches' own",
         {},
         "[MMVCFG]\nSW3=true\nHPF_SW=True\nAFC_W=wide\nAFC_SW=2\nextLoop=False\nRXoffset=abc\nNET_SW= 1\n",
         {"17=false",    "6=false",    "7=false",   "43=false", "51=false",    "40=false", "39=false",
          "91(0)=false", "42=0",       "26=50",     "38=20",    "86(0)=false", "12=11025", "15=0",
          "86(1)=true",  "86(2)=true", "82(0)=500", "8=true",   "93(1)=4",     "93(2)=4",  "80(0)=1000",
          "2=1000",      "85(0)",      "5=true",    "36=false", "19=0",        "33=NONE",  "4=true"},
         kFace,
         0x8080FF,
         {0, 0, 1, 0, 0, 0, 0, 0},
         0.0},
    };
    for (const StartCase& c : cases) {
        SCOPED_TRACE(c.name);
        mmvstate::g = {};
        PSK31MAIN& w = load(c.psk, c.mmvcfg);
        EXPECT_EQ(startSequence(*control), c.sequence);
        EXPECT_EQ(colour::backColor(w.Command22), c.afcColour);
        EXPECT_EQ(colour::backColor(w.Command23), c.netColour);
        EXPECT_EQ(core::g.MmvariSwitches, c.switches);
        for (int k : {0, 2, 3, 4, 5, 6})
            EXPECT_EQ(colour::backColor(w.Command19[k]), c.switches[k] ? 0xC0FFC0 : kFace) << k;
        EXPECT_DOUBLE_EQ(mmvstate::g.MmvariRxOffset, c.rxOffset);
        EXPECT_EQ(core::g.MmvariActive, 1);
        EXPECT_TRUE(read(IdRun).toBool());
        forms::unload<PSK31MAIN>();
        core::g.MmvariActive = 0;
    }
}

TEST_F(MmvariWindowTest, TheStoredSubModeIsSelectedAndChecked) {
    struct Case {
        QString stored;
        int entry;
        int checked;
    } cases[] = {{"10", 0, 10}, {"14", 4, 14}, {"18", 8, 18}, {"", 4, 14}, {"9", -1, -1}, {"19", -1, -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored.toStdString());
        core::g.MmvariActive = 0;
        PSK31MAIN& w = load({}, c.stored.isEmpty() ? QString()
                                                   : QStringLiteral("[MMVCFG]\nLastMode=") + c.stored + "\n");
        EXPECT_EQ(w.CBMode->count(), 9);
        EXPECT_EQ(w.CBMode->itemText(4), "bpsk(STD)");
        EXPECT_EQ(w.CBMode->currentIndex(), c.entry);
        EXPECT_EQ(w.CBMode->placeholderText(), "Mode Select");
        for (int i = 10; i <= 18; ++i)
            EXPECT_EQ(w.mvrMODEsel[i]->isChecked(), i == c.checked) << i;
        forms::unload<PSK31MAIN>();
    }
}

// Every selection the start makes runs the list's handler: the first entry,
// and the entry the list already shows.
TEST_F(MmvariWindowTest, TheSelectionReachesTheModeListHandlerEvenForTheFirstEntry) {
    PSK31MAIN& w = load({}, "[MMVCFG]\nLastMode=14\n");
    for (int mode : {10, 10, 14}) {
        SCOPED_TRACE(mode);
        w.MMVARI->clearCalls();
        terminal::engines::StartMmvari(mode);
        const QList<dispatch::Call> named = w.MMVARI->callsOf(dispatch::Call::Set, mmvari::PModeName);
        ASSERT_EQ(named.size(), 1) << "one selection, one run of the handler";
        EXPECT_EQ(named[0].args.value(0).toString(), mmvari::modeNames().at(mode - 10));
        EXPECT_EQ(w.CBMode->currentIndex(), mode - 10);
        EXPECT_EQ(w.StatusBar1->text(2), w.CBMode->itemText(mode - 10));
    }
}

TEST_F(MmvariWindowTest, TheWindowShowsTheMultiModePanelAndRecordsTheEngine) {
    PSK31MAIN& w = load("SQ_LEVEL=3\n");
    EXPECT_FALSE(w.Frame6->isHidden());
    for (QWidget* v : std::initializer_list<QWidget*>{w.XMMVView1, w.XMMVView2, w.XMMVLv1})
        EXPECT_FALSE(v->isHidden());
    for (QWidget* p :
         std::initializer_list<QWidget*>{w.Picture2, w.Picture3, w.Picture5, w.Picture7, w.Frame7})
        EXPECT_TRUE(p->isHidden());
    EXPECT_EQ(w.Label14->text(), "S/N");
    EXPECT_EQ(w.windowTitle(), "ZORVATEK (With MMVARI.OCX by QQ9BBB)");
    EXPECT_EQ(w.Command15->text(), "0");
    EXPECT_EQ(w.SET2CH->text(), "ch1へSET");
    EXPECT_EQ(w.SET3CH->text(), "ch2へSET");
    EXPECT_TRUE(w.SETnotch0->isVisible());
    EXPECT_FALSE(w.SETnotch1->isVisible());
    for (int i = 0; i <= core::ModeCw; ++i)
        EXPECT_FALSE(w.PSKMODE[i]->isChecked()) << i;
    EXPECT_FALSE(zvtest::enabledOnceBuilt(w.PSKMODE[core::ModeCw]));
    EXPECT_FALSE(zvtest::enabledOnceBuilt(w.SATMOD));
    EXPECT_EQ(core::g.LastModeText, "MMVARI");
    EXPECT_TRUE(cp932::decode(readFile("ZORVATEK.INI")).contains("LastMode=MMVARI"));
    QVariant wide, type;
    ASSERT_TRUE(w.XMMVView1->get(ViewSpan, wide));
    EXPECT_EQ(wide.toInt(), 3000);
    ASSERT_TRUE(w.XMMVView1->get(ViewType, type));
    EXPECT_EQ(type.toInt(), 1) << "the waterfall, as the stored display";
    ASSERT_TRUE(w.XMMVView2->get(ViewColour, 5, wide));
    EXPECT_EQ(wide.toInt(), 255);
    EXPECT_EQ(read(PSquelch, 0).toInt(), 60);
}

TEST_F(MmvariWindowTest, AStartWhileRunningKeepsTheFrequencies) {
    load();
    ASSERT_TRUE(control->set(PRxFreq, 0, 1234));
    ASSERT_TRUE(control->set(IdTxFreq, 1300));
    core::g.RxFreqHz = 1500;
    core::g.TxFreqHz = 1600;
    terminal::engines::StartMmvari(12);
    EXPECT_EQ(read(PRxFreq, 0).toInt(), 1234);
    EXPECT_EQ(read(IdTxFreq).toInt(), 1300);
    EXPECT_TRUE(read(IdRun).toBool());
}

TEST_F(MmvariWindowTest, ThePskLayoutComesBack) {
    PSK31MAIN& w = load();
    terminal::panels::RestorePskLayout();
    EXPECT_TRUE(w.Frame6->isHidden());
    for (QWidget* v : std::initializer_list<QWidget*>{w.XMMVView1, w.XMMVView2, w.XMMVLv1})
        EXPECT_TRUE(v->isHidden());
    for (QWidget* p : std::initializer_list<QWidget*>{w.Picture2, w.Picture3, w.Picture5, w.Picture7})
        EXPECT_FALSE(p->isHidden());
    EXPECT_TRUE(w.Line20->isVisible());
    EXPECT_FALSE(w.SETnotch0->isVisible());
    EXPECT_EQ(w.Label14->text(), "IMD");
    EXPECT_EQ(w.windowTitle(), "ZORVATEK (With PSKCore.DLL by QQ9CC)");
    EXPECT_EQ(w.Command17->text(), "3");
    EXPECT_FALSE(w.Command17->isEnabled());
    EXPECT_EQ(w.SET2CH->text(), "ch2へSET");
    EXPECT_TRUE(zvtest::enabledOnceBuilt(w.SATMOD));
    EXPECT_EQ(core::g.MmvariActive, 0);
    EXPECT_EQ(core::g.MainHwnd, terminal::engines::MainWindowHandle);
}

TEST(MmvariStoredValues, OffsetsCwIdAndErrors) {
    struct Offset {
        QString stored;
        double value;
    } offsets[] = {{"1.234", 1.23}, {"-2.5", -2.5},  {" 0.005", 0.01},
                   {"", 0.0},       {"MMVCFG", 0.0}, {"1e999", 0.0}};
    for (const Offset& o : offsets)
        EXPECT_DOUBLE_EQ(mmvstate::OffsetFromStored(o.stored), o.value) << o.stored.toStdString();
    EXPECT_EQ(mmvstate::CwIdForControl("DE JA1ZVK *+*"), "DE JA1ZVK :;:");
    EXPECT_TRUE(mmvstate::ErrorText(0).isEmpty());
    EXPECT_TRUE(mmvstate::ErrorText(5).isEmpty());
}

} // namespace
