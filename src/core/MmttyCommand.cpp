#include "core/MmttyCommand.h"

#include "core/Globals.h"
#include "core/MessageLine.h"
#include "platform/engines/Engines.h"

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
        return value == 0 ? QStringLiteral("再開できませんでした") : QStringLiteral("サスペンドできませんでした");
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

bool PostMmttyCommand(std::int32_t code, std::int32_t value) {
    if (MmttyProgram().postCommand(code, value)) return true;
    g.StatusMessage = MmttyGiveUpText(code, value);
    ShowTimedMessage(g.StatusMessage, 3000);
    return false;
}

} // namespace core
