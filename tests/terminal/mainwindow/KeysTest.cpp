// The main window's keys on the loaded window: each shortcut reaches its
// procedure once, with the caret in the transmit box or in the receive pane.
#include "terminal/transmit/TxFixture.h"

#include "core/ini/IniNames.h"
#include "core/ini/IniValues.h"
#include "log/LogGlobals.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/mmvari/MmvariControl.h"
#include "platform/mmvari/MmvariIds.h"
#include "platform/mmvari/MmvariViews.h"
#include "platform/os/Cp932.h"
#include "support/Popups.h"
#include "terminal/macros/MACRO_FORM.h"
#include "terminal/macros/MacroState.h"
#include "terminal/macros/MacroStore.h"

#include <QDir>

#include <functional>
#include <ostream>

namespace {

struct KeyRow {
    const char* what;
    Qt::Key key;
    Qt::KeyboardModifiers mods;
    int sentMacro; // the macro the key sends, -1 for none
};

const KeyRow kMacroRows[] = {
    {"F1", Qt::Key_F1, Qt::NoModifier, 0},
    {"Shift+F1", Qt::Key_F1, Qt::ShiftModifier, 9},
    {"Ctrl+F1", Qt::Key_F1, Qt::ControlModifier, 18},
    {"Ctrl+Shift+F1", Qt::Key_F1, Qt::ControlModifier | Qt::ShiftModifier, 27},
    {"F5", Qt::Key_F5, Qt::NoModifier, 4},
    {"Ctrl+Shift+F9", Qt::Key_F9, Qt::ControlModifier | Qt::ShiftModifier, 35},
    {"Alt+F1", Qt::Key_F1, Qt::AltModifier, -1},
    {"Ctrl+Alt+F1", Qt::Key_F1, Qt::ControlModifier | Qt::AltModifier, -1},
    {"F10", Qt::Key_F10, Qt::NoModifier, -1},
    {"Alt+Q, the lower of two macros on Q", Qt::Key_Q, Qt::AltModifier, 5},
    {"Alt+A", Qt::Key_A, Qt::AltModifier, 20},
    {"Ctrl+A", Qt::Key_A, Qt::ControlModifier, -1},
    {"Shift+Alt+A", Qt::Key_A, Qt::ShiftModifier | Qt::AltModifier, -1},
    {"Alt+J without a macro", Qt::Key_J, Qt::AltModifier, -1},
};

void PrintTo(const KeyRow& row, std::ostream* os) {
    *os << row.what;
}

QString macroText(int i) {
    return QStringLiteral("<macro %1>").arg(i);
}

class KeysBase : public zvtest::TxTest {
  public:
    using zvtest::TxTest::endByEscape;
    using zvtest::TxTest::folder;
    using zvtest::TxTest::path;
    using zvtest::TxTest::readFile;
    using zvtest::TxTest::transmitByF12;
    using zvtest::TxTest::w;

  protected:
    void SetUp() override {
        zvtest::TxTest::SetUp();
        terminal::macros::g = {};
        core::g.OpMode = core::ModeBpsk;
        ui::script::clearAsked();
    }
    QWidget* focused(bool inReceivePane) const {
        QWidget* target = inReceivePane ? static_cast<QWidget*>(w->RichTextBox1) : w->Text1;
        target->setFocus();
        return target;
    }
    void fillMacros() {
        MACRO_FORM& f = forms::MACRO_FORM();
        for (int i = 0; i < terminal::macros::kCount; ++i) {
            QString name = QStringLiteral("m%1").arg(i);
            if (i == 5 || i == 7) name += QStringLiteral("(sQ)");
            if (i == 20) name += QStringLiteral("(sA)");
            terminal::macros::putInStore(f, i, {name, 0xC0FFC0, macroText(i)});
        }
        terminal::macros::rebuildShortcuts(f);
    }

