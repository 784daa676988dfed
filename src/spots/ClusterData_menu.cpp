// The spot window's menus: close, the settings (alert sound, JST, the
// frequency corrections, the automatic fill of the submission boxes), the
// submission frame and help.
#include "core/Globals.h"
#include "core/ini/IniNames.h"
#include "core/ini/IniStore.h"
#include "core/ini/IniValues.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/os/AlertSound.h"
#include "platform/os/Paths.h"
#include "rig/RigGlobals.h"
#include "spots/ClusterData.h"
#include "spots/SpotAlert.h"
#include "spots/SpotGlobals.h"
#include "terminal/mainwindow/HelpPage.h"

#include <QActionGroup>

namespace {

const QString Section = QStringLiteral("CLSTRCFG");
const QString SoundSection = QStringLiteral("WWWBeep");
const QString WavSection = QStringLiteral("WAVPOS");
const QString CorrectOn = QStringLiteral("モードで補正する（+/-AudioFreq）");
const QString CorrectOff = QStringLiteral("モードで補正しない");

QAction* checkItem(QMenu* menu, const QString& caption) {
    QAction* a = menu->addAction(caption);
    a->setCheckable(true);
    return a;
}

// One of two values; anything else stored takes the default.
QString storedChoice(const QString& section, const QString& key, const QString& a, const QString& b,
                     const QString& fallback) {
    const QString v = core::IniStored(section, key).value_or(fallback);
    return v == a || v == b ? v : fallback;
}

// An on/off pair of correction items under its submenu: the "on" item marks
// itself and sets the switch "YES", the "off" item "NO"; stored at once.
void correctionPair(QMenu* menu, QAction*& on, QAction*& off, QString& value, const core::IniKey& key) {
    on = checkItem(menu, CorrectOn);
    off = checkItem(menu, CorrectOff);
    auto* group = new QActionGroup(menu);
    group->addAction(on);
    group->addAction(off);
    QObject::connect(on, &QAction::triggered, menu, [&value, k = key] {
        value = QStringLiteral("YES");
        core::PutIniText(Section, k, value);
    });
    QObject::connect(off, &QAction::triggered, menu, [&value, k = key] {
        value = QStringLiteral("NO");
        core::PutIniText(Section, k, value);
    });
}

} // namespace

void ClusterData::buildMenus() {
    ccls = menuBar->addAction(QStringLiteral("閉じる(&X)"));
    connect(ccls, &QAction::triggered, this, [] { forms::unload<ClusterData>(); });
    SETTING = menuBar->addMenu(QStringLiteral("各種設定(&M)"));
    buildSoundMenu();
    SETTING->addSeparator();
    DispJSTItem = checkItem(SETTING, QStringLiteral("JST表示"));
    connect(DispJSTItem, &QAction::triggered, this, [this] {
        DispJST = DispJSTItem->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
        core::PutIniText(Section, "DispJST", DispJST);
    });
    SETTING->addSeparator();
    buildCorrectionMenus();
    SendInformation = menuBar->addAction(QStringLiteral("Send information(&S)"));
    connect(SendInformation, &QAction::triggered, this, &ClusterData::SendInformation_Click);
    HLPclst = menuBar->addAction(QStringLiteral("Help"));
    connect(HLPclst, &QAction::triggered, this, &ClusterData::HLPclst_Click);
}

