#include "core/MmttyCommand.h"

#include "core/Globals.h"
#include "core/MessageLine.h"
#include "core/MmttyState.h"
#include "platform/engines/Engines.h"

#include <QTimer>

namespace core {

mmtty::MmttyLink& MmttyProgram() {
    return engines::current().mmtty;
}

namespace {

QString notDone(std::int32_t code, std::int32_t value) {
    switch (code) {
    case mmtty::CmdTx:
    case mmtty::CmdChar:
        return QStringLiteral("送信を中止しました");
    case mmtty::CmdSetSwitches:
    case mmtty::CmdSetFig:
        return QStringLiteral("スイッチを切り替えられませんでした");
    case mmtty::CmdHamPreset:
        return QStringLiteral("HAMの設定に戻せませんでした");
    case mmtty::CmdSetMark:
    case mmtty::CmdSetSpace:
    case mmtty::CmdRightClickFreq:
        return QStringLiteral("周波数を変えられませんでした");
    case mmtty::CmdSetSquelch:
        return QStringLiteral("スケルチを変えられませんでした");
    case mmtty::CmdPortUpdate:
        return QStringLiteral("ポートを切り替えられませんでした");
    case mmtty::CmdSuspend:
        return value == 0 ? QStringLiteral("再開できませんでした")
                          : QStringLiteral("サスペンドできませんでした");
    case mmtty::CmdShowSetup:
        return QStringLiteral("設定画面を開けませんでした");
    case mmtty::CmdClose:
        return QStringLiteral("終了させられませんでした");
    default:
        return QStringLiteral("設定を送れませんでした");
    }
}

} // namespace

QString MmttyGiveUpText(std::int32_t code, std::int32_t value) {
    return QStringLiteral("MMTTYが応答しません、") + notDone(code, value);
}

namespace {

// A start the program has not reported this long after it was asked for,
// from a program silent for the last while (it speaks ten times a second
// while it runs), is from a stopped or hung program: it is said and dropped.
constexpr int kStartTakenMs = 5000;
constexpr int kSilentMs = 2000;

void dropStartsAsked() {
    mm.MmttyStartsDropped = mm.MmttyStartsAsked;
}

void checkStartTaken() {
    if (mm.MmttyStartsAsked <= mm.MmttyStartsDropped || MmttyProgram().heardWithin(kSilentMs)) return;
    dropStartsAsked();
    g.MacroTxOff = 0;
    g.RepeatTxOn = 0;
    MmttyProgram().postCommand(mmtty::CmdTx, mmtty::TxOffNow);
    MmttyProgram().postCommand(mmtty::CmdTx, mmtty::TxClear);
    g.StatusMessage = MmttyGiveUpText(mmtty::CmdTx, mmtty::TxOn);
    ShowTimedMessage(g.StatusMessage, 3000);
}

// Which transmissions the system still wants of the program.
void noteTransmitCommand(std::int32_t value) {
    if (value == mmtty::TxOn) {
        ++mm.MmttyStartsAsked;
        QTimer::singleShot(kStartTakenMs, &MmttyProgram(), checkStartTaken);
    } else if (value == mmtty::TxOffNow || value == mmtty::TxClear) {
        dropStartsAsked();
    }
}

} // namespace

bool MmttyStartWanted() {
    if (mm.MmttyStartsAsked == 0) return true;
    --mm.MmttyStartsAsked;
    if (mm.MmttyStartsDropped == 0) return true;
    --mm.MmttyStartsDropped;
    return false;
}

void ForgetMmttyStarts() {
    mm.MmttyStartsAsked = mm.MmttyStartsDropped = 0;
}

bool PostMmttyCommand(std::int32_t code, std::int32_t value) {
    if (code == mmtty::CmdTx) noteTransmitCommand(value);
    if (MmttyProgram().postCommand(code, value)) return true;
    g.StatusMessage = MmttyGiveUpText(code, value);
    ShowTimedMessage(g.StatusMessage, 3000);
    return false;
}

} // namespace core
