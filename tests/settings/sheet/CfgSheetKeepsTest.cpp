// What the settings windows write back: opened and closed without a change,
// ZORVATEK.INI keeps every line it had (keys added when missing apart); what
// the operator changes is what the next start uses.
#include "settings/SheetFixture.h"

#include "core/ini/IniStore.h"
#include "core/ini/SettingRanges.h"
#include "platform/forms/text/Clipboard.h"
#include "platform/os/Cp932.h"
#include "rig/RigGlobals.h"
#include "rig/RigSettings.h"
#include "settings/dialogs/CFG_Contest.h"
#include "settings/dialogs/CFG_RecPlay.h"
#include "sstv/window/SSTVForm.h"
#include "startup/StartupSettings.h"
#include "support/RigSimulator.h"
#include "terminal/macros/MACRO_FORM.h"

#include <QClipboard>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QWindow>
#include <sys/stat.h>

namespace {

// Stored values that a window must give back as they are: longer than the
// boxes let one type, a centre no slider step reaches, an FFT mode without
// its root switch.
const QString kStored = QStringLiteral(
    "[HamLog]\nQSL_Mark=JE\nMODE_Disp=PSK31\n[E-QSL]\neQSL_Mark=JE\n"
    "[Other_App]\nMODE_Disp1=RTTY-45.45-170-LSB-MMTTY-X\nMODE_Disp2=MFSK\nMODE_Disp3=OLIVIA\n"
    "[RIG_CON_CFG]\nTRVIFfreq=28\n[PSKCFG]\nUSERCALL=JA1ZVK/QRP1X\nFFT_Mode=30\nTX1Freq=1500\n");

enum class Encoding { ShiftJis, ShiftJisLf, Utf8, Utf16 };

class CfgSheetKeeps : public sheettest::SheetTest {
  protected:
    // The file as written (Shift-JIS with CR LF unless said), then read at
    // start-up as the system reads it.
    void store(const QString& text, Encoding encoding = Encoding::ShiftJis) {
        QString whole = text + QString(psktest::kFixtureKeys).remove(QStringLiteral("FFTRoot=0\n"));
        if (encoding != Encoding::ShiftJisLf) whole.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
        const QByteArray utf16(reinterpret_cast<const char*>(whole.utf16()), whole.size() * 2);
        writeFile(QStringLiteral("ZORVATEK.INI"), encoding == Encoding::Utf8 ? "\xEF\xBB\xBF" + whole.toUtf8()
                                                  : encoding == Encoding::Utf16 ? "\xFF\xFE" + utf16
                                                                                : cp932::encode(whole));
        startup::LoadGeneralSettings();
        rig::ReadRigSettings();
    }
    // Every line the file had is still there, in its order, byte for byte,
    // and every line written ends as the file's own lines do.
    static ::testing::AssertionResult keepsEveryLine(const QByteArray& before, const QByteArray& after) {
        if (!before.contains('\r') && after.contains('\r'))
            return ::testing::AssertionFailure() << "CR LF written into a file of LF lines";
        qsizetype from = 0;
        for (const QByteArray& line : before.split('\n')) {
            const qsizetype at = after.indexOf(line, from);
            if (at < 0) return ::testing::AssertionFailure() << "lost or changed: " << line.toStdString();
            from = at + line.size();
        }
        return ::testing::AssertionSuccess();
    }
    // Kept above its owner by the window manager, which takes only a dialog's
    // owner (not a plain window's) as the window it stays above.
    static ::testing::AssertionResult ownedForTheWindowManager(const QWidget& dialog, const QWidget& owner) {
        const QWindow* handle = dialog.windowHandle();
        if (!handle || handle->type() != Qt::Dialog) return ::testing::AssertionFailure() << "not a dialog";
        if (handle->transientParent() != owner.windowHandle())
            return ::testing::AssertionFailure() << "not owned by the window that opened it";
        return ::testing::AssertionSuccess();
    }
    // The end of a run and a new start over the same program folder.
    PSK31MAIN& restart() {
        forms::unloadAllExcept();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        core::g = {};
        zvtest::freshRigGlobals();
        renewContext();
        startup::LoadGeneralSettings();
        rig::ReadRigSettings();
        main = &forms::PSK31MAIN();
        main->Timer2->stop();
        return *main;
    }
};

TEST_F(CfgSheetKeeps, EverySettingsWindowClosedUnchangedLeavesTheFileAsItWas) {
    struct Case {
        const char* what;
        QString stored;
        std::function<void(PSK31MAIN*&)> openAndClose;
        Encoding encoding = Encoding::ShiftJis;
    };
    const Case cases[] = {
        {"sheet from the main window, 設定完了", kStored,
         [](PSK31MAIN*& main) {
             main = &forms::PSK31MAIN();
             ASSERT_TRUE(zvtest::chooseMenuItem(main->PSKCFG));
             CFGSHEET& s = forms::CFGSHEET();
             EXPECT_EQ(s.Text1->text(), QStringLiteral("JA1ZVK/QRP1X"));
             EXPECT_EQ(s.Text6->text(), QStringLiteral("RTTY-45.45-170-LSB-MMTTY-X"));
             EXPECT_EQ(s.Label10->text(), QStringLiteral("30%"));
             ASSERT_TRUE(zvtest::chooseMenuItem(s.CFGEND));
         }},
        {"sheet from the main window, close box, a file of LF lines", kStored,
         [](PSK31MAIN*& main) {
             main = &forms::PSK31MAIN();
             ASSERT_TRUE(zvtest::chooseMenuItem(main->PSKCFG));
             forms::CFGSHEET().close();
         },
         Encoding::ShiftJisLf},
        // Numbers out of their range are used in range, and left as stored.
        {"sheet with numbers out of range, 設定完了",
         QString(kStored).replace(QStringLiteral("TRVIFfreq=28\n"),
                                  QStringLiteral("TRVIFfreq=28\nPoll_Time=500\nInterval=5000\n")) +
             QStringLiteral("AFC_LIMIT=5000\nSQ_SPEED=1\nSC_CLKADJRX=99999\n"),
         [](PSK31MAIN*& main) {
             core::BringStoredNumbersIntoRange();
             startup::LoadGeneralSettings();
             rig::ReadRigSettings();
             EXPECT_EQ(rig::g.RigPollInterval, 600);
             main = &forms::PSK31MAIN();
             ASSERT_TRUE(zvtest::chooseMenuItem(main->PSKCFG));
             CFGSHEET& s = forms::CFGSHEET();
             EXPECT_EQ(s.HScroll3->value(), 600);
             EXPECT_EQ(s.Text5->text(), QStringLiteral("1000"));
             ASSERT_TRUE(zvtest::chooseMenuItem(s.CFGEND));
         }},
        {"sheet from the SSTV window", kStored + QStringLiteral("LastMode=SSTV\nAudio_Center_Freq= 1549\n"),
         [](PSK31MAIN*&) {
             core::g.OpMode = core::ModeSstv;
             SSTVForm& sstv = forms::SSTVForm();
             sstv.show();
             ASSERT_TRUE(zvtest::chooseMenuItem(sstv.PSKCFG));
             EXPECT_EQ(forms::CFGSHEET().Label2->text(), QStringLiteral("1549"));
             ASSERT_TRUE(zvtest::chooseMenuItem(forms::CFGSHEET().CFGEND));
         }},
        {"contest dialog", kStored,
         [](PSK31MAIN*& main) {
             main = &forms::PSK31MAIN();
             main->show();
             ASSERT_TRUE(zvtest::chooseMenuItem(main->CONON));
             CFG_Contest& c = forms::CFG_Contest();
             EXPECT_TRUE(ownedForTheWindowManager(c, *main));
             ASSERT_TRUE(zvtest::chooseMenuItem(c.CLOSE_CFG));
         }},
        {"contest dialog from the SSTV window", kStored + QStringLiteral("LastMode=SSTV\n"),
         [](PSK31MAIN*&) {
             core::g.OpMode = core::ModeSstv;
             SSTVForm& sstv = forms::SSTVForm();
             sstv.show();
             ASSERT_TRUE(zvtest::chooseMenuItem(sstv.CONON));
             CFG_Contest& c = forms::CFG_Contest();
             EXPECT_TRUE(ownedForTheWindowManager(c, sstv));
             ASSERT_TRUE(zvtest::chooseMenuItem(c.CLOSE_CFG));
         }},
        {"recording dialog", kStored + QStringLiteral("RecFOL=/tmp\nRecTimelen=30\nRecSpec=1\n"),
         [](PSK31MAIN*& main) {
             main = &forms::PSK31MAIN();
             main->Timer2_Timer();
             main->show();
             ASSERT_TRUE(zvtest::chooseMenuItem(main->RecPsk));
             CFG_RecPlay& d = forms::CFG_RecPlay();
             ASSERT_TRUE(zvtest::chooseInMenuBar(d.menus, d.CLOSE_CFG));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        store(c.stored, c.encoding);
        const QByteArray before = readFile(QStringLiteral("ZORVATEK.INI"));
        c.openAndClose(main);
        EXPECT_TRUE(keepsEveryLine(before, readFile(QStringLiteral("ZORVATEK.INI"))))
            << readFile(QStringLiteral("ZORVATEK.INI")).toStdString();
        forms::unloadAllExcept();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        core::g = {};
    }
}

// "€" typed where a text goes into the file: a Shift-JIS file cannot hold
// it, so nothing is written (never "?" in its place), the operator is told and
// a closing keeps the sheet open on the box; UTF-8 and UTF-16 files store it.
TEST_F(CfgSheetKeeps, ACharacterTheFileCannotHoldIsNeverStoredInItsPlace) {
    const QString kCannotHold =
        QStringLiteral("「€」は設定ファイルに保存できない文字です。\n別の文字に直して下さい。");
    // The sheet names the box by its caption.
    const auto inBox = [](const char* caption) {
        return QStringLiteral("「%1」の「€」は設定ファイルに保存できない文字です。\n別の文字に直して下さい。")
            .arg(QString::fromUtf8(caption));
    };
    const auto typeEuro = [](QLineEdit* box, const QString& before) {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, before);
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QStringLiteral("€"), {});
    };
    struct Path {
        const char* what;
        const char* section;
        const char* key;
        std::function<QLineEdit*(CFGSHEET&)> act; // the box a closing must stay on
        QString said = {};                        // what is said, when not kCannotHold
        QString typed = QStringLiteral("€");      // the character that UTF files store
    };
    // A wave dash would come back as the full-width tilde: in a name of a
    // file that is another file.
    const QString waveDash = QStringLiteral("〜");
    const QString folderNotKept = QStringLiteral(
        "\r\nこのフォルダ名の「%1」は設定ファイルに保存できない文字のため、"
        "フォルダは記憶されません。\r\nファイルはこのフォルダに保存（または読み込み）しました。");
    const Path paths[] = {
        {"call box, 設定完了", "PSKCFG", "USERCALL",
         [&](CFGSHEET& s) {
             typeEuro(s.Text1, QStringLiteral("JA1"));
             EXPECT_TRUE(zvtest::chooseMenuItem(s.CFGEND));
             return s.Text1;
         },
         inBox("Call Sign.")},
        {"mode name, close box", "Other_App", "MODE_Disp1",
         [&](CFGSHEET& s) {
             showTab(s, 2);
             typeEuro(s.Text6, QStringLiteral("RTTY"));
             showTab(s, 0);
             s.close();
             return s.Text6;
         },
         inBox("Mode表記 RTTY")},
        {"quote mark, at the keystroke and on leaving the box", "PSKCFG", "Quot_Mark",
         [&](CFGSHEET& s) {
             typeEuro(s.Text3, QStringLiteral(">>"));
             s.Text1->setFocus();
             return nullptr;
         },
         inBox("引用符記号")},
        {"rig mode code, SET", "RIG_CON_CFG", "PSK31Mode",
         [&](CFGSHEET& s) {
             showTab(s, 3);
             typeEuro(s.Text21, QStringLiteral("0"));
             press(s.Command19);
             return nullptr;
         },
         inBox("Special Setting PSK31")},
        {"eQSL remarks", "E-QSL", "eQSL_Mesg",
         [&](CFGSHEET& s) {
             showTab(s, 2);
             ui::script::push(QStringLiteral("TNX 73 €"));
             press(s.Command14);
             return nullptr;
         },
         inBox("ZORVATEK eQSLカードのRemarks")},
        // The other writers of the file, whoever calls them: the main window's
        // CW ID pasted and entered, the editor's CW ID list, and the folders
        // and files chosen for it to name (a dialog refused comes again, and
        // is cancelled here).
        {"CW ID pasted, Enter", "PSKCFG", "CWIDSTR",
         [&](CFGSHEET&) {
             QLineEdit* edit = main->Combo1->lineEdit();
             const int listed = main->Combo1->count();
             edit->clear();
             clipboard::hold(QStringLiteral("JA1€"));
             QTest::keySequence(edit, QKeySequence::Paste);
             QTest::keyClick(edit, Qt::Key_Return);
             EXPECT_EQ(edit->text(), QStringLiteral("JA1€")) << "kept to be mended";
             EXPECT_EQ(main->Combo1->count() == listed + 1,
                       ini("PSKCFG", "CWIDSTR") == QStringLiteral("JA1€"));
             return nullptr;
         },
         inBox("CWID Set")},
        // Said on leaving the box, not between two keys: the next key goes
        // into the box.
        {"CW ID typed, then left", "PSKCFG", "CWIDSTR",
         [&](CFGSHEET&) {
             QLineEdit* edit = main->Combo1->lineEdit();
             edit->clear();
             QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QStringLiteral("de ja1€"), {});
             EXPECT_TRUE(ui::script::asked().isEmpty()) << "nothing said between two keys";
             QTest::keyClick(edit, Qt::Key_X);
             EXPECT_EQ(edit->text(), QStringLiteral("DE JA1€X"));
             // The focus leaves the box for the next one.
             QFocusEvent left(QEvent::FocusOut, Qt::TabFocusReason);
             QCoreApplication::sendEvent(main->Combo1, &left);
             return nullptr;
         },
         inBox("CWID Set")},
        {"CW ID list of the macro editor, OK", "PG_CWID", "CWID1",
         [&](CFGSHEET&) {
             MACRO_FORM& m = forms::MACRO_FORM();
             m.show();
             EXPECT_TRUE(zvtest::chooseMenuItem(m.CWIDSET));
             typeEuro(m.Text3[0], QStringLiteral("DE JA1"));
             press(m.Command1);
             EXPECT_EQ(m.Frame1->isVisible(), m.Text3[0]->text() != ini("PG_CWID", "CWID1"));
             return nullptr;
         },
         inBox("CW ID List CWID1")},
        // Only remembering the folder needs the settings: the file is saved.
        {"received text saved into a folder", "PSKCFG", "RCVDFOL",
         [&](CFGSHEET&) {
             QDir().mkpath(path(QStringLiteral("€")));
             QFile::remove(path(QStringLiteral("€/RX.TXT")));
             ui::script::push(path(QStringLiteral("€/RX.TXT")));
             EXPECT_TRUE(zvtest::chooseMenuItem(main->RSAVE));
             EXPECT_TRUE(QFileInfo::exists(path(QStringLiteral("€/RX.TXT"))));
             return nullptr;
         },
         path(QStringLiteral("€")) +
             QStringLiteral(
                 "\r\nこのフォルダ名の「€」は設定ファイルに保存できない文字のため、"
                 "フォルダは記憶されません。\r\nファイルはこのフォルダに保存（または読み込み）しました。")},
        {"recording file chosen", "PSKCFG", "RecFOL",
         [&](CFGSHEET&) {
             QDir().mkpath(path(QStringLiteral("€")));
             main->Timer2_Timer();
             main->show();
             EXPECT_TRUE(zvtest::chooseMenuItem(main->RecPsk));
             ui::script::push(path(QStringLiteral("€/REC.wav")));
             press(forms::CFG_RecPlay().Command28);
             return nullptr;
         }},
        {"macro file saved into a folder", "PSKCFG", "MacroFile",
         [&](CFGSHEET&) {
             QDir().mkpath(path(QStringLiteral("€")));
             ui::script::push(path(QStringLiteral("€/Z.MAC")));
             EXPECT_TRUE(zvtest::chooseMenuItem(forms::MACRO_FORM().MACSAVE));
             return nullptr;
         }},
        {"macro file saved into a folder named with a wave dash", "PSKCFG", "MacroFile",
         [&](CFGSHEET&) {
             QDir().mkpath(path(QStringLiteral("d〜")));
             ui::script::push(path(QStringLiteral("d〜/Z.MAC")));
             EXPECT_TRUE(zvtest::chooseMenuItem(forms::MACRO_FORM().MACSAVE));
             return nullptr;
         },
         QString(kCannotHold).replace(QStringLiteral("€"), waveDash), waveDash},
        {"received text saved into a folder named with a wave dash", "PSKCFG", "RCVDFOL",
         [&](CFGSHEET&) {
             QDir().mkpath(path(QStringLiteral("d〜")));
             ui::script::push(path(QStringLiteral("d〜/RX.TXT")));
             EXPECT_TRUE(zvtest::chooseMenuItem(main->RSAVE));
             EXPECT_TRUE(QFileInfo::exists(path(QStringLiteral("d〜/RX.TXT"))));
             return nullptr;
         },
         path(QStringLiteral("d〜")) + folderNotKept.arg(waveDash), waveDash},
    };
    for (const Encoding encoding : {Encoding::ShiftJis, Encoding::Utf8, Encoding::Utf16}) {
        for (const Path& p : paths) {
            const bool sjis = encoding == Encoding::ShiftJis;
            SCOPED_TRACE(testing::Message() << p.what << (sjis ? ", Shift-JIS" : ", UTF"));
            store(QStringLiteral("[PSKCFG]\nUSERCALL=JA1ZVK\nQuot_Mark=>>\n"), encoding);
            main = &forms::PSK31MAIN();
            main->Timer2->stop();
            ASSERT_TRUE(zvtest::chooseMenuItem(main->PSKCFG));
            CFGSHEET& s = forms::CFGSHEET();
            const QString before = ini(p.section, p.key);
            ui::script::clearAsked();
            QLineEdit* box = p.act(s);
            const QString stored = ini(p.section, p.key);
            if (sjis) {
                EXPECT_TRUE(asked(p.said.isEmpty() ? kCannotHold : p.said));
                EXPECT_EQ(stored, before) << "nothing written, no \"?\"";
                EXPECT_TRUE(!box || forms::isLoaded<CFGSHEET>()) << "the sheet stays open";
                if (box && forms::isLoaded<CFGSHEET>()) {
                    EXPECT_EQ(s.focusWidget(), box);
                    EXPECT_TRUE(s.SSTab1->currentWidget()->isAncestorOf(box) || box == s.Text1);
                    EXPECT_NE(core::g.DefaultCwId, QStringLiteral("DE JA1€"));
                    // Mended, the same closing goes through.
                    box->selectAll();
                    QTest::keyClicks(box, QStringLiteral("JA1ZVK"));
                    ASSERT_TRUE(zvtest::chooseMenuItem(s.CFGEND));
                    EXPECT_FALSE(forms::isLoaded<CFGSHEET>());
                    EXPECT_EQ(ini(p.section, p.key), QStringLiteral("JA1ZVK"));
                }
            } else {
                EXPECT_FALSE(asked(p.said.isEmpty() ? kCannotHold : p.said));
                EXPECT_TRUE(stored.contains(p.typed)) << stored.toStdString();
                EXPECT_FALSE(forms::isLoaded<CFGSHEET>() && box) << "closed";
            }
            forms::unloadAllExcept();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            core::g = {};
        }
    }
}

