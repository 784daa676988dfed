// The settings sheet's rig tab on a simulated rig behind a pseudo-terminal:
// a stored device path kept and used, each change of family, speed or stop
// bits reopening the port (never the load from the main window's menu), and
// "なし" closing it.
#include "settings/SheetFixture.h"

#include "rig/RigGlobals.h"
#include "rig/RigPort.h"
#include "rig/RigSettings.h"
#include "settings/sheet/SheetRules.h"
#include "support/RigSimulator.h"

#include <QTimer>
#include <memory>

namespace {

class CfgSheetRig : public sheettest::SheetTest {
  protected:
    void SetUp() override {
        SheetTest::SetUp();
        zvtest::freshRigGlobals();
        sim = std::make_unique<zvtest::RigSimulator>(QStringLiteral("KENWOOD"));
        ASSERT_TRUE(sim->isOpen());
    }
    void TearDown() override {
        if (rig::g.RigPortOpen == 1) rig::RigClosePort();
        forms::unloadAllExcept();
        sim.reset();
        SheetTest::TearDown();
    }
    // The main window started on the rig as the settings name it, then the
    // sheet opened from its menu on the rig tab.
    CFGSHEET& openOnRig(const QString& vfoCheck = QStringLiteral("YES")) {
        startOnRig(vfoCheck);
        return openSheet();
    }
    void startOnRig(const QString& vfoCheck = QStringLiteral("YES")) {
        writeIni(QStringLiteral("[RIG_CON_CFG]\nRIG_TYPE=KENWOOD\nRIGCOMCONT=") + sim->devicePath() +
                 QStringLiteral("\nBAUD_RATE=4800\nSTOP_BIT=2\nInterval=10\nVFOCHECK=") + vfoCheck +
                 QStringLiteral("\n[PSKCFG]\n") + psktest::kFixtureKeys);
        rig::ReadRigSettings();
        main = &forms::PSK31MAIN();
        main->Timer2->stop();
        EXPECT_EQ(rig::g.RigPortOpen, 1) << core::g.StatusMessage.toStdString();
    }
    CFGSHEET& openSheet() {
        EXPECT_TRUE(zvtest::chooseMenuItem(main->PSKCFG));
        CFGSHEET& s = forms::CFGSHEET();
        showTab(s, 3);
        return s;
    }
    // Commands the rig has handled, once it has caught up with what was written.
    int heard() {
        EXPECT_TRUE(zvtest::waitForRigToCatchUp(*sim));
        return int(sim->commands.size());
    }
    std::unique_ptr<zvtest::RigSimulator> sim;
};

TEST_F(CfgSheetRig, DevicePathIsKeptShownAndUsed) {
    startOnRig();
    const int before = heard();
    CFGSHEET& s = openSheet();
    EXPECT_EQ(heard(), before) << "the load from the menu reopens nothing";
    EXPECT_EQ(rig::g.RigPortName, sim->devicePath());
    for (QRadioButton* b : s.Option2)
        EXPECT_FALSE(b->isChecked());
    ASSERT_FALSE(s.RigDevice.empty());
    EXPECT_EQ(s.RigDevice.back()->text(), sim->devicePath());
    EXPECT_TRUE(s.RigDevice.back()->isChecked());
    EXPECT_TRUE(s.Frame20->isEnabled());

    ASSERT_TRUE(zvtest::chooseMenuItem(s.CFGEND));
    EXPECT_EQ(ini("RIG_CON_CFG", "RIGCOMCONT"), sim->devicePath());
    EXPECT_EQ(rig::g.RigPortOpen, 1);
    EXPECT_GT(heard(), before) << "the closing reopens the port and reads the rig";
    EXPECT_TRUE(zvtest::waitUntil([this] { return !main->Label40->text().isEmpty(); }));
}

TEST_F(CfgSheetRig, FamilySpeedAndStopBitsReopenThePort) {
    CFGSHEET& s = openOnRig();
    ASSERT_TRUE(sim->line().has_value());
    EXPECT_EQ(sim->line()->baud, 4800);
    const struct {
        QAbstractButton* option;
        const char* key;
        const char* stored;
        int baud;
        int bits;
    } rows[] = {
        {s.Option4[1], "BAUD_RATE", "9600", 9600, 11},
        {s.Option5[0], "STOP_BIT", "1", 9600, 10},
        {s.Option4[3], "BAUD_RATE", "38400", 38400, 10},
        {s.Option4[4], "BAUD_RATE", "1200", 1200, 10},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.stored);
        const int before = heard();
        tick(r.option);
        EXPECT_EQ(ini("RIG_CON_CFG", r.key), QString::fromLatin1(r.stored));
        ASSERT_TRUE(sim->line().has_value());
        EXPECT_EQ(sim->line()->baud, r.baud);
        EXPECT_EQ(sim->line()->bitsPerCharacter, r.bits);
        EXPECT_GT(heard(), before) << "reopened, the port reads the rig again";
    }

    const int before = heard();
    ASSERT_TRUE(zvtest::chooseInCombo(s.Combo1, int(s.Combo1->findText(QStringLiteral("KENWOOD")))));
    EXPECT_GT(heard(), before) << "a family chosen reopens the port";
    EXPECT_EQ(ini("RIG_CON_CFG", "RIG_TYPE"), QStringLiteral("KENWOOD"));
}