  public:
    QByteArray ini() const { return readFile(QStringLiteral("ZORVATEK.INI")); }
    int callsStartingWith(const QString& head) const {
        int n = 0;
        for (const QString& c : calls())
            n += c.startsWith(head);
        return n;
    }
    int askedCount(const QString& prompt) const {
        int n = 0;
        for (const ui::Asked& a : ui::script::asked())
            n += a.prompt.startsWith(prompt);
        return n;
    }
    // The edit menu's move item; its notice says how to end the move.
    void enterMoveMode() {
        ASSERT_TRUE(zvtest::chooseMenuItem(w->MACROMOV));
        ASSERT_EQ(terminal::macros::g.MacroMoveMode, 1);
        ui::script::clearAsked();
    }
};

class MacroKeys : public KeysBase, public ::testing::WithParamInterface<std::tuple<KeyRow, bool>> {};

TEST_P(MacroKeys, SendTheMacroOfTheirButton) {
    const auto& [row, inReceivePane] = GetParam();
    fillMacros();
    core::g.MacroText.clear();
    QTest::keyClick(focused(inReceivePane), row.key, row.mods);
    if (row.sentMacro < 0) {
        EXPECT_TRUE(core::g.MacroText.isEmpty()) << core::g.MacroText.toStdString();
        EXPECT_FALSE(w->Text1->text().contains(QStringLiteral("<macro")));
        return;
    }
    EXPECT_EQ(core::g.MacroText, macroText(row.sentMacro));
    EXPECT_EQ(w->Text1->text().count(QStringLiteral("<macro")), 1) << "sent once";
}

INSTANTIATE_TEST_SUITE_P(Keys, MacroKeys,
                         ::testing::Combine(::testing::ValuesIn(kMacroRows), ::testing::Bool()));

struct ActionRow {
    const char* what;
    Qt::Key key;
    Qt::KeyboardModifiers mods;
    std::function<void(KeysBase&)> arrange;
    std::function<void(KeysBase&)> check;
};

class ActionKeys : public KeysBase, public ::testing::WithParamInterface<std::tuple<int, bool>> {
  public:
    static std::vector<ActionRow> rows();
};

std::vector<ActionRow> ActionKeys::rows() {
    return {
        {"F12 starts a transmission", Qt::Key_F12, Qt::NoModifier, [](KeysBase&) {},
         [](KeysBase& t) {
             EXPECT_EQ(t.callsStartingWith(QStringLiteral("fnStartTX(")), 1);
             EXPECT_EQ(t.callsStartingWith(QStringLiteral("fnStopTX")), 0);
         }},
        {"Shift+F12 starts it too", Qt::Key_F12, Qt::ShiftModifier, [](KeysBase&) {},
         [](KeysBase& t) { EXPECT_EQ(t.callsStartingWith(QStringLiteral("fnStartTX(")), 1); }},
        {"Alt+X aborts", Qt::Key_X, Qt::AltModifier, [](KeysBase&) {},
         [](KeysBase& t) {
             EXPECT_EQ(t.callsStartingWith(QStringLiteral("fnAbortTX")), 1);
             EXPECT_TRUE(t.w->Text1->text().isEmpty());
         }},
        {"Ctrl+X is no abort", Qt::Key_X, Qt::ControlModifier, [](KeysBase&) {},
         [](KeysBase& t) { EXPECT_EQ(t.callsStartingWith(QStringLiteral("fnAbortTX")), 0); }},
        {"Esc ends the repeat and the move mode", Qt::Key_Escape, Qt::NoModifier,
         [](KeysBase& t) {
             zvtest::sendMacro(*t.w, 0, QStringLiteral("CQ 'RPT 30'"));
             ASSERT_EQ(core::g.RepeatTxOn, 1);
             t.enterMoveMode();
             ASSERT_TRUE(t.w->Text3->isVisibleTo(t.w));
         },
         [](KeysBase& t) {
             EXPECT_EQ(terminal::macros::g.MacroMoveMode, 0) << "a second toggle would have started it again";
             EXPECT_FALSE(t.w->MACROMOV->isChecked());
             EXPECT_EQ(core::g.RepeatTxOn, 0);
             EXPECT_FALSE(t.w->Text3->isVisibleTo(t.w));
             EXPECT_EQ(t.askedCount(QStringLiteral("移動作業を終了させる時は")), 0);
         }},
        {"Ctrl+L opens the log entry window", Qt::Key_L, Qt::ControlModifier,
         [](KeysBase&) { logbook::g.HamlogLink = 1; },
         [](KeysBase&) {
             ASSERT_TRUE(forms::isLoaded<TEMP_LOG>());
             EXPECT_TRUE(forms::TEMP_LOG().isVisible());
         }},
        {"Alt+L opens nothing", Qt::Key_L, Qt::AltModifier, [](KeysBase&) { logbook::g.HamlogLink = 1; },
         [](KeysBase&) { EXPECT_FALSE(forms::isLoaded<TEMP_LOG>() && forms::TEMP_LOG().isVisible()); }},
        {"Page Up shows a still copy of the receive pane", Qt::Key_PageUp, Qt::ControlModifier,
         [](KeysBase& t) {
             t.w->RichTextBox1->setText(QStringLiteral("cq de ja1zvk"));
             t.w->RichTextBox4->show();
         },
         [](KeysBase& t) {
             EXPECT_TRUE(t.w->RichTextBox2->isVisibleTo(t.w));
             EXPECT_FALSE(t.w->RichTextBox4->isVisibleTo(t.w));
             EXPECT_EQ(t.w->RichTextBox2->text(), QStringLiteral("cq de ja1zvk "));
             EXPECT_EQ(t.w->RichTextBox2->selStart(), t.w->RichTextBox2->length());
         }},
        {"Page Up copies a long reception whole, every line counted", Qt::Key_PageUp, Qt::NoModifier,
         [](KeysBase& t) {
             for (int line = 0; line < 300; ++line)
                 t.w->RichTextBox1->appendText(QStringLiteral("cq de ja1zvk %1\n").arg(line));
             ASSERT_LT(t.w->RichTextBox1->document()->blockCount(), 100)
                 << "lines behind the screenful joined";
         },
         [](KeysBase& t) {
             EXPECT_EQ(t.w->RichTextBox2->text(), t.w->RichTextBox1->text() + QLatin1Char(' '));
             EXPECT_GE(t.w->RichTextBox2->document()->lineCount(), 301) << "the scroll range holds them all";
         }},
        {"Page Down closes it and gives the transmit box the caret", Qt::Key_PageDown, Qt::ShiftModifier,
         [](KeysBase& t) {
             t.w->RichTextBox2->show();
             t.w->Text1->setSelStart(0);
         },
         [](KeysBase& t) {
             EXPECT_FALSE(t.w->RichTextBox2->isVisibleTo(t.w));
             EXPECT_EQ(t.w->focusWidget(), t.w->Text1);
             EXPECT_EQ(t.w->Text1->selStart(), t.w->Text1->length());
         }},
        {"Alt+T while receiving stamps the receive pane", Qt::Key_T, Qt::AltModifier,
         [](KeysBase& t) { t.w->RichTextBox1->setText(QStringLiteral("rx")); },
         [](KeysBase& t) {
             EXPECT_EQ(t.w->RichTextBox1->text().count(QStringLiteral(">>")), 1);
             EXPECT_TRUE(t.w->RichTextBox1->text().contains(core::g.TimeStampText));
             EXPECT_EQ(t.w->Text1->text(), QStringLiteral("cq"));
             EXPECT_EQ(t.callsStartingWith(QStringLiteral("fnSendTXString")), 0);
         }},
        {"Alt+T while transmitting sends the stamp", Qt::Key_T, Qt::AltModifier,
         [](KeysBase& t) { t.transmitByF12(); },
         [](KeysBase& t) {
             EXPECT_EQ(t.w->Text1->text().count(QStringLiteral(">>")), 1);
             EXPECT_EQ(t.callsStartingWith(QStringLiteral("fnSendTXString")), 1);
             EXPECT_FALSE(t.w->RichTextBox1->text().contains(QStringLiteral(">>")));
             t.endByEscape();
         }},
        {"Ctrl+P takes BPSK to QPSK(USB)", Qt::Key_P, Qt::ControlModifier, [](KeysBase&) {},
         [](KeysBase& t) {
             EXPECT_EQ(core::g.OpMode, core::ModeQpskUsb);
             EXPECT_EQ(t.w->StatusBar1->text(2), QStringLiteral("QPSK(USB)"));
             EXPECT_TRUE(t.w->PSKMODE[1]->isChecked());
             EXPECT_FALSE(t.w->PSKMODE[0]->isChecked());
             EXPECT_EQ(zvtest::TxTest::calls(), QStringList{"fnSetRXPSKMode(1, 0)"});
         }},
        {"Ctrl+P takes QPSK(LSB) to BPSK and goes on transmitting", Qt::Key_P, Qt::ControlModifier,
         [](KeysBase& t) {
             ASSERT_TRUE(zvtest::chooseMenuItem(t.w->PSKMODE[core::ModeQpskLsb]));
             ASSERT_EQ(core::g.OpMode, core::ModeQpskLsb);
             t.transmitByF12();
         },
         [](KeysBase& t) {
             EXPECT_EQ(core::g.OpMode, core::ModeBpsk);
             EXPECT_EQ(t.w->StatusBar1->text(2), QStringLiteral("BPSK"));
             EXPECT_TRUE(t.w->PSKMODE[0]->isChecked());
             EXPECT_FALSE(t.w->PSKMODE[2]->isChecked());
             EXPECT_EQ(zvtest::TxTest::calls(), (QStringList{"fnSetRXPSKMode(0, 0)", "fnStartTX(0)"}));
             EXPECT_EQ(core::g.Transmitting, 1);
             t.endByEscape();
         }},
        {"Ctrl+P in RTTY changes nothing", Qt::Key_P, Qt::ControlModifier,
         [](KeysBase&) { core::g.OpMode = core::ModeRtty; },
         [](KeysBase&) {
             EXPECT_EQ(core::g.OpMode, core::ModeRtty);
             EXPECT_TRUE(zvtest::TxTest::calls().isEmpty());
         }},
        {"Ctrl+W switches to the spectrum and keeps it", Qt::Key_W, Qt::ControlModifier,
         [](KeysBase&) {
             core::g.SpectrumDisplayMode = 0;
             core::g.EngineMsgHold = 0;
         },
         [](KeysBase& t) {
             EXPECT_EQ(core::g.SpectrumDisplayMode, 1);
             EXPECT_EQ(core::g.EngineMsgHold, 0);
             EXPECT_TRUE(t.ini().contains("SPCDSP= 1")) << t.ini().toStdString();
             EXPECT_EQ(t.w->focusWidget(), t.w->Text5);
         }},
        {"Ctrl+W with the multi-mode control switches its view", Qt::Key_W, Qt::ControlModifier,
         [](KeysBase& t) {
             core::g.SpectrumDisplayMode = 1;
             core::g.MmvariActive = 1;
             t.w->XMMVView1->clearCalls();
         },
         [](KeysBase& t) {
             EXPECT_EQ(core::g.SpectrumDisplayMode, 0);
             QVariantList set;
             for (const dispatch::Call& c : t.w->XMMVView1->callsOf(dispatch::Call::Set, mmvari::ViewType))
                 set.append(c.args.value(0));
             EXPECT_EQ(set, QVariantList{1});
             EXPECT_TRUE(t.ini().contains("SPCDSP= 0")) << t.ini().toStdString();
             core::g.MmvariActive = 0;
         }},
        {"Alt+R keeps the receive pane in a file and empties it", Qt::Key_R, Qt::AltModifier,
         [](KeysBase& t) {
             QDir(t.folder()).mkdir(QStringLiteral("rx"));
             core::PutIniName(QStringLiteral("PSKCFG"), QStringLiteral("RCVDFOL"),
                              t.path(QStringLiteral("rx")));
             t.w->RichTextBox1->setText(QStringLiteral("cq de ja1zvk\r\n東京"));
         },
         [](KeysBase& t) {
             EXPECT_EQ(t.readFile(QStringLiteral("rx/NENNOTAMELOG_B4clr.TXT")),
                       cp932::encode(QStringLiteral("cq de ja1zvk\r\n東京\r\n")));
             EXPECT_TRUE(t.w->RichTextBox1->text().isEmpty());
             EXPECT_EQ(t.w->focusWidget(), t.w->Text1);
         }},
        {"Alt+R where its copy cannot be written keeps the pane and says so", Qt::Key_R, Qt::AltModifier,
         [](KeysBase& t) {
             // A folder in the copy's place: not even root can write the file.
             QDir(t.folder()).mkpath(QStringLiteral("rx2/NENNOTAMELOG_B4clr.TXT"));
             core::PutIniName(QStringLiteral("PSKCFG"), QStringLiteral("RCVDFOL"),
                              t.path(QStringLiteral("rx2")));
             t.w->RichTextBox1->setText(QStringLiteral("cq"));
         },
         [](KeysBase& t) {
             EXPECT_EQ(t.w->RichTextBox1->text(), QStringLiteral("cq"));
             EXPECT_EQ(t.askedCount(QStringLiteral("受信データを保存できませんでした。")), 1);
         }},
        {"no key acts while a shortcut is being registered", Qt::Key_F12, Qt::NoModifier,
         [](KeysBase&) { zvtest::TxTest::beginShortcutRegistration(); },
         [](KeysBase& t) {
             EXPECT_EQ(t.callsStartingWith(QStringLiteral("fnStartTX(")), 0);
             core::g.ShortcutRegistering = 0;
         }},
        {"not even Esc while a shortcut is being registered", Qt::Key_Escape, Qt::NoModifier,
         [](KeysBase& t) {
             t.enterMoveMode();
             zvtest::TxTest::beginShortcutRegistration();
         },
         [](KeysBase&) {
             EXPECT_EQ(terminal::macros::g.MacroMoveMode, 1);
             core::g.ShortcutRegistering = 0;
         }},
    };
}

TEST_P(ActionKeys, ReachTheirProcedureOnce) {
    const auto& [index, inReceivePane] = GetParam();
    const ActionRow row = rows()[static_cast<std::size_t>(index)];
    SCOPED_TRACE(row.what);
    w->Text1->setText(QStringLiteral("cq"));
    row.arrange(*this);
    pskcore::lib().clearCalls();
    QTest::keyClick(focused(inReceivePane), row.key, row.mods);
    row.check(*this);
}

INSTANTIATE_TEST_SUITE_P(Keys, ActionKeys,
                         ::testing::Combine(::testing::Range(0, static_cast<int>(ActionKeys::rows().size())),
                                            ::testing::Bool()));

} // namespace

