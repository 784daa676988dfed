#include "core/engines/MmttyCommand.h"

#include "core/Globals.h"
#include "core/MessageLine.h"
#include "core/engines/MmttyState.h"
#include "platform/engines/Engines.h"

#include <QTimer>

#include <algorithm>

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

void postStop() {
    MmttyProgram().postCommand(mmtty::CmdTx, mmtty::TxOffNow);
    MmttyProgram().postCommand(mmtty::CmdTx, mmtty::TxClear);
}

void checkStartTaken() {
    if (!MmttyStartPending() || MmttyProgram().heardWithin(kSilentMs)) return;
    dropStartsAsked();
    g.MacroTxOff = 0;
    g.RepeatTxOn = 0;
    postStop();
    g.StatusMessage = MmttyGiveUpText(mmtty::CmdTx, mmtty::TxOn);
    ShowTimedMessage(g.StatusMessage, 3000);
}

// Which transmissions the system still wants of the program. A start asked
// while the program sends, or behind a start of its own not reported yet,
// joins that transmission and is reported by nothing: it is not counted.
bool countStart() {
    if (g.MmttyTxOn != 0 || MmttyStartPending()) return false;
    ++mm.MmttyStartsAsked;
    QTimer::singleShot(kStartTakenMs, &MmttyProgram(), checkStartTaken);
    return true;
}

// A start the program did not take owes no report.
void uncountStart() {
    if (mm.MmttyStartsAsked > 0) --mm.MmttyStartsAsked;
    mm.MmttyStartsDropped = std::min(mm.MmttyStartsDropped, mm.MmttyStartsAsked);
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

bool MmttyStartPending() {
    return mm.MmttyStartsAsked > mm.MmttyStartsDropped;
}

bool EndPendingMmttyStart() {
    if (!MmttyStartPending()) return false;
    dropStartsAsked();
    g.MacroTxOff = 0;
    g.RepeatTxOn = 0;
    postStop();
    return true;
}

bool PostMmttyCommand(std::int32_t code, std::int32_t value) {
    const bool transmit = code == mmtty::CmdTx;
    const bool counted = transmit && value == mmtty::TxOn && countStart();
    if (transmit && (value == mmtty::TxOffNow || value == mmtty::TxClear)) dropStartsAsked();
    if (MmttyProgram().postCommand(code, value)) return true;
    if (counted) uncountStart();
    g.StatusMessage = MmttyGiveUpText(code, value);
    ShowTimedMessage(g.StatusMessage, 3000);
    return false;
}

} // namespace core
