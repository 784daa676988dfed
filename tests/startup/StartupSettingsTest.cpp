// The settings start-up reads for the whole run, and the log entry window's QSL options.
#include "startup/StartupSettings.h"
#include "core/Globals.h"
#include "log/LogGlobals.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "support/ProgramFolder.h"

namespace {

using core::g;
using logbook::Globals;

class StartupSettings : public zvtest::ProgramFolderTest {};

TEST_F(StartupSettings, GeneralSettingsAndTheirDefaults) {
    startup::LoadGeneralSettings();
    const Globals& lg = logbook::g;
    struct Case {
        const char* name;
        QString actual;
        QString expected;
    } missing[] = {
        {"UserCall", g.UserCall, "No Call"},
        {"SoundCardNumber", g.SoundCardNumber, "-1"},
        {"PttPortControl", g.PttPortControl, "PSKCFG"},
        {"PttPortNumber", g.PttPortNumber, "PSKCFG"},
        {"LogModeTextPsk", g.LogModeTextPsk, "PSK31"},
        {"LogModeTextRtty", g.LogModeTextRtty, "RTTY"},
        {"LogModeTextApp1", g.LogModeTextApp1, ""},
        {"LogModeTextSstv", g.LogModeTextSstv, "SSTV"},
        {"HisRstPresetOn", g.HisRstPresetOn, "PSKCFG"},
        {"HamlogViewerOn", lg.HamlogViewerOn, "HamLog"},
        {"QslMark", lg.QslMark, "J"},
        {"QslSendMark", lg.QslSendMark, "*"},
        {"EqslMessage", lg.EqslMessage, "Mny Tks FB QSO & CUL."},
        {"EqslMark", lg.EqslMark, "N"},
        {"EqslType", lg.EqslType, "E-QSL"},
        {"LongitudeSide", g.LongitudeSide, "東経"},
    };
    for (const Case& c : missing)
        EXPECT_EQ(c.actual, c.expected) << c.name;
    EXPECT_TRUE(g.MmttyExePath.endsWith(QLatin1String("/MMTTY.EXE")));
    EXPECT_EQ(lg.HamlogConfirmOn, 0);
    EXPECT_EQ(lg.HamlogJcaOn, 0);
    EXPECT_EQ(lg.EqslEnabled, 0);
    EXPECT_EQ(g.Longitude, 135);
}

TEST_F(StartupSettings, StoredGeneralSettings) {
    writeIni("[PSKCFG]\nUSERCALL=QQ9ZZZ\nRST599=1\n[HamLog]\nMODE_Disp=BPSK\nHLYN=YES\n"
             "HLJCA=C:\\Hamlog\\hljca.exe\n[Other_App]\nMODE_Disp1=RY\nMODE_Disp4=SST\n"
             "[E-QSL]\nComQSOBank=\neQSL_type=1\n");
    startup::LoadGeneralSettings();
    EXPECT_EQ(g.UserCall, QStringLiteral("QQ9ZZZ"));
    EXPECT_EQ(g.HisRstPresetOn, QStringLiteral("1"));
    EXPECT_EQ(g.LogModeTextPsk, QStringLiteral("BPSK"));
    EXPECT_EQ(g.LogModeTextRtty, QStringLiteral("RY"));
    EXPECT_EQ(g.LogModeTextSstv, QStringLiteral("SST"));
    EXPECT_EQ(logbook::g.HamlogConfirmOn, 1);
    EXPECT_EQ(logbook::g.HamlogJcaOn, 1);
    EXPECT_EQ(logbook::g.EqslEnabled, 1) << "a present key enables it, even empty";
}

TEST_F(StartupSettings, QslOptionsOfTheLogEntryWindow) {
    struct Case {
        const char* prog;
        const char* eqslType;
        int kind;
        QString hlq;
        QString button;
        int eqsl;
    } cases[] = {
        {"C:\\HLQSL\\hlqsln.exe", "1", 1, "HLQSL", "QSOBank", 1},
        {"C:\\MMQSL\\MMQSL.EXE", "0", 1, "MMQSL", "eQSL", 1},
        // The log entry window's load takes any type but "1" as "0", the eQSL file.
        {"C:\\other.exe", "2", 0, "QSL印刷", "eQSL", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.prog);
        forms::unload<TEMP_LOG>();
        logbook::g = {};
        logbook::g.QslMark = QStringLiteral("J");
        logbook::g.QslPrintProgPath = QString::fromLatin1(c.prog);
        logbook::g.EqslType = QString::fromLatin1(c.eqslType);
        startup::SetupQslOptions();
        TEMP_LOG& log = forms::TEMP_LOG();
        EXPECT_EQ(log.Text11->text(), QStringLiteral("J"));
        EXPECT_EQ(logbook::g.QslPrintProgKind, c.kind);
        EXPECT_EQ(log.HLQ->text(), c.hlq);
        EXPECT_EQ(log.Command7->text(), c.button);
        EXPECT_EQ(logbook::g.EqslEnabled, c.eqsl);
    }
}

TEST_F(StartupSettings, TheWindowLinkPreparesNoLogEntryWindow) {
    logbook::g.HamlogLink = 2;
    startup::SetupQslOptions();
    EXPECT_FALSE(forms::isLoaded<TEMP_LOG>());
}

} // namespace
