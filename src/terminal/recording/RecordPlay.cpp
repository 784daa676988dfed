#include "terminal/recording/RecordPlay.h"

#include "core/Globals.h"
#include "core/ini/IniNames.h"
#include "core/ini/IniStore.h"
#include "core/ini/IniValues.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/waits/Waits.h"
#include "platform/os/Paths.h"
#include "platform/pskcore/PskCore.h"
#include "settings/dialogs/CFG_RecPlay.h"
#include "settings/dialogs/RecPlayValues.h"
#include "terminal/engines/EngineStop.h"
#include "terminal/macros/RepeatTx.h"
#include "terminal/mainwindow/PSK31MAIN.h"
#include "terminal/rxtext/RxTextFiles.h"
#include "terminal/rxtext/RxTextFormat.h"

#include <QAction>
#include <QCoreApplication>
#include <QLineEdit>

namespace terminal::recording {
namespace {

const QString kCfg = QStringLiteral("PSKCFG");
constexpr int kChannels = 3;

std::optional<QString> stored(const char* key) {
    return core::IniStored(kCfg, QString::fromLatin1(key));
}

// The dialog's controls from the stored recording settings.
void presetDialog(CFG_RecPlay& d) {
    core::Globals& g = core::g;
    g.WaveFilePath = stored("RecFname").value_or(QString());
    const QString length = stored("RecTimelen").value_or(QStringLiteral("1"));
    const QString append = stored("RecFappend").value_or(QString());
    g.RecSpecText = stored("RecSpec").value_or(QString());
    d.Option1[g.RecSpecText == QLatin1String("1") ? 1 : 0]->setChecked(true);
    d.Option1_Click(g.RecSpecText == QLatin1String("1") ? 1 : 0);
    d.Text9->setText(length);
    d.Text9_Change();
    d.Check6->setChecked(append == QLatin1String("1"));
    d.Check6_Click();
    // Without appending a new recording needs a new file name.
    if (g.RecAppend == 0) g.WaveFilePath.clear();
    d.showFileName(g.WaveFilePath);
    g.RecFileReady = settings::namesWaveFile(g.WaveFilePath) ? 1 : 0;
}

} // namespace

QString waveFileMessage(int result) {
    static const char* const texts[] = {
        "can't open wave file",         // 34
        "file is not a RIFF wave type", // 35
        "Invalid wave file",            // 36
        "no data in file",              // 37
        "not a supported data type",    // 38
    };
    return result >= 34 && result <= 38 ? QString::fromLatin1(texts[result - 34]) : QString();
}

int soundCard() {
    return core::WholeNumber(core::g.SoundCardNumber).value_or(-1);
}

void restartSoundCard() {
    pskcore::PskCore& lib = pskcore::lib();
    engines::StopPskSound();
    lib.fnStartSoundCard(core::g.MainHwnd, soundCard(), kChannels);
}

void enableRecordItems(bool on) {
    PSK31MAIN& w = forms::PSK31MAIN();
    w.RecPsk->setEnabled(on);
    w.PlayPsk->setEnabled(on);
}

void showMessageLine(const QString& text) {
    QLineEdit* line = forms::PSK31MAIN().Text3;
    line->setText(text);
    line->show();
}

void messageLineAtRest() {
    QLineEdit* line = forms::PSK31MAIN().Text3;
    line->setText(macros::kRepeatNotice);
    line->hide();
}

void RecPsk_Click() {
    CFG_RecPlay& d = forms::CFG_RecPlay();
    presetDialog(d);
    enableRecordItems(false);
    core::g.RecPlayState = 1;
    d.show();
    d.raise();
}

void PlayPsk_Click() {
    core::Globals& g = core::g;
    g.RecFolder = rxtext::existingFolderOr(stored("RecFOL"));
    // The dialog proposes the file last recorded or played.
    const QString proposed = g.WaveFilePath.isEmpty() ? g.RecFolder : paths::fromStored(g.WaveFilePath);
    const QString chosen = core::IniHeldChoice(
        [&] {
            return ui::openFileName(QStringLiteral("再生ﾃﾞｰﾀ閲覧"), proposed,
                                    QStringLiteral("再生ﾃﾞｰﾀ (*.WAV)"));
        },
        core::StoredPart::Folder);
    // A cancelled choice plays the file chosen before, if it still plays; a
    // cancel never says that a file cannot be opened.
    const bool cancelled = chosen.isEmpty();
    if (!cancelled) g.WaveFilePath = chosen;
    forms::letEventsRun();
    pskcore::PskCore& lib = pskcore::lib();
    std::int32_t samples = 0;
    const int r = lib.fnSetInputWavePath(g.WaveFilePath, &samples, 0);
    if (const QString problem = waveFileMessage(r); !problem.isEmpty()) {
        if (!cancelled) ui::msgBox(problem, ui::OkOnly);
        g.RecPlayState = 0;
        return;
    }
    g.RecFolder = rxtext::folderOf(g.WaveFilePath);
    core::PutIniName(kCfg, QStringLiteral("RecFOL"), g.RecFolder);
    showMessageLine(QStringLiteral("Wav File の再生中です"));
    enableRecordItems(false);
    g.RecPlayState = 1;
    engines::StopPskSound();
    const int started =
        lib.fnStartSoundCardEx(g.MainHwnd, soundCard(), kChannels, pskcore::SoundFromWaveFile);
    forms::letEventsRun();
    if (started != pskcore::StartOk) RecStop_Click();
}

void RecStop_Click() {
    restartSoundCard();
    enableRecordItems(true);
    core::g.RecPlayState = 0;
    messageLineAtRest();
}

void connectRecording(PSK31MAIN& w) {
    QObject::connect(w.RecPsk, &QAction::triggered, &w, &RecPsk_Click);
    QObject::connect(w.PlayPsk, &QAction::triggered, &w, &PlayPsk_Click);
    QObject::connect(w.RecStop, &QAction::triggered, &w, &RecStop_Click);
}

} // namespace terminal::recording