void ClusterData::buildSoundMenu() {
    CLSTR_SOUND = SETTING->addMenu(QStringLiteral("ｸﾗｽﾀ更新時のｻｳﾝﾄﾞ設定"));
    NEWSUND = CLSTR_SOUND->addMenu(QStringLiteral("更新時に音"));
    beepoff = checkItem(NEWSUND, QStringLiteral("鳴らさない"));
    sndon = checkItem(NEWSUND, QStringLiteral("鳴らす(WavFile)"));
    beepon = checkItem(NEWSUND, QStringLiteral("鳴らす(Beep)"));
    connect(beepoff, &QAction::triggered, this, [this] { chooseAlertMode(beepoff, QStringLiteral("0")); });
    connect(sndon, &QAction::triggered, this, [this] { chooseAlertMode(sndon, QStringLiteral("2")); });
    connect(beepon, &QAction::triggered, this, [this] { chooseAlertMode(beepon, QStringLiteral("1")); });
    setSound = CLSTR_SOUND->addAction(QStringLiteral("音の設定(WavFile)"));
    connect(setSound, &QAction::triggered, this, &ClusterData::setSound_Click);
    Sound_Test = CLSTR_SOUND->addAction(QStringLiteral("音の試聴(Start)"));
    connect(Sound_Test, &QAction::triggered, this,
            [] { spots::PlayAlertSound([](const QString& m) { ui::msgBox(m); }); });
    Sound_TestStop = CLSTR_SOUND->addAction(QStringLiteral("音の試聴停止(Stop)"));
    connect(Sound_TestStop, &QAction::triggered, this, [] { spots::StopAlertSound(); });
    CLSTR_SOUND->addSeparator();
    SoundLooploop = checkItem(CLSTR_SOUND, QStringLiteral("音の連続化(Ｌoop)"));
    connect(SoundLooploop, &QAction::triggered, this, &ClusterData::SoundLooploop_Click);
}

void ClusterData::buildCorrectionMenus() {
    spots::Globals& s = spots::g;
    Freqdat = SETTING->addMenu(QStringLiteral("周波数データ補正(Sendinfor. )(for RTTY)"));
    correctionPair(Freqdat, Mcompon, Mcompoff, s.ClusterModeCompSend, "ModeComp");
    // The RTTY correction of the submission boxes is kept but not offered.
    Freqdat->menuAction()->setVisible(false);
    FreqdatPSK = SETTING->addMenu(QStringLiteral("周波数データ補正(Sendinfor. )(for PSK31)"));
    correctionPair(FreqdatPSK, McomponPSK, McompoffPSK, s.ClusterModeCompSendPsk, "ModeCompP");
    getAuto = checkItem(SETTING, QStringLiteral("CALL/MODEを自動取得(Sendinfo.)(&R)"));
    connect(getAuto, &QAction::triggered, this, &ClusterData::getAuto_Click);
    SETTING->addSeparator();
    setRigfreq = SETTING->addMenu(QStringLiteral("Ｒｉｇ転送用周波数データ補正(for RTTY)"));
    correctionPair(setRigfreq, sMcompOn, sMcompOff, s.ClusterModeCompRig, "ModeComp2R");
    setRigfreqPSK = SETTING->addMenu(QStringLiteral("Ｒｉｇ転送用周波数データ補正(for PSK31)"));
    correctionPair(setRigfreqPSK, sMcompOnPSK, sMcompOffPSK, s.ClusterModeCompRigPsk, "ModeComp2P");
}

// The switches as stored (bad values take their defaults), and the rig's items
// only with a rig port.
void ClusterData::loadMenuChecks() {
    spots::Globals& s = spots::g;
    const QString yes = QStringLiteral("YES"), no = QStringLiteral("NO");
    s.ClusterModeCompSend = storedChoice(Section, QStringLiteral("ModeComp"), yes, no, no);
    s.ClusterModeCompSendPsk = storedChoice(Section, QStringLiteral("ModeCompP"), yes, no, no);
    s.ClusterModeCompRig = storedChoice(Section, QStringLiteral("ModeComp2R"), yes, no, yes);
    s.ClusterModeCompRigPsk = storedChoice(Section, QStringLiteral("ModeComp2P"), yes, no, yes);
    s.ClusterAutoCall = storedChoice(Section, QStringLiteral("AutoCM"), QStringLiteral("0"),
                                     QStringLiteral("1"), QStringLiteral("0"));
    DispJST = storedChoice(Section, QStringLiteral("DispJST"), QStringLiteral("0"), QStringLiteral("1"),
                           QStringLiteral("0"));
    (s.ClusterModeCompSend == yes ? Mcompon : Mcompoff)->setChecked(true);
    (s.ClusterModeCompSendPsk == yes ? McomponPSK : McompoffPSK)->setChecked(true);
    (s.ClusterModeCompRig == yes ? sMcompOn : sMcompOff)->setChecked(true);
    (s.ClusterModeCompRigPsk == yes ? sMcompOnPSK : sMcompOffPSK)->setChecked(true);
    getAuto->setChecked(s.ClusterAutoCall == QLatin1String("0"));
    DispJSTItem->setChecked(DispJST == QLatin1String("1"));
    const bool rig = rig::g.RigPortName != QLatin1String("NONE");
    for (QMenu* m : {Freqdat, FreqdatPSK, setRigfreq, setRigfreqPSK})
        m->menuAction()->setEnabled(rig);
    getAuto->setEnabled(rig);
}

