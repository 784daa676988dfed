// The settings sheet's log tab: the file pickers and what a cancel leaves,
// the QSL-sent mark, the eQSL remarks, the received-QTH menu, the outside
// programs and the logging program's place for each link.
#include "settings/SheetFixture.h"

#include "log/LogGlobals.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/os/Paths.h"
#include "platform/os/ProcessStop.h"
#include "settings/sheet/SheetControls.h"

#include <QFile>

namespace {

class CfgSheetLog : public sheettest::SheetTest {
  protected:
    CFGSHEET& openLogTab(const QString& logKeys = {}) {
        CFGSHEET& s = open({}, QStringLiteral("[HamLog]\n") + logKeys);
        showTab(s, 2);
        return s;
    }
    static bool green(QWidget* w) { return colour::backColor(w) == settings::kLightGreen; }
    // The arguments a running program was started with.
    static QStringList commandLine(qint64 pid) {
        QFile f(QStringLiteral("/proc/%1/cmdline").arg(pid));
        if (!f.open(QIODevice::ReadOnly)) return {};
        QStringList args = QString::fromLocal8Bit(f.readAll()).split(QChar(0));
        if (!args.isEmpty() && args.last().isEmpty()) args.removeLast();
        return args;
    }
    void TearDown() override {
        if (logbook::g.HamlogStartResult == 1) process::stop(logbook::g.HamlogProcessId, 2000);
        sheettest::SheetTest::TearDown();
    }
};

TEST_F(CfgSheetLog, PickersStoreTheChosenFileAndACancelChangesNothing) {
    CFGSHEET& s = openLogTab(QStringLiteral("HLJCA=/opt/jca/HLJCAW.EXE\n"));
    tick(s.Option7[1]); // QSOBank, whose sender can then be chosen
    const struct {
        QAbstractButton* button;
        const char* section;
        const char* key;
        QString file;
        QString startFolder;
        QString cancelled;
        QString what;
    } rows[] = {
        {s.Command9, "HamLog", "HLJCA", QStringLiteral("/opt/jca2/HLJCAW.EXE"), QStringLiteral("/opt/jca"),
         QStringLiteral("HLJCAW.EXE の指定を中止します"), QStringLiteral("HLJCA.EXE")},
        {s.Command7, "HamLog", "HLQSL", QStringLiteral("/opt/qsl/HLQSLN.EXE"), folder(),
         QStringLiteral("QSL印刷ｿﾌﾄ の指定を中止します"), QStringLiteral("QSL印刷ｿﾌﾄ")},
        {s.Command13, "E-QSL", "ComQSOBank", QStringLiteral("/opt/bank/ComQSOBank.exe"), folder(),
         QStringLiteral("ComQSOBank.EXEが指定（変更）されませんでした"), QStringLiteral("電子QSL送信機")},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.key);
        ui::script::clearAsked();
        ui::script::push(r.file);
        press(r.button);
        EXPECT_EQ(lastAsked().kind, QStringLiteral("openFile"));
        EXPECT_EQ(lastAsked().prompt, r.startFolder) << "the picker starts beside the file in use";
        EXPECT_EQ(ini(r.section, r.key), r.file);
        EXPECT_TRUE(green(r.button));
        EXPECT_EQ(r.button->toolTip(), settings::ConfiguredTip(r.what, r.file));

        ui::script::clearAsked();
        ui::script::push(QVariant());
        press(r.button);
        EXPECT_TRUE(asked(r.cancelled));
        EXPECT_EQ(ini(r.section, r.key), r.file) << "a cancel keeps the file chosen before";
        EXPECT_EQ(r.button->toolTip(), settings::ConfiguredTip(r.what, r.file));
    }
    EXPECT_EQ(logbook::g.HamlogJcaOn, 1);
    EXPECT_EQ(logbook::g.QslPrintProgKind, 1);
    EXPECT_EQ(logbook::g.EqslEnabled, 1);
    EXPECT_FALSE(s.Command18->isEnabled()) << "HLQSLN has no card definition";
    EXPECT_TRUE(s.Text1->hasFocus()) << "the QSOBank picker hands the focus to the call box";