// The first start on settings that hold only the rig section: the family
// chosen on its sheet (or kept) is read, set and polled from the close on,
// and nothing of ours runs into the rig's answer while the sheet's load and
// the operator's choices open the port again and again.
TEST_F(CfgSheetRig, TheFirstStartReadsTheRigItsSheetChooses) {
    const struct {
        const char* stored;
        const char* chosen;
    } rows[] = {{nullptr, "KENWOOD"}, {"ICOM", "ICOM"}, {"ICOM", "KENWOOD"}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.chosen);
        forms::unloadAllExcept();
        zvtest::freshRigGlobals();
        sim = std::make_unique<zvtest::RigSimulator>(QString::fromLatin1(r.chosen));
        sim->dialHz = 7035000;
        writeIni(QStringLiteral("[RIG_CON_CFG]\nRIGCOMCONT=%1\nICOM_RIGadrs=58\nVFOCHECK=YesP\n%2")
                     .arg(sim->devicePath(), r.stored ? QStringLiteral("RIG_TYPE=") + r.stored : QString()));
        rig::ReadRigSettings();
        main = &forms::PSK31MAIN();
        ASSERT_TRUE(forms::isLoaded<CFGSHEET>());
        CFGSHEET& s = forms::CFGSHEET();
        showTab(s, 3);
        if (s.Combo1->currentText() != QLatin1String(r.chosen)) {
            ASSERT_TRUE(
                zvtest::chooseInCombo(s.Combo1, int(s.Combo1->findText(QString::fromLatin1(r.chosen)))));
        }
        ASSERT_TRUE(zvtest::chooseMenuItem(s.CFGEND));
        EXPECT_TRUE(zvtest::waitUntil([this] { return main->Label40->text() == QLatin1String("7.035.000"); }))
            << main->Label40->text().toStdString();
        EXPECT_TRUE(zvtest::waitUntil([this] { return !sim->modeCommands.isEmpty(); }))
            << "set to the mode in use";
        EXPECT_EQ(sim->overlaps, 0) << "commands that ran into the rig's answer";
        rig::RigClosePort();
    }
}

TEST_F(CfgSheetRig, NoPortClosesItAndStopsPolling) {
    CFGSHEET& s = openOnRig(QStringLiteral("YesP"));
    ASSERT_TRUE(zvtest::waitUntil([] { return rig::pollTimer().isActive(); }));
    tick(s.Option2[0]);
    EXPECT_EQ(rig::g.RigPortOpen, 0);
    EXPECT_FALSE(rig::pollTimer().isActive());
    EXPECT_TRUE(s.Option9[2]->isChecked());
    EXPECT_FALSE(s.Frame20->isEnabled());
    EXPECT_TRUE(main->Label40->text().isEmpty());
    EXPECT_EQ(ini("RIG_CON_CFG", "RIGCOMCONT"), QStringLiteral("NONE"));

    // The device chosen again opens it again.
    tick(s.RigDevice.back());
    EXPECT_EQ(rig::g.RigPortOpen, 1);
    EXPECT_EQ(ini("RIG_CON_CFG", "RIGCOMCONT"), sim->devicePath());
    EXPECT_TRUE(s.Frame20->isEnabled());
}

TEST_F(CfgSheetRig, PttPortAndRigPortNeverShareANumber) {
    CFGSHEET& s = openOnRig();
    showTab(s, 1);
    tick(s.Option1[3]);
    EXPECT_FALSE(s.Option2[3]->isEnabled());
    EXPECT_TRUE(s.Option2[2]->isEnabled()) << "the earlier PTT port is free again";
    EXPECT_TRUE(s.RigDevice.back()->isEnabled()) << "a device path has no number";
    tick(s.Option1[0]);
    for (int n = 1; n <= 8; ++n)
        EXPECT_TRUE(s.Option2[std::size_t(n)]->isEnabled()) << n;
    showTab(s, 3);
    tick(s.Option2[5]);
    EXPECT_FALSE(s.Option1[5]->isEnabled());
    EXPECT_EQ(ini("RIG_CON_CFG", "RIGCOMCONT"), QStringLiteral("COM5"));
}

TEST(RigDeviceChoices, ListedPortsWithoutANumberAndTheStoredDevice) {
    const struct {
        QStringList listed;
        const char* stored;
        QStringList offered;
    } rows[] = {
        {{"/dev/ttyS0", "/dev/ttyUSB0", "/dev/ttyACM1"}, "COM1", {"/dev/ttyUSB0", "/dev/ttyACM1"}},
        {{"/dev/ttyUSB0"}, "/dev/ttyUSB0", {"/dev/ttyUSB0"}},
        {{}, "/dev/pts/7", {"/dev/pts/7"}},
        {{"/dev/ttyS9"}, "NONE", {"/dev/ttyS9"}}, // only #1..#8 have buttons
        {{}, "/dev/ttyS2", {"/dev/ttyS2"}},       // kept as stored
        {{"/dev/ttyUSB0", "/dev/ttyUSB0"}, "", {"/dev/ttyUSB0"}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.stored);
        EXPECT_EQ(settings::RigDeviceChoices(r.listed, QString::fromLatin1(r.stored)), r.offered);
    }
}

} // namespace