void ClusterData::loadSoundChecks() {
    spots::Globals& s = spots::g;
    s.AlertSoundMode = core::IniStored(SoundSection, QStringLiteral("WWWBeepon")).value_or(SoundSection);
    QAction* marked = s.AlertSoundMode == QLatin1String("1")   ? beepon
                      : s.AlertSoundMode == QLatin1String("2") ? sndon
                                                               : beepoff;
    for (QAction* a : {beepoff, sndon, beepon})
        a->setChecked(a == marked);
    s.AlertWavPath = core::IniStored(WavSection, QStringLiteral("WAVFPOS")).value_or(QString());
    s.AlertWavLoop = core::IniStored(WavSection, QStringLiteral("WAVLOOP")) == QStringLiteral("True")
                         ? QStringLiteral("True")
                         : QStringLiteral("False");
    SoundLooploop->setChecked(s.AlertWavLoop == QLatin1String("True"));
    alertFaultTold_ = false;
}

void ClusterData::chooseAlertMode(QAction* item, const QString& mode) {
    for (QAction* a : {beepoff, sndon, beepon})
        a->setChecked(a == item);
    spots::g.AlertSoundMode = mode;
    core::PutIniText(SoundSection, "WWWBeepon", mode);
}

// The file dialog opens on the file chosen before; the first time on the
// alert tone that comes with the program.
void ClusterData::setSound_Click() {
    QString current = core::IniStored(WavSection, QStringLiteral("WAVFPOS")).value_or(QString());
    if (current.isEmpty()) current = paths::join(paths::executableFolder(), alertsound::AlertToneFile);
    const QString chosen = core::IniHeldChoice(
        [&] {
            return ui::openFileName(QStringLiteral("ｻｳﾝﾄﾞﾌｧｲﾙ選択"), paths::fromStored(current),
                                    QStringLiteral("ｻｳﾝﾄﾞﾌｧｲﾙ (*.WAV *.wav)"));
        },
        core::StoredPart::WholePath);
    if (chosen.isEmpty()) return;
    spots::g.AlertWavPath = chosen;
    core::PutIniName(WavSection, QStringLiteral("WAVFPOS"), chosen);
}

void ClusterData::SoundLooploop_Click() {
    // The item marks itself when clicked; its new mark is the choice.
    const bool loop = SoundLooploop->isChecked();
    spots::g.AlertWavLoop = loop ? QStringLiteral("True") : QStringLiteral("False");
    if (!loop) spots::StopAlertSound();
    core::PutIniText(WavSection, "WAVLOOP", spots::g.AlertWavLoop);
}

void ClusterData::getAuto_Click() {
    spots::g.ClusterAutoCall = getAuto->isChecked() ? QStringLiteral("0") : QStringLiteral("1");
    core::PutIniText(Section, "AutoCM", spots::g.ClusterAutoCall);
}

void ClusterData::tellAlertFault(const QString& message) {
    if (alertFaultTold_) return;
    alertFaultTold_ = true;
    ui::msgBox(message);
}

void ClusterData::HLPclst_Click() {
    terminal::mainwindow::OpenHelpContext(157);
}