TEST_F(CfgSheetKeeps, WhatTheOperatorChangesIsWhatTheNextStartUses) {
    store(kStored);
    main = &forms::PSK31MAIN();
    main->Timer2->stop();
    ASSERT_TRUE(zvtest::chooseMenuItem(main->PSKCFG));
    CFGSHEET& s = forms::CFGSHEET();
    showTab(s, 3);

    // The IF is checked when the box is left: the digits on the way change nothing.
    s.Text16->setFocus();
    s.Text16->selectAll();
    QTest::keyClicks(s.Text16, QStringLiteral("21."));
    EXPECT_EQ(rig::g.TransverterIfHz, 28'000'000);
    EXPECT_TRUE(ui::script::asked().isEmpty());
    s.Text5->setFocus();
    EXPECT_TRUE(lastAsked().prompt.startsWith(QStringLiteral("Transverter の IF freq は整数 (MHz)")));
    EXPECT_EQ(s.Text16->text(), QStringLiteral("28")) << "what is not a whole number is refused";
    s.Text16->setFocus();
    s.Text16->selectAll();
    QTest::keyClicks(s.Text16, QStringLiteral("21"));

    // A character Shift-JIS lacks is said on leaving its box.
    showTab(s, 2);
    s.Text7->setFocus();
    s.Text7->selectAll();
    ui::script::clearAsked();
    QTest::keyClicks(s.Text7, QStringLiteral("M"));
    QTest::sendKeyEvent(QTest::Click, s.Text7, Qt::Key_unknown, QStringLiteral("€"), {});
    s.Text8->setFocus();
    EXPECT_TRUE(lastAsked().prompt.startsWith(
        QStringLiteral("「Mode表記 OTHER」の「€」は設定ファイルに保存できない文字です。")));
    EXPECT_EQ(s.Text7->text(), QStringLiteral("M€")) << "kept for the operator to mend";
    s.Text7->setText(QStringLiteral("MF"));

    // Stored texts longer than their boxes allow are kept whole, and nothing
    // typed, pasted (by key or the box's own menu) or dropped past the limit
    // goes in, from the first key on; a step of undo back to the stored text
    // changes nothing to that.
    QGuiApplication::clipboard()->setText(QStringLiteral("NQ"));
    const QString pasteKey = QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
    for (QLineEdit* box : {s.Text4, s.Text9, s.Text1}) {
        const QString stored = box->text();
        box->setFocus();
        box->end(false);
        QTest::keyClicks(box, QStringLiteral("klm"));
        QTest::keySequence(box, QKeySequence::Paste);
        QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier);
        QTest::mouseClick(s.windowHandle(), Qt::RightButton, {}, box->mapTo(&s, box->rect().center()));
        ASSERT_TRUE(zvtest::waitUntil([] { return QApplication::activePopupWidget() != nullptr; }));
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        // The box's own menu names its paste item by the paste key, in any language.
        QAction* paste = nullptr;
        for (QAction* a : menu->actions())
            if (a->text().endsWith(QLatin1Char('\t') + pasteKey)) paste = a;
        EXPECT_TRUE(zvtest::chooseInPopup(menu, paste));
        QMimeData mime;
        mime.setText(QStringLiteral("NQ"));
        QDragEnterEvent enter(box->rect().center(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box, &enter);
        QDropEvent dropped(QPointF(box->rect().center()), Qt::CopyAction, &mime, Qt::LeftButton,
                           Qt::NoModifier);
        QApplication::sendEvent(box, &dropped);
        EXPECT_EQ(box->text(), stored);
    }
    QTest::keyClick(s.Text4, Qt::Key_Backspace);
    QTest::keySequence(s.Text4, QKeySequence::Undo);
    QTest::keyClicks(s.Text4, QStringLiteral("x"));
    EXPECT_EQ(s.Text4->text(), QStringLiteral("JE"));

    // Shortened by hand, typing stops at the box's length.
    EXPECT_EQ(s.Text1->text(), QStringLiteral("JA1ZVK/QRP1X"));
    s.Text1->setFocus();
    s.Text1->end(false);
    for (int i = 0; i < 6; ++i)
        QTest::keyClick(s.Text1, Qt::Key_Backspace);
    QTest::keyClicks(s.Text1, QStringLiteral("/qrp1x"));
    EXPECT_EQ(s.Text1->text(), QStringLiteral("JA1ZVK/QRP"));

    // A remark of several lines is stored as one: none of its lines becomes a
    // section or a key of the file.
    ui::script::push(QStringLiteral("MNY TKS\r\n[Mmtty]\r\nTXDelay=2147483647\n[HamLog]\rUSERCALL=HACKED"));
    press(s.Command14);

    // The clock boxes keep a typed minus; the range is applied once the box is left.
    showTab(s, 1);
    for (const auto& [box, typed] : {std::pair{s.Text13, "-20"}, std::pair{s.Text14, "-20000"}}) {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, QString::fromLatin1(typed));
        EXPECT_EQ(box->text(), QString::fromLatin1(typed));
    }
    s.Text13->setFocus();
    EXPECT_EQ(s.Text14->text(), QStringLiteral("-10000"));

    // Ticking 水平表示 stores only the switch.
    showTab(s, 0);
    tick(s.Check5);
    EXPECT_EQ(ini("MultiDSP", "HORZ"), QStringLiteral("YES"));
    EXPECT_EQ(ini("PSKCFG", "RX2Freq"), QStringLiteral("1400"));
    ASSERT_TRUE(zvtest::chooseMenuItem(s.CFGEND));
    EXPECT_EQ(rig::g.TransverterIfHz, 21'000'000);

    PSK31MAIN& again = restart();
    EXPECT_EQ(core::g.FftMode, QStringLiteral("30"));
    EXPECT_EQ(rig::g.TransverterIfHz, 21'000'000);
    ASSERT_TRUE(zvtest::chooseMenuItem(again.PSKCFG));
    CFGSHEET& reopened = forms::CFGSHEET();
    EXPECT_EQ(reopened.Text1->text(), QStringLiteral("JA1ZVK/QRP"));
    EXPECT_EQ(reopened.Text7->text(), QStringLiteral("MF"));
    EXPECT_EQ(reopened.Text4->text(), QStringLiteral("JE"));
    EXPECT_EQ(reopened.Label10->text(), QStringLiteral("30%"));
    EXPECT_EQ(reopened.Text16->text(), QStringLiteral("21"));
    EXPECT_EQ(reopened.Text13->text(), QStringLiteral("-20"));
    EXPECT_EQ(core::g.ClockAdjTxPpm, QStringLiteral("-10000"));
    EXPECT_EQ(ini("E-QSL", "eQSL_Mesg"),
              QStringLiteral("MNY TKS [Mmtty] TXDelay=2147483647 [HamLog] USERCALL=HACKED"));
    EXPECT_EQ(ini("Mmtty", "TXDelay"), QStringLiteral("-")) << "no such key";
    const QByteArray file = readFile(QStringLiteral("ZORVATEK.INI"));
    EXPECT_FALSE(file.contains("\n[Mmtty]") || file.contains("\nTXDelay=") ||
                 file.contains("\nUSERCALL=HACKED"));

    // A read-only file: the change is refused once, and the run keeps it.
    ASSERT_EQ(::chmod(QFile::encodeName(path(QStringLiteral("ZORVATEK.INI"))).constData(), 0444), 0);
    const QByteArray held = readFile(QStringLiteral("ZORVATEK.INI"));
    reopened.Text1->setText(QStringLiteral("JA1ZVK/P"));
    ui::script::clearAsked();
    ASSERT_TRUE(zvtest::chooseMenuItem(reopened.CFGEND));
    EXPECT_EQ(ui::script::asked().size(), 1);
    ASSERT_TRUE(zvtest::chooseMenuItem(again.PSKCFG));
    EXPECT_EQ(forms::CFGSHEET().Text1->text(), QStringLiteral("JA1ZVK/P"));
    ASSERT_TRUE(zvtest::chooseMenuItem(forms::CFGSHEET().CFGEND));
    EXPECT_EQ(ui::script::asked().size(), 1) << "said once";
    EXPECT_EQ(core::g.UserCall, QStringLiteral("JA1ZVK/P"));
    EXPECT_EQ(readFile(QStringLiteral("ZORVATEK.INI")), held);
    ::chmod(QFile::encodeName(path(QStringLiteral("ZORVATEK.INI"))).constData(), 0644);
}

} // namespace