    tick(s.Option7[0]); // the eQSL service has no sender to choose
    ui::script::clearAsked();
    press(s.Command13);
    EXPECT_TRUE(ui::script::asked().isEmpty());
}

TEST_F(CfgSheetLog, CardDefinitionAsksForTheQslSentMark) {
    CFGSHEET& s = openLogTab();
    ui::script::push(QStringLiteral("/opt/mmqsl/MMQSL.EXE"));
    press(s.Command7);
    ASSERT_TRUE(s.Command18->isEnabled()) << "MMQSL takes a card definition";

    const struct {
        QVariant answer;
        const char* mark;
    } rows[] = {{QStringLiteral("#x"), "#"}, {QString(), "*"}, {QVariant(), "*"}, {QStringLiteral("Q"), "Q"}};
    const QString card = QStringLiteral("/opt/mmqsl/card.mql");
    for (const auto& r : rows) {
        SCOPED_TRACE(r.mark);
        ui::script::clearAsked();
        ui::script::push(card);
        ui::script::push(r.answer);
        press(s.Command18);
        EXPECT_EQ(lastAsked().title, QStringLiteral("QSL発行済みマークの指定"));
        EXPECT_EQ(logbook::g.QslSendMark, QString::fromLatin1(r.mark));
        EXPECT_EQ(ini("HamLog", "QSLSendMark"), QString::fromLatin1(r.mark));
    }
    EXPECT_EQ(ini("HamLog", "MMQSL"), card);
    EXPECT_TRUE(green(s.Command18));

    // A cancelled definition asks for no mark.
    ui::script::clearAsked();
    press(s.Command18);
    EXPECT_TRUE(asked(QStringLiteral("MMQSL定義ﾌｧｲﾙ の指定を中止します")));
    EXPECT_EQ(ui::script::asked().size(), 2);
}

TEST_F(CfgSheetLog, EqslRemarksKeepTheTextUnlessANewOneIsGiven) {
    CFGSHEET& s = openLogTab();
    logbook::g.EqslMessage = QStringLiteral("OLD TEXT");
    ui::script::push(QVariant());
    press(s.Command14);
    EXPECT_EQ(ini("E-QSL", "eQSL_Mesg"), QStringLiteral("-")) << "a cancel stores nothing";

    ui::script::push(QStringLiteral("TNX FB QSO 73"));
    press(s.Command14);
    EXPECT_EQ(ini("E-QSL", "eQSL_Mesg"), QStringLiteral("TNX FB QSO 73"));
    EXPECT_EQ(logbook::g.EqslMessage, QStringLiteral("TNX FB QSO 73"));
    EXPECT_TRUE(green(s.Command14));
    EXPECT_EQ(logbook::g.EqslEnabled, 1);

    ui::script::clearAsked();
    ui::script::push(QString());
    press(s.Command14);
    ASSERT_EQ(ui::script::asked().size(), 1);
    EXPECT_EQ(ini("E-QSL", "eQSL_Mesg"), QStringLiteral("TNX FB QSO 73"));
    EXPECT_EQ(s.Command14->toolTip(), settings::EqslRemarksTip(QStringLiteral("TNX FB QSO 73")));
}

TEST_F(CfgSheetLog, ReceivedQthMenuStoresTheChoice) {
    CFGSHEET& s = openLogTab();
    ASSERT_EQ(logbook::g.HamlogLink, 0);
    press(s.Command17);
    EXPECT_TRUE(asked(QStringLiteral("先にhamlogの場所設定をお願いします")));

    tick(s.Option8[1]); // the library link
    ASSERT_EQ(logbook::g.HamlogLink, 1);
    zvtest::chooseInNextPopup(s.TOQTH[2]);
    press(s.Command17);
    EXPECT_EQ(core::g.QthOperation, QStringLiteral("Rem1"));
    EXPECT_EQ(ini("HamLog", "QTHOperation"), QStringLiteral("Rem1"));

    // The menu shows the stored choice ticked, and a stored nonsense as "decide on the spot".
    zvtest::chooseInNextPopup(s.TOQTH[3]);
    press(s.Command17);
    EXPECT_FALSE(s.TOQTH[2]->isChecked());
    EXPECT_TRUE(s.TOQTH[3]->isChecked());
    core::PutIniText(QStringLiteral("HamLog"), "QTHOperation", QStringLiteral("Rem9"));
    zvtest::chooseInNextPopup(s.TOQTH[1]);
    press(s.Command17);
    EXPECT_EQ(ini("HamLog", "QTHOperation"), QStringLiteral("QTH"));
    EXPECT_TRUE(zvtest::chooseMenuItem(s.TOQTH[0]));
    EXPECT_EQ(core::g.QthOperation, QStringLiteral("Free"));
}

