// What the message line says when the RTTY program does not take a command:
// the thing that was not done, not a stopped transmission for every command.
#include "core/engines/MmttyCommand.h"

#include "core/Globals.h"
#include "core/engines/MmttyState.h"
#include "support/ProgramFolder.h"

#include <QTimer>
#include <gtest/gtest.h>

namespace {

TEST(MmttyGiveUp, TheMessageSaysWhatWasNotDone) {
    struct Case {
        std::int32_t code;
        std::int32_t value;
        const char* text;
    } cases[] = {
        {mmtty::CmdTx, mmtty::TxOn, "送信を中止しました"},
        {mmtty::CmdChar, 'A', "送信を中止しました"},
        {mmtty::CmdSetSwitches, 5, "スイッチを切り替えられませんでした"},
        {mmtty::CmdSetFig, 1, "スイッチを切り替えられませんでした"},
        {mmtty::CmdHamPreset, 0, "HAMの設定に戻せませんでした"},
        {mmtty::CmdSetMark, 2125, "周波数を変えられませんでした"},
        {mmtty::CmdSetSpace, 2295, "周波数を変えられませんでした"},
        {mmtty::CmdSetSquelch, 40, "スケルチを変えられませんでした"},
        {mmtty::CmdPortUpdate, 0, "ポートを切り替えられませんでした"},
        {mmtty::CmdSuspend, 1, "サスペンドできませんでした"},
        {mmtty::CmdSuspend, 0, "再開できませんでした"},
        {mmtty::CmdSetView, 3, "設定を送れませんでした"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(core::MmttyGiveUpText(c.code, c.value),
                  QStringLiteral("MMTTYが応答しません、") + QString::fromUtf8(c.text));
    }
}

class MmttyStarts : public zvtest::ProgramFolderTest {};

// A start the program did not take while a stop dropped the starts asked
// (each post lets events run) owes nothing: the next start is still one the
// program has not reported, which a second F12 or Esc ends.
TEST_F(MmttyStarts, AStartNotTakenDuringAStopLeavesTheNextOneCounted) {
    core::mm = {};
    core::g.MmttyTxOn = 0;
    // No program runs: each post is refused once pending events have run.
    QTimer::singleShot(0, [] { core::EndPendingMmttyStart(); });
    EXPECT_FALSE(core::PostMmttyCommand(mmtty::CmdTx, mmtty::TxOn));
    bool pending = false;
    QTimer::singleShot(0, [&] { pending = core::MmttyStartPending(); });
    EXPECT_FALSE(core::PostMmttyCommand(mmtty::CmdTx, mmtty::TxOn));
    EXPECT_TRUE(pending);
}

} // namespace
