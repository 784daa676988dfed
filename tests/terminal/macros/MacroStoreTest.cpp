// The macro store and editor with real files in a temporary program folder, the
// main window's buttons and scripted dialogs.
#include "terminal/macros/MacroStore.h"
#include "core/Globals.h"
#include "core/ini/IniStore.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/text/Clipboard.h"
#include "platform/forms/text/ShownLines.h"
#include "platform/os/Cp932.h"
#include "support/Popups.h"
#include "support/ProgramFolder.h"
#include "terminal/macros/MACRO_FORM.h"
#include "terminal/macros/MacroButtons.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QFileInfo>
#include <QTextBlock>

namespace {

using terminal::macros::kCount;

class MacroStore : public zvtest::ProgramFolderTest {
  protected:
    void SetUp() override {
        zvtest::ProgramFolderTest::SetUp();
        terminal::macros::g = {};
        writeIni(QStringLiteral("[PSKCFG]\nAudio_Center_Freq=1500\nUSERCALL=JA1ZVK\n"));
    }
    QString ini(const QString& section, const QString& key) {
        core::g.IniSection = section;
        QString v;
        core::GetIniString(key, v);
        return v;
    }
    // 36 macros: Japanese names and texts, several lines, a system colour, a shortcut.
    static terminal::macros::Macro sample(int i) {
        terminal::macros::Macro m{
            QStringLiteral("呼出%1").arg(i), static_cast<std::uint32_t>(0x203040 + i),
            QStringLiteral("CQ CQ DE 'MYCALL' %1\r\nこんにちは 'HISNAME'\r\n'TXOFF'").arg(i)};
        if (i == 1) m.colour = colour::kWindowBackground;
        if (i == 5) m.name = QStringLiteral("QRZ(sQ)");
        if (i == 6) m.text = QString(2500, QLatin1Char('x')); // shown in parts in its box
        return m;
    }
    void fillStore() {
        MACRO_FORM& f = forms::MACRO_FORM();
        for (int i = 0; i < kCount; ++i)
            terminal::macros::putInStore(f, i, sample(i));
    }
    void saveAs(const QString& name) { ui::script::push(path(name)); }
    void altKey(int macro, int key, Qt::KeyboardModifiers mods = Qt::AltModifier) {
        QTest::keyClick(forms::MACRO_FORM().Text1[static_cast<std::size_t>(macro)], Qt::Key(key), mods);
    }
    // A double click on the text of the macro, on its own tab.
    void doubleClickText(int macro) {
        MACRO_FORM& f = forms::MACRO_FORM();
        f.showMacro(macro);
        QTest::mouseDClick(f.Text1[static_cast<std::size_t>(macro)]->viewport(), Qt::LeftButton);
    }
    // A double click on the name of the macro, on its own tab.
    void doubleClickName(int macro) {
        MACRO_FORM& f = forms::MACRO_FORM();
        f.showMacro(macro);
        QTest::mouseDClick(f.Text2[static_cast<std::size_t>(macro)], Qt::LeftButton);
    }
    int askedCount(const QString& prompt) {
        int n = 0;
        for (const ui::Asked& a : ui::script::asked())
            n += a.prompt == prompt;
        return n;
    }
};

TEST_F(MacroStore, SavedFileLoadsBackAndShowsOnTheButtons) {
    PSK31MAIN& w = forms::PSK31MAIN();
    fillStore();
    saveAs(QStringLiteral("MY.MAC"));
    ASSERT_TRUE(zvtest::chooseMenuItem(forms::MACRO_FORM().MACSAVE));
    EXPECT_FALSE(forms::isLoaded<MACRO_FORM>()) << "a save closes the editor";

    std::array<terminal::macros::Macro, kCount> expected;
    for (int i = 0; i < kCount; ++i)
        expected[static_cast<std::size_t>(i)] = sample(i);
    expected[1].colour = 0xC0C0C0; // a system colour is stored as light grey
    const QByteArray bytes = readFile(QStringLiteral("MY.MAC"));
    EXPECT_EQ(bytes, terminal::macros::formatMacroFile(expected));
    EXPECT_TRUE(bytes.contains("<BUTCOL1>\r\n 12632256 \r\n"));

    EXPECT_EQ(ini("PSKCFG", "MacroFile"), path(QStringLiteral("MY.MAC")));
    EXPECT_EQ(ini("PSKCFG", "MACRO"), QStringLiteral("1"));
    EXPECT_EQ(ini("MACRO_SCKEY", "MACRO5"), QStringLiteral("81"));
    EXPECT_EQ(ini("MACRO_SCKEY", "MACRO4"), QStringLiteral("0"));
    EXPECT_EQ(ini("MACRO_SCKEY", "SC_USED"), QStringLiteral("CLMNPRTWXZQ"));
    EXPECT_EQ(w.Command8[0]->text(), QStringLiteral("呼出0"));
    EXPECT_EQ(colour::backColor(w.Command8[1]), 0xC0C0C0u);
    EXPECT_EQ(w.Command8[6]->toolTip(), QString(120, QLatin1Char('x')));
    EXPECT_EQ(terminal::macros::macroForShortcut(Qt::Key_Q), 5);

    // The next touch of the store reads the file again.
    MACRO_FORM& f = forms::MACRO_FORM();
    for (int i = 0; i < kCount; ++i) {
        const terminal::macros::Macro m = terminal::macros::macroInStore(f, i);
        EXPECT_EQ(m.name, expected[static_cast<std::size_t>(i)].name) << i;
        EXPECT_EQ(m.text, expected[static_cast<std::size_t>(i)].text) << i;
        EXPECT_EQ(m.colour, expected[static_cast<std::size_t>(i)].colour) << i;
    }
    EXPECT_EQ(f.SSTab1->tabText(5), QStringLiteral("QRZ(sQ)"));
    EXPECT_LE(f.Text1[6]->document()->firstBlock().length(), ui::kShownLineChars + 1);
    saveAs(QStringLiteral("AGAIN.MAC"));
    ASSERT_TRUE(zvtest::chooseMenuItem(f.MACSAVE));
    EXPECT_EQ(readFile(QStringLiteral("AGAIN.MAC")), bytes);
}

// A slot's caption on its button and on its editor tab: the macro's name; a
// slot without a name has a blank button and the tab "M" and its number. A
// save shows the same captions as a later start that loads the saved file.
TEST_F(MacroStore, CaptionsAfterASaveAreThoseOfALoad) {
    struct Slot {
        int i;
        QString name;
        QString text;
        QString caption;
        QString tab;
    };
    const QList<Slot> cases = {
        {0, QStringLiteral("呼出"), QStringLiteral("CQ CQ"), QStringLiteral("呼出"), QStringLiteral("呼出")},
        {1, {}, {}, {}, QStringLiteral("M2")},
        {5, QStringLiteral("QRZ(sQ)"), QStringLiteral("QRZ?"), QStringLiteral("QRZ(sQ)"),
         QStringLiteral("QRZ(sQ)")},
        {7, {}, QStringLiteral("text without a name"), {}, QStringLiteral("M8")},
        {35, {}, {}, {}, QStringLiteral("M36")},
    };
    // Each slot as "button|tab".
    auto captions = [&] {
        QStringList shown;
        for (const Slot& s : cases)
            shown << forms::PSK31MAIN().Command8[static_cast<std::size_t>(s.i)]->text() + QLatin1Char('|') +
                         forms::MACRO_FORM().SSTab1->tabText(s.i);
        return shown;
    };
    QStringList expected;
    for (const Slot& s : cases)
        expected << s.caption + QLatin1Char('|') + s.tab;
    auto text = [](const QStringList& l) { return l.join(QStringLiteral(", ")).toStdString(); };

    forms::PSK31MAIN();
    QStringList firstStart = captions();
    for (qsizetype k = 0; k < cases.size(); ++k)
        EXPECT_TRUE(!cases[k].name.isEmpty() || firstStart[k] == expected[k])
            << "a first start, no macros yet: " << firstStart[k].toStdString();

    for (const Slot& s : cases)
        terminal::macros::putInStore(forms::MACRO_FORM(), s.i, {s.name, 0x203040, s.text});
    saveAs(QStringLiteral("CAPTIONS.MAC"));
    ASSERT_TRUE(zvtest::chooseMenuItem(forms::MACRO_FORM().MACSAVE));
    const QStringList afterSave = captions();
    EXPECT_EQ(text(afterSave), text(expected));

    forms::unload<MACRO_FORM>();
    forms::unload<PSK31MAIN>();
    const QStringList afterLoad = captions();
    EXPECT_EQ(text(afterLoad), text(afterSave)) << "a fresh start loading the saved file";
    EXPECT_EQ(forms::PSK31MAIN().Command8[7]->toolTip(), QStringLiteral("text without a name"));
    EXPECT_EQ(forms::MACRO_FORM().macroName(7), QString()) << "the default caption is not a name";
}

TEST_F(MacroStore, CancelledOrFailedSaveKeepsTheEdits) {
    forms::PSK31MAIN();
    fillStore();
    ASSERT_TRUE(zvtest::chooseMenuItem(forms::MACRO_FORM().MACSAVE)); // the save dialog is cancelled
    ASSERT_TRUE(forms::isLoaded<MACRO_FORM>());
    EXPECT_EQ(forms::MACRO_FORM().macroName(3), QStringLiteral("呼出3"));
    EXPECT_EQ(ini("PSKCFG", "MacroFile"), QStringLiteral("PSKCFG"));
    EXPECT_EQ(askedCount(QStringLiteral("マクロファイルは保存されていません")), 1);

    saveAs(QStringLiteral("no/such/folder/X.MAC"));
    ASSERT_TRUE(zvtest::chooseMenuItem(forms::MACRO_FORM().MACSAVE));
    ASSERT_TRUE(forms::isLoaded<MACRO_FORM>());
    EXPECT_EQ(forms::MACRO_FORM().macroName(3), QStringLiteral("呼出3"));
    EXPECT_EQ(ini("PSKCFG", "MacroFile"), QStringLiteral("PSKCFG"));

    // Pasted into a macro, what would not read back as it stands (a text that
    // forges M2 and cuts M1, a character Shift-JIS lacks) is refused before
    // any file is asked for: nothing is written and the editor stays open on
    // the box, which keeps what was pasted; mended, the save goes through.
    const struct {
        const char* what;
        int macro;
        bool name;
        QString paste;
        QString said;
    } refused[] = {
        {"a body that forges the next macro", 0, false,
         QStringLiteral("CQ DE JA1ZVK\n<MacroEND0>\n<MACNAME1>\nFORGED\n<BUTCOL1>\n 255 \n<MACText1>\n"
                        "EVIL TEXT\n<MacroEND1>\nTAIL OF M1 BODY"),
         QStringLiteral("「<MacroEND0>」はマクロファイルの区切りと重なるため、このままでは保存できません。\n"
                        "別の文字に直して下さい。")},
        {"a name with a later macro's tag", 8, true, QStringLiteral("QRZ <MACText9>"),
         QStringLiteral("「<MACText9>」はマクロファイルの区切りと重なるため、このままでは保存できません。\n"
                        "別の文字に直して下さい。")},
        {"a name with the euro sign", 3, true, QStringLiteral("JA1€X"),
         QStringLiteral(
             "「M4 のマクロ名」の「€」はマクロファイルに保存できない文字です。\n別の文字に直して下さい。")},
        {"a body with the euro sign", 4, false, QStringLiteral("JA1€X"),
         QStringLiteral(
             "「M5 のマクロ文」の「€」はマクロファイルに保存できない文字です。\n別の文字に直して下さい。")},
        {"a name with a wave dash and a yen sign", 5, true, QStringLiteral("よろしく〜¥"),
         QStringLiteral(
             "「M6 のマクロ名」の「¥」はマクロファイルに保存できない文字です。\n別の文字に直して下さい。")},
        {"a body with a no-break space", 6, false, QStringLiteral("QRZ?\u00A0de"),
         QStringLiteral(
             "「M7 "
             "のマクロ文」の「[U+00A0]」はマクロファイルに保存できない文字です。\n別の文字に直して下さい。")},
        {"a body with a line separator", 7, false, QStringLiteral("QRZ?\u2028de"),
         QStringLiteral(
             "「M8 "
             "のマクロ文」の「[U+2028]」はマクロファイルに保存できない文字です。\n別の文字に直して下さい。")},
    };
    for (const auto& r : refused) {
        SCOPED_TRACE(r.what);
        MACRO_FORM& f = forms::MACRO_FORM();
        f.show();
        f.showMacro(r.macro);
        const auto i = static_cast<std::size_t>(r.macro);
        QWidget* box = r.name ? static_cast<QWidget*>(f.Text2[i]) : f.Text1[i];
        QTest::mouseClick(r.name ? box : f.Text1[i]->viewport(), Qt::LeftButton);
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        clipboard::hold(r.paste);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        const QString pasted = r.name ? f.macroName(r.macro) : f.macroTextAsTyped(r.macro);
        ui::script::clearAsked();
        ASSERT_TRUE(zvtest::chooseMenuItem(f.MACSAVE));
        EXPECT_EQ(askedCount(r.said), 1);
        for (const ui::Asked& a : ui::script::asked())
            EXPECT_NE(a.kind, QStringLiteral("saveFile")) << "no file is asked for";
        ASSERT_TRUE(forms::isLoaded<MACRO_FORM>());
        EXPECT_EQ(f.SSTab1->currentIndex(), r.macro);
        EXPECT_EQ(f.focusWidget(), box);
        EXPECT_EQ(r.name ? f.macroName(r.macro) : f.macroTextAsTyped(r.macro), pasted) << "kept as pasted";
        EXPECT_EQ(ini("PSKCFG", "MacroFile"), QStringLiteral("PSKCFG")) << "nothing stored";
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(box, QStringLiteral("CQ"));
    }
    // An everyday greeting typed with the input method's wave dash saves, in
    // the form the file holds it, and loads back as that.
    MACRO_FORM& f = forms::MACRO_FORM();
    f.showMacro(9);
    for (QWidget* box : {static_cast<QWidget*>(f.Text2[9]), static_cast<QWidget*>(f.Text1[9])}) {
        QTest::mouseClick(box == f.Text2[9] ? box : f.Text1[9]->viewport(), Qt::LeftButton);
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::sendKeyEvent(
            QTest::Click, box, Qt::Key_unknown,
            box == f.Text2[9] ? QStringLiteral("よろしく〜") : QStringLiteral("QRZ? 〜 de JA1ZVK"), {});
    }
    saveAs(QStringLiteral("MENDED.MAC"));
    ui::script::clearAsked();
    ASSERT_TRUE(zvtest::chooseMenuItem(f.MACSAVE));
    EXPECT_FALSE(forms::isLoaded<MACRO_FORM>());
    EXPECT_EQ(ui::script::asked().size(), 1) << "only the file is asked for";
    ASSERT_TRUE(terminal::macros::LoadMacroFile(path(QStringLiteral("MENDED.MAC"))));
    EXPECT_EQ(forms::MACRO_FORM().macroName(1), QStringLiteral("呼出1")) << "M2 is not forged";
    EXPECT_EQ(forms::MACRO_FORM().macroText(0), QStringLiteral("CQ"));
    EXPECT_EQ(forms::MACRO_FORM().macroName(9), QStringLiteral("よろしく～"));
    EXPECT_EQ(forms::MACRO_FORM().macroText(9), QStringLiteral("QRZ? ～ de JA1ZVK"));
}

TEST_F(MacroStore, DamagedFileLoadsWhatItHolds) {
    PSK31MAIN& w = forms::PSK31MAIN();
    writeFile(QStringLiteral("HAND.MAC"),
              cp932::encode(QStringLiteral("<MACNAME0>\nあいさつ\n<BUTCOL0>\n255\n<MACText0>\n"
                                           "こんにちは\n<MacroEND0>\n<MACNAME5>\nQRV (sota)\n"
                                           "<BUTCOL5>\n 65280 \n<MACText5>\nQRV\n<MacroEND5>\n"
                                           "<MACNAME7>\nCQ(sQ)\n<BUTCOL7>\n0\n<MACText7>\ncut")));
    ASSERT_TRUE(terminal::macros::LoadMacroFile(path(QStringLiteral("HAND.MAC"))));
    EXPECT_EQ(
        askedCount(QStringLiteral("マクロファイルが読めませんでした\r\n") + path(QStringLiteral("HAND.MAC"))),
        1);
    MACRO_FORM& f = forms::MACRO_FORM();
    EXPECT_EQ(f.macroText(0), QStringLiteral("こんにちは"));
    EXPECT_EQ(colour::backColor(w.Command8[0]), 255u);
    EXPECT_EQ(f.macroName(5), QStringLiteral("QRV (sota)")) << "not a shortcut marker";
    EXPECT_EQ(f.macroText(7), QStringLiteral("cut"));
    EXPECT_EQ(w.Command8[3]->text().toStdString(), "");
    EXPECT_EQ(colour::backColor(w.Command8[3]), colour::kButtonFace) << "an absent macro is an empty slot";
    EXPECT_EQ(terminal::macros::macroForShortcut(Qt::Key_Q), 7);
    EXPECT_EQ(ini("MACRO_SCKEY", "SC_USED"), QStringLiteral("CLMNPRTWXZQ"));
    ASSERT_TRUE(terminal::macros::LoadMacroFile(path(QStringLiteral("HAND.MAC"))));
    EXPECT_EQ(ini("MACRO_SCKEY", "SC_USED"), QStringLiteral("CLMNPRTWXZQ"))
        << "loading twice gives the same letters";
    // Saved onto, the file that could not be read whole is replaced only when
    // the operator says so.
    const QByteArray hand = readFile(QStringLiteral("HAND.MAC"));
    ui::script::clearAsked();
    saveAs(QStringLiteral("HAND.MAC"));
    ui::script::push(ui::No);
    EXPECT_FALSE(terminal::macros::SaveMacroFile());
    EXPECT_EQ(readFile(QStringLiteral("HAND.MAC")), hand);
    EXPECT_EQ(askedCount(path(QStringLiteral("HAND.MAC")) +
                         QStringLiteral("\r\nこのマクロファイルは読めなかったファイルです。"
                                        "保存すると今の内容で置き換えられます。\r\n置き換えますか？")),
              1);

    EXPECT_FALSE(terminal::macros::LoadMacroFile(path(QStringLiteral("MISSING.MAC"))));
    EXPECT_EQ(askedCount(QStringLiteral("マクロファイルがロードできませんでした\r\n") +
                         path(QStringLiteral("MISSING.MAC"))),
              1);
    EXPECT_EQ(ini("PSKCFG", "MacroFile"), path(QStringLiteral("HAND.MAC")));

    // A stored name that no longer reads (a folder an older writer stored
    // with "?" in it) is said with the name at the store's next load.
    const QString lost = path(QStringLiteral("caf?/Z.MAC"));
    writeIni(QStringLiteral("[PSKCFG]\nAudio_Center_Freq=1500\nMacroFile=") + lost + QStringLiteral("\n"));
    forms::unload<MACRO_FORM>();
    ui::script::clearAsked();
    forms::MACRO_FORM();
    EXPECT_EQ(askedCount(QStringLiteral("マクロファイルが読めませんでした\r\n") + lost), 1);
    forms::unload<MACRO_FORM>();
    forms::MACRO_FORM();
    EXPECT_EQ(ui::script::asked().size(), 1) << "said once, not at each load of the store";
}

TEST_F(MacroStore, ShortcutRegistration) {
    forms::PSK31MAIN();
    MACRO_FORM& f = forms::MACRO_FORM();
    f.setMacroName(3, QStringLiteral("QRZ?"));
    doubleClickText(3);
    EXPECT_EQ(core::g.ShortcutRegistering, 1);
    EXPECT_FALSE(f.Label3->isHidden());
    altKey(3, Qt::Key_Q, Qt::NoModifier);
    EXPECT_EQ(askedCount(QStringLiteral("ALTキーも一緒に押してね")), 1);
    altKey(3, Qt::Key_Q);
    EXPECT_EQ(f.macroName(3), QStringLiteral("QRZ?(sQ)"));
    EXPECT_EQ(core::g.MacroShortcutKeys[3], int(Qt::Key_Q));
    EXPECT_EQ(core::g.ShortcutRegistering, 0);

    doubleClickText(3);
    altKey(3, Qt::Key_Delete);
    EXPECT_EQ(f.macroName(3), QStringLiteral("QRZ?"));
    EXPECT_EQ(core::g.MacroShortcutKeys[3], 0);
    doubleClickText(3);
    altKey(3, Qt::Key_Q);
    EXPECT_EQ(f.macroName(3), QStringLiteral("QRZ?(sQ)"));
    EXPECT_EQ(terminal::macros::g.UsedShortcutKeys.count(QLatin1Char('Q')), 1);

    for (int key : {Qt::Key_C, Qt::Key_L, Qt::Key_M, Qt::Key_N, Qt::Key_P, Qt::Key_R, Qt::Key_T, Qt::Key_W,
                    Qt::Key_X, Qt::Key_Z, Qt::Key_Q}) {
        doubleClickText(4);
        altKey(4, key);
        EXPECT_EQ(core::g.ShortcutRegistering, 0);
        EXPECT_EQ(core::g.MacroShortcutKeys[4], 0) << QChar(key).toLatin1();
    }
    EXPECT_EQ(askedCount(QStringLiteral("定義済みです、もう一度ダブルクリックしてやり直して下さい。")), 11);
}

TEST_F(MacroStore, NewMacrosCancelledKeepShortcuts) {
    forms::PSK31MAIN();
    fillStore();
    saveAs(QStringLiteral("A.MAC"));
    ASSERT_TRUE(zvtest::chooseMenuItem(forms::MACRO_FORM().MACSAVE));
    ASSERT_TRUE(zvtest::chooseMenuItem(forms::MACRO_FORM().MACCLR));
    EXPECT_EQ(forms::MACRO_FORM().macroName(5), QString());
    EXPECT_EQ(terminal::macros::macroForShortcut(Qt::Key_Q), 5) << "nothing changes before a save";
    ASSERT_TRUE(zvtest::chooseMenuItem(forms::MACRO_FORM().SETCAN));
    EXPECT_EQ(ini("MACRO_SCKEY", "MACRO5"), QStringLiteral("81"));
    EXPECT_EQ(forms::MACRO_FORM().macroName(5), QStringLiteral("QRZ(sQ)"));
    EXPECT_EQ(terminal::macros::macroForShortcut(Qt::Key_Q), 5);

    ASSERT_TRUE(zvtest::chooseMenuItem(forms::MACRO_FORM().MACCLR));
    saveAs(QStringLiteral("A.MAC"));
    ASSERT_TRUE(zvtest::chooseMenuItem(forms::MACRO_FORM().MACSAVE));
    EXPECT_EQ(terminal::macros::macroForShortcut(Qt::Key_Q), -1);
    EXPECT_EQ(ini("MACRO_SCKEY", "MACRO5"), QStringLiteral("0"));
    EXPECT_EQ(forms::MACRO_FORM().nameColour(0), 0xC0C0C0u);
}

TEST_F(MacroStore, MoveMacroOntoAnEmptySlot) {
    PSK31MAIN& w = forms::PSK31MAIN();
    MACRO_FORM& f = forms::MACRO_FORM();
    terminal::macros::putInStore(f, 2, {QStringLiteral("CQ"), 0x00FF00, QStringLiteral("CQ CQ")});
    terminal::macros::showAllOnButtons();
    doubleClickText(2);
    altKey(2, Qt::Key_K);
    // Move mode, then a press on the macro and one on its new place.
    ASSERT_TRUE(zvtest::chooseMenuItem(w.MACROMOV));
    QTest::mouseClick(w.Command8[2], Qt::LeftButton);
    QTest::mouseClick(w.Command8[7], Qt::LeftButton);
    EXPECT_EQ(w.Command8[7]->text(), QStringLiteral("CQ(sK)"));
    EXPECT_EQ(colour::backColor(w.Command8[7]), 0x00FF00u);
    EXPECT_EQ(w.Command8[7]->toolTip(), QStringLiteral("CQ CQ"));
    EXPECT_EQ(f.macroText(7), QStringLiteral("CQ CQ"));
    EXPECT_EQ(w.Command8[2]->text().toStdString(), "");
    EXPECT_EQ(colour::backColor(w.Command8[2]), colour::kButtonFace);
    EXPECT_EQ(f.macroText(2), QString());
    EXPECT_EQ(terminal::macros::macroForShortcut(Qt::Key_K), 7) << "the live shortcut moves with the macro";

    terminal::macros::putInStore(f, 1, {QStringLiteral("X"), 0, QStringLiteral("used")});
    ui::script::push(int(ui::Cancel));
    QTest::mouseClick(w.Command8[7], Qt::LeftButton);
    QTest::mouseClick(w.Command8[1], Qt::LeftButton);
    EXPECT_EQ(
        askedCount(QStringLiteral("ここは空き地ではありません\r\nOK を押すと上書きされます、ご注意を！")), 1);
    EXPECT_EQ(f.macroText(1), QStringLiteral("used")) << "Cancel keeps the used slot";
}

TEST_F(MacroStore, LegacyFilesPagesAndColour) {
    writeIni(QStringLiteral("[PSKCFG]\nAudio_Center_Freq=1500\n[MACROCOLOR]\nBTN3=255\n"));
    writeFile(QStringLiteral("MACRO3.DAT"), cp932::encode(QStringLiteral("一行目\r\n二行目\r\n")));
    writeFile(QStringLiteral("MACNAME3.DAT"), cp932::encode(QStringLiteral("\"古い名前\"\r\n")));
    MACRO_FORM& f = forms::MACRO_FORM();
    EXPECT_EQ(f.macroText(3), QStringLiteral("一行目\r\n二行目"));
    EXPECT_EQ(f.macroName(3), QStringLiteral("古い名前"));
    EXPECT_EQ(f.nameColour(3), 255u);
    EXPECT_EQ(f.nameColour(4), colour::kWindowBackground);

    for (auto [tab, page] : {std::pair{0, "1頁目"}, {9, "2頁目"}, {26, "3頁目"}, {35, "4頁目"}}) {
        f.SSTab1->setCurrentIndex(tab);
        EXPECT_EQ(f.Label6->text(), QString::fromUtf8(page)) << tab;
    }

    forms::PSK31MAIN();
    doubleClickName(3); // the colour dialog is cancelled
    EXPECT_EQ(ini("MACROCOLOR", "BTN3"), QStringLiteral("255"));
    ui::script::push(QColor(0, 0, 255));
    doubleClickName(3);
    EXPECT_EQ(ini("MACROCOLOR", "BTN3"), QStringLiteral("16711680"));
    EXPECT_EQ(colour::backColor(forms::PSK31MAIN().Command8[3]), 0xFF0000u);
}

} // namespace