TEST_F(CfgSheetLog, OutsideProgramGetsItsButtonNameOrStaysAsItWas) {
    CFGSHEET& s = openLogTab();
    const QString program = path(QStringLiteral("logger"));
    ui::script::push(program);
    ui::script::push(QStringLiteral("LOGGER"));
    press(s.Command11);
    EXPECT_EQ(lastAsked().title, QStringLiteral("釦名定義"));
    EXPECT_EQ(s.Command11->text(), QStringLiteral("LOGGER"));
    EXPECT_EQ(ini("Other_App", "Other_App1_pos"), program);
    EXPECT_EQ(ini("Other_App", "Other_App1_Name"), QStringLiteral("LOGGER"));
    EXPECT_EQ(main->OPAPP1_STRT->text(), QStringLiteral("LOGGER"));
    EXPECT_TRUE(main->OPAPP1_STRT->isVisible());

    // No name: the program and the name in use stay.
    ui::script::push(path(QStringLiteral("other")));
    ui::script::push(QString());
    press(s.Command11);
    EXPECT_TRUE(asked(QStringLiteral("Other Application の指定を中止します")));
    EXPECT_EQ(core::g.OtherApp1Path, program);
    EXPECT_EQ(s.Command11->text(), QStringLiteral("LOGGER"));
    EXPECT_EQ(ini("Other_App", "Other_App1_pos"), program);

    ui::script::push(path(QStringLiteral("viewer")));
    ui::script::push(QStringLiteral("VIEW"));
    press(s.Command12);
    EXPECT_EQ(main->OPAPP2_STRT->text(), QStringLiteral("VIEW"));
    EXPECT_EQ(ini("Other_App", "Other_App2_Name"), QStringLiteral("VIEW"));
    EXPECT_EQ(lastAsked().kind, QStringLiteral("inputBox"));
}

