#pragma once
// The main window loaded in a PSK mode with its engine start held back, so that
// every call into the PSK library comes from the transmit path under test; the
// RTTY program runs for real when a test asks for it.
#include "core/Globals.h"
#include "core/engines/MmttyCommand.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/mmtty/MmttyLink.h"
#include "platform/mmvari/MmvariControl.h"
#include "platform/mmvari/MmvariIds.h"
#include "platform/os/Paths.h"
#include "platform/pskcore/PskCore.h"
#include "startup/AboutZORVATEK.h"
#include "support/ProgramFolder.h"
#include "support/Transmit.h"
#include "terminal/engines/MmttyEngine.h"
#include "terminal/macros/MACRO_FORM.h"
#include "terminal/mainwindow/PSK31MAIN.h"
#include "terminal/transmit/TxState.h"

#include <QTest>

namespace zvtest {

class TxTest : public ProgramFolderTest {
  protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        terminal::transmit::g = {};
        writeIni(QStringLiteral("[PSKCFG]\nAudio_Center_Freq=1500\nCWIDSTR=DE JA1ZVK\nSQ_LEVEL=300\n"
                                "SQ_SPEED=20\nCOMCONT=1\nCWID_SPEED=3\n") +
                 extraIni());
        core::g.UserCall = QStringLiteral("JA1ZVK");
        w = &forms::PSK31MAIN();
        w->Timer2->stop();
        forms::AboutZORVATEK(); // its load reads the libraries' versions
        pskcore::lib().clearCalls();
    }
    void TearDown() override {
        terminal::engines::RestoreMmttyWndProc();
        link->close();
        ProgramFolderTest::TearDown();
    }
    virtual QString extraIni() const { return {}; }

    static QStringList calls() { return pskcore::lib().callTexts(); }

    // RTTY or CW with the RTTY program running and linked; when listened to,
    // its notices reach the main window as the engine's start connects them.
    void runRttyProgram(int mode = core::ModeRtty, bool listened = false) {
        core::g.OpMode = mode;
        if (listened) {
            ASSERT_TRUE(terminal::engines::InstallMmttyWndProc());
        }
        // A program started anew owes no report of an earlier test's start.
        core::ForgetMmttyStarts();
        ASSERT_GT(link->start(paths::join(paths::executableFolder(), "MMTTY.EXE"), 0x1234), 0);
        ASSERT_TRUE(waitUntil([&] { return link->programWindow() != 0; }));
        link->clearPosted();
    }
    QList<mmtty::Pair> posted() const { return link->posted(); }

    // The operator's transmission, F12 to begin and Esc to end.
    void transmitByF12() { ASSERT_TRUE(zvtest::transmitByF12(*w)) << "no transmit-start notice"; }
    void endByEscape() { EXPECT_TRUE(zvtest::endByEscape(*w)) << "the transmission goes on"; }

    // The macro editor waits for a shortcut key: a double click on the text of
    // a macro.
    static void beginShortcutRegistration() {
        MACRO_FORM& f = forms::MACRO_FORM();
        f.showMacro(0);
        QTest::mouseDClick(f.Text1[0]->viewport(), Qt::LeftButton);
        ASSERT_EQ(core::g.ShortcutRegistering, 1);
    }

    // The multi-mode control as the engine.
    void useMmvari() {
        core::g.OpMode = core::ModeMmvari;
        core::g.MmvariActive = 1;
        w->MMVARI->set(mmvari::IdRun, true);
        w->MMVARI->clearCalls();
    }
    QVariantList setsOf(int id) const {
        QVariantList values;
        for (const dispatch::Call& c : w->MMVARI->callsOf(dispatch::Call::Set, id))
            values.append(c.args.value(0));
        return values;
    }

    PSK31MAIN* w = nullptr;
    mmtty::MmttyLink* link = &core::MmttyProgram();
};

// CMD_CHAR pairs of a text, as the RTTY program gets them.
inline QList<mmtty::Pair> charPairs(const QByteArray& bytes) {
    QList<mmtty::Pair> pairs;
    for (char c : bytes)
        pairs.append({mmtty::CmdChar, std::int32_t(c)});
    return pairs;
}

} // namespace zvtest
