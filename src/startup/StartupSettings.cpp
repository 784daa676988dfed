#include "startup/StartupSettings.h"

#include "core/Globals.h"
#include "core/Version.h"
#include "core/ini/IniStore.h"
#include "core/ini/IniValues.h"
#include "log/LogGlobals.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/mmtty/MmttyLink.h"
#include "platform/os/Paths.h"
#include "spots/SpotGlobals.h"

namespace startup {
namespace {

QString read(const QString& section, const char* key, const QString& fallback) {
    return core::IniStored(section, QString::fromLatin1(key)).value_or(fallback);
}

// Keys without a default keep the missing marker, the section's name.
QString readOrMarker(const QString& section, const char* key) {
    return read(section, key, section);
}

int lastSeparator(const QString& path) {
    return static_cast<int>(
        std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/'))));
}

} // namespace

void ReadLoggingLink() {
    logbook::Globals& lg = logbook::g;
    const QString section = QStringLiteral("HamLog");
    const QString type = read(section, "HAMLOGtype", QString());
    lg.HamlogLink = 0;
    if (type == QLatin1String("1")) {
        lg.HamlogPath = readOrMarker(section, "HAMLOGPOS");
        core::g.SearchFolder = lg.HamlogPath.left(lastSeparator(lg.HamlogPath) + 1);
        lg.HamlogDataPath = lg.HamlogPath.left(lg.HamlogPath.size() - 4);
        // A link stored before its database was chosen opens nothing: said as
        // it is, not as a log that the logging program holds open.
        if (lg.HamlogPath.toUpper().contains(QLatin1String("HDB")))
            lg.HamlogLink = 1;
        else
            ui::msgBox(
                QStringLiteral("HAMLOG のデータベースが指定されていません、環境設定を確認してください"),
                ui::OkOnly);
    } else if (type == QLatin1String("2")) {
        lg.HamlogPath = readOrMarker(section, "HAMLOGexePOS");
        const bool named = lg.HamlogPath.toUpper().contains(QLatin1String("HAMLOGW.EXE"));
        const bool hasFileName = !lg.HamlogPath.mid(lastSeparator(lg.HamlogPath) + 1).isEmpty();
        if (named && hasFileName) {
            lg.HamlogLink = 2;
        } else {
            ui::msgBox(QStringLiteral("HAMLOG.EXEが見つかりません、環境設定を確認してください"), ui::OkOnly);
        }
    }
}

void CheckLoggingLibraryVersion(unsigned version) {
    const int number = core::HexTextAsDecimal(version);
    if (number >= 50300) return;
    ui::msgBox(QStringLiteral("HAMLOG50.DLL Ver") + QString::number(number / 10000.0) +
                   QStringLiteral(" は古いです\r\n最新版への更新をお願いします"),
               ui::OkOnly);
}

void TakeLoggingTestOpenResult(int result) {
    if (result == 0) return;
    logbook::g.HamlogLink = 0;
    ui::msgBox(QStringLiteral("HAMLOG が既に起動しているか　あるいは　設定不完全です\r\n"
                              "その為関連ファイルが OPEN できませんでした\r\nご確認下さい。"),
               ui::OkOnly);
}

void LoadGeneralSettings() {
    logbook::Globals& lg = logbook::g;
    const QString cfg = QStringLiteral("PSKCFG");
    const QString log = QStringLiteral("HamLog");
    const QString other = QStringLiteral("Other_App");
    const QString eqsl = QStringLiteral("E-QSL");
    core::g.MmttyExePath = paths::join(paths::programFolder(), QStringLiteral("MMTTY.EXE"));
    // The RTTY program built beside the system stands in the program folder
    // when none was put there.
    mmtty::provideProgram(paths::programFolder());
    core::g.RecPlayState = core::g.LogTimeMacroUsed = core::g.ContestMode = 0;
    core::g.Longitude = 135;
    core::g.LongitudeSide = QStringLiteral("東経");
    core::g.UserCall = read(cfg, "USERCALL", QStringLiteral("No Call"));
    core::g.SoundCardNumber = read(cfg, "SOUNDCARDnum", QStringLiteral("-1"));
    core::g.PttPortControl = readOrMarker(cfg, "COMCONT");
    core::g.PttPortNumber = readOrMarker(cfg, "COMPORT");
    core::g.LogModeTextPsk = read(log, "MODE_Disp", QStringLiteral("PSK31"));
    core::g.LogModeTextRtty = read(other, "MODE_Disp1", QStringLiteral("RTTY"));
    core::g.LogModeTextApp1 = read(other, "MODE_Disp2", QString());
    core::g.LogModeTextApp2 = read(other, "MODE_Disp3", QString());
    core::g.LogModeTextSstv = read(other, "MODE_Disp4", QStringLiteral("SSTV"));
    core::g.HisRstPresetOn = readOrMarker(cfg, "RST599");
    lg.HamlogConfirmText = readOrMarker(log, "HLYN");
    lg.HamlogConfirmOn = lg.HamlogConfirmText == QLatin1String("YES") ? 1 : 0;
    lg.HamlogViewerOn = readOrMarker(log, "HLViewer");
    lg.QslMark = read(log, "QSL_Mark", QStringLiteral("J"));
    lg.QslPrintProgPath = readOrMarker(log, "HLQSL");
    lg.MmqslSetting = readOrMarker(log, "MMQSL");
    lg.QslSendMark = read(log, "QSLSendMark", QStringLiteral("*"));
    lg.HamlogJcaPath = readOrMarker(log, "HLJCA");
    lg.HamlogJcaOn = lg.HamlogJcaPath.toUpper().contains(QLatin1String("HLJCA")) ? 1 : 0;
    const std::optional<QString> bank = core::IniStored(eqsl, QStringLiteral("ComQSOBank"));
    lg.ComQsoBankPath = bank.value_or(eqsl);
    lg.EqslEnabled = bank ? 1 : 0;
    lg.EqslMessage = read(eqsl, "eQSL_Mesg", QStringLiteral("Mny Tks FB QSO & CUL."));
    lg.EqslType = readOrMarker(eqsl, "eQSL_type");
    lg.EqslMark = read(eqsl, "eQSL_Mark", QStringLiteral("N"));
}

void SetupQslOptions() {
    logbook::Globals& lg = logbook::g;
    if (lg.HamlogLink == 2) return;
    TEMP_LOG& log = forms::TEMP_LOG();
    log.Text11->setText(lg.QslMark);
    const QString prog = lg.QslPrintProgPath.toUpper();
    if (prog.contains(QLatin1String("HLQSLN.EXE"))) {
        lg.QslPrintProgKind = 1;
        log.HLQ->setText(QStringLiteral("HLQSL"));
    } else if (prog.contains(QLatin1String("MMQSL.EXE"))) {
        lg.QslPrintProgKind = 1;
        log.HLQ->setText(QStringLiteral("MMQSL"));
    } else {
        lg.QslPrintProgKind = 0;
    }
    if (lg.EqslType == QLatin1String("1")) {
        log.Command7->setText(QStringLiteral("QSOBank"));
        lg.EqslEnabled = 1;
    } else if (lg.EqslType == QLatin1String("0")) {
        log.Command7->setText(QStringLiteral("eQSL"));
        lg.EqslEnabled = 1;
    } else {
        lg.EqslEnabled = 0;
    }
}

void ReadSpotSettings() {
    core::IniBatch readOnce;
    const QString section = QStringLiteral("CLSTRCFG");
    spots::Globals& sg = spots::g;
    sg.ClusterModeCompSend = read(section, "ModeComp", QStringLiteral("NO"));
    sg.ClusterModeCompSendPsk = read(section, "ModeCompP", QStringLiteral("NO"));
    sg.ClusterModeCompRig = read(section, "ModeComp2R", QStringLiteral("YES"));
    sg.ClusterModeCompRigPsk = read(section, "ModeComp2P", QStringLiteral("YES"));
    sg.ClusterAutoCall = read(section, "AutoCM", QStringLiteral("0"));
}

} // namespace startup