TEST_F(CfgSheetLog, LoggingProgramPlaceByLink) {
    // A library link stored without its database selects no link.
    CFGSHEET& s = openLogTab(QStringLiteral("HAMLOGtype=1\n"));
    tick(s.Option8[2]);
    EXPECT_FALSE(main->Command5->isEnabled());
    ASSERT_TRUE(s.Command6->isEnabled()) << "no log chosen while the sheet is open";
    press(s.Command6);
    EXPECT_TRUE(asked(QStringLiteral("先に上の設定でHAMLOGの使用方法を決めて下さい。")));

    // The library link without a database leaves the log button as it was,
    // and is stored only with its database.
    tick(s.Option8[1]);
    EXPECT_FALSE(main->Command5->isEnabled());
    EXPECT_EQ(ini("HamLog", "HAMLOGtype"), QStringLiteral("0"));
    ui::script::push(QVariant());
    press(s.Command6);
    EXPECT_TRUE(asked(QStringLiteral("log データベースが指定（変更）されませんでした")));
    EXPECT_EQ(ini("HamLog", "HAMLOGPOS"), QStringLiteral("-"));
    // A folder named with a wave dash would be stored as the full-width
    // tilde's, another folder: refused, named.
    ui::script::push(path(QStringLiteral("d〜/HAMLOG.HDB")));
    press(s.Command6);
    EXPECT_TRUE(
        asked(QStringLiteral("「〜」は設定ファイルに保存できない文字です。\n別の文字に直して下さい。")));
    EXPECT_EQ(ini("HamLog", "HAMLOGPOS"), QStringLiteral("-"));
    ui::script::push(path(QStringLiteral("d〜/HLQSLN.EXE")));
    press(s.Command7);
    EXPECT_TRUE(asked(QStringLiteral("QSL印刷ｿﾌﾄ の指定を中止します")));
    EXPECT_EQ(ini("HamLog", "HLQSL"), QStringLiteral("-"));

    const QString database = path(QStringLiteral("MYLOG.HDB"));
    ui::script::push(database);
    press(s.Command6);
    EXPECT_EQ(ini("HamLog", "HAMLOGPOS"), database);
    EXPECT_EQ(ini("HamLog", "HAMLOGtype"), QStringLiteral("1"));
    EXPECT_EQ(logbook::g.HamlogDataPath, path(QStringLiteral("MYLOG")));
    EXPECT_TRUE(main->Command5->isEnabled());
    for (QAction* item : {main->CALLSR, main->PSTREM1, main->PSTREM2})
        EXPECT_TRUE(zvtest::enabledOnceBuilt(item)) << item->text().toStdString();
    EXPECT_EQ(forms::TEMP_LOG().windowTitle(), QStringLiteral("PSKログ LogData=>") + database);
    EXPECT_TRUE(green(s.Command6));

    tick(s.Option8[0]);
    ui::script::push(QStringLiteral("/opt/hamlog/HAMLOGW.EXE"));
    press(s.Command6);
    EXPECT_EQ(ini("HamLog", "HAMLOGexePOS"), QStringLiteral("/opt/hamlog/HAMLOGW.EXE"));
    EXPECT_EQ(logbook::g.HamlogLink, 2);
    EXPECT_EQ(colour::backColor(s.Command6), settings::kLightOrange);
    EXPECT_EQ(s.Command6->toolTip(),
              settings::ConfiguredTip(QStringLiteral("Hamlog"), QStringLiteral("/opt/hamlog/HAMLOGW.EXE")));
}

TEST_F(CfgSheetLog, WindowLinkStartsTheLoggingProgramOnceAndAnotherLinkStopsIt) {
    const QString program = paths::join(paths::executableFolder(), QStringLiteral("HAMLOGW.EXE"));
    CFGSHEET& s = openLogTab(QStringLiteral("HAMLOGtype=2\nHAMLOGexePOS=") + program + QLatin1Char('\n'));
    EXPECT_TRUE(s.Option8[0]->isChecked());
    ASSERT_TRUE(zvtest::chooseMenuItem(s.CFGEND));
    ASSERT_EQ(logbook::g.HamlogStartResult, 1);
    const qint64 pid = logbook::g.HamlogProcessId;
    EXPECT_TRUE(process::running(pid));
    EXPECT_EQ(commandLine(pid), (QStringList{program, QStringLiteral("-iforZORVAT")}));

    // Closed again, by its close box too, the sheet starts no second copy.
    ASSERT_TRUE(zvtest::chooseMenuItem(main->PSKCFG));
    EXPECT_TRUE(forms::CFGSHEET().close());
    ASSERT_TRUE(zvtest::chooseMenuItem(main->PSKCFG));
    ASSERT_TRUE(zvtest::chooseMenuItem(forms::CFGSHEET().CFGEND));
    EXPECT_EQ(logbook::g.HamlogProcessId, pid);

    ASSERT_TRUE(zvtest::chooseMenuItem(main->PSKCFG));
    CFGSHEET& again = forms::CFGSHEET();
    showTab(again, 2);
    tick(again.Option8[1]);
    // The frame that the load greyed for the window link is the library link's at once.
    ASSERT_TRUE(again.Frame7->isVisible());
    QTest::mouseClick(again.Check4, Qt::LeftButton, {}, QPoint(6, again.Check4->height() / 2));
    EXPECT_EQ(logbook::g.HamlogConfirmOn, 1);
    ASSERT_TRUE(zvtest::chooseMenuItem(again.CFGEND));
    EXPECT_EQ(logbook::g.HamlogStartResult, 0);
    EXPECT_FALSE(process::running(pid));
    EXPECT_FALSE(asked(QStringLiteral("HAMLOGの終了に失敗しました、後で終了させて下さい。")));
}

} // namespace