class ReloadedWindow : public KeysBase {};

TEST_F(ReloadedWindow, TheOldInstanceStopsAtItsUnloadAndEachKeyActsOnce) {
    PSK31MAIN* old = w;
    old->Timer2->start();
    const QPointer<QTimer> oldTimer = old->Timer2;
    // The multi-mode control it holds ticks by a timer of its own.
    const QPointer<QTimer> controlTimer = old->MMVARI->findChild<QTimer*>();
    ASSERT_FALSE(controlTimer.isNull());
    controlTimer->start();
    forms::unload<PSK31MAIN>();
    // Its deletion is still pending, but it runs nothing any more.
    ASSERT_FALSE(oldTimer.isNull());
    EXPECT_FALSE(oldTimer->isActive());
    EXPECT_FALSE(controlTimer->isActive());

    w = &forms::PSK31MAIN();
    ASSERT_NE(w, old);
    pskcore::lib().clearCalls();
    QTest::keyClick(focused(false), Qt::Key_F12);
    EXPECT_EQ(callsStartingWith(QStringLiteral("fnStartTX(")), 1);
    QTest::keyClick(focused(true), Qt::Key_X, Qt::AltModifier);
    EXPECT_EQ(callsStartingWith(QStringLiteral("fnAbortTX")), 1);
}
