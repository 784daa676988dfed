// The log entry window's electronic-QSL button as the operator uses it: a
// right click switches the service, a left click writes the range (or the QSO
// on the window) for it and hands the file on.
#include "core/StartupFiles.h"
#include "core/ini/IniValues.h"
#include "logwindows/LogFixture.h"
#include "support/AdifReader.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>

namespace {

class Browser : public QObject {
    Q_OBJECT
  public:
    QList<QUrl> opened;
  public slots:
    void open(const QUrl& url) { opened << url; }
};

class EqslButton : public zvtest::LogTest {
  protected:
    void SetUp() override {
        LogTest::SetUp();
        setJst(QStringLiteral("2024-05-03 10:30"));
        ASSERT_TRUE(core::WriteShortcutFiles());
        fillLog(5);
        logbook::Globals& g = logbook::g;
        g.EqslType = QStringLiteral("0");
        g.EqslEnabled = 1;
        g.EqslMark = QStringLiteral("N");
        g.ComQsoBankPath = QStringLiteral(ZV_PROGRAM_DIR "/ComQSOBank.exe");
        out_ = path(QStringLiteral("送信 先"));
        ASSERT_TRUE(QDir().mkpath(out_));
    }
    void TearDown() override {
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        sysclock::resetForTest();
        LogTest::TearDown();
    }
    // A click with the button; the export runs once the release is handled.
    static void click(TEMP_LOG& w, Qt::MouseButton button) {
        ui::script::clearAsked();
        QTest::mouseClick(w.Command7, button);
        EXPECT_TRUE(zvtest::waitForPostedEvents());
    }
    QByteArray bytes(const QString& name) const {
        QFile f(out_ + QLatin1Char('/') + name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QString out_;
    Browser browser_;
};

TEST_F(EqslButton, ARightClickSwitchesTheServiceAndNeverExports) {
    TEMP_LOG& w = openFromMain(QString());
    EXPECT_EQ(w.Command7->text(), QStringLiteral("eQSL"));
    click(w, Qt::RightButton);
    EXPECT_EQ(logbook::g.EqslType, QStringLiteral("1"));
    EXPECT_EQ(w.Command7->text(), QStringLiteral("QSOBank"));
    EXPECT_TRUE(ui::script::asked().isEmpty()) << "no call or band is asked for";
    click(w, Qt::RightButton);
    EXPECT_EQ(logbook::g.EqslType, QStringLiteral("0"));
    EXPECT_EQ(w.Command7->text(), QStringLiteral("eQSL"));

    // Without a call or a band the left click stops at once.
    click(w, Qt::LeftButton);
    EXPECT_EQ(askedPrompts(), QStringList{QStringLiteral("CALL DATA がありません")});
    w.Text1->setText(QStringLiteral("QQ1ABC"));
    w.Combo1->setEditText(QString());
    click(w, Qt::LeftButton);
    EXPECT_EQ(askedPrompts(), QStringList{QStringLiteral("Band DATA がありません")});
}

TEST_F(EqslButton, TheWindowsQsoAsAnEqslFileThenThePage) {
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &browser_, "open");
    TEMP_LOG& w = openFromMain(QStringLiteral("QQ2EQS"));
    w.Text3->setText(QStringLiteral("2024-01-01"));
    w.Text4->setText(QStringLiteral("08:59J"));
    ui::script::push(out_ + QStringLiteral("/today"));
    ui::script::push(ui::Yes);
    click(w, Qt::LeftButton);
    ASSERT_FALSE(ui::script::asked().isEmpty());
    EXPECT_EQ(ui::script::asked()[0].kind, QStringLiteral("saveFile"));
    EXPECT_EQ(ui::script::asked()[0].title, QStringLiteral("電子QSLﾃﾞｰﾀ保存"));
    EXPECT_TRUE(ui::script::asked()[0].prompt.endsWith(QStringLiteral("/ZORVATEK_EQSL240503")));
    const std::optional<zvtest::AdifFile> file = zvtest::readAdif(bytes(QStringLiteral("today.ADI")));
    ASSERT_TRUE(file);
    ASSERT_EQ(file->records.size(), 1u);
    EXPECT_EQ(file->records[0].value(QStringLiteral("CALL")), QStringLiteral("QQ2EQS"));
    EXPECT_EQ(file->records[0].value(QStringLiteral("QSO_DATE")), QStringLiteral("20231231"));
    EXPECT_EQ(file->records[0].value(QStringLiteral("TIME_ON")), QStringLiteral("2359"));
    EXPECT_EQ(browser_.opened, QList<QUrl>{QUrl(core::kEqslUrl)});
    EXPECT_EQ(core::IniStored(QStringLiteral("E-QSL"), QStringLiteral("eQSLFOL")), out_)
        << "the next dialog opens in the chosen folder";

    // No page opens: the export error message with the range.
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    openFromMain(QStringLiteral("QQ3EQS"));
    ui::script::push(out_ + QStringLiteral("/again.ADI"));
    ui::script::push(ui::Yes);
    click(w, Qt::LeftButton);
    EXPECT_TRUE(askedPrompts().last().startsWith(QStringLiteral("EQSL_ERROR!!!  STRT=6  END=6 stop >>")))
        << askedPrompts().last().toStdString();

    // Cancelled: nothing written, the folder kept.
    ui::script::push(QVariant());
    click(w, Qt::LeftButton);
    EXPECT_EQ(ui::script::asked().size(), 1);
    EXPECT_EQ(core::IniStored(QStringLiteral("E-QSL"), QStringLiteral("eQSLFOL")), out_);
}

TEST_F(EqslButton, ARangeAfterTheSwitchGoesToQsoBanksSender) {
    TEMP_LOG& w = openFromMain(QString());
    // Records 2 to 4 marked with "Strt" and "End" while browsing.
    for (int i = 0; i < 4; ++i)
        QTest::mouseClick(w.Command2, Qt::LeftButton);
    ASSERT_EQ(logbook::g.HamlogRecNo, 2);
    QTest::mouseClick(w.Command8, Qt::LeftButton);
    QTest::mouseClick(w.Command3, Qt::LeftButton);
    QTest::mouseClick(w.Command3, Qt::LeftButton);
    QTest::mouseClick(w.Command9, Qt::LeftButton);
    ASSERT_EQ(logbook::g.ExportToRecNo, 4);
    click(w, Qt::RightButton);
    ui::script::push(out_ + QStringLiteral("/bank"));
    click(w, Qt::LeftButton);
    EXPECT_TRUE(bytes(QStringLiteral("bank.xml")).contains("<callsign>QQ1AA3</callsign>"));
    ASSERT_TRUE(zvtest::waitUntil([this] { return !bytes(QStringLiteral("ComQSOBank.log")).isEmpty(); }));
    const QString uploaded = QString::fromUtf8(bytes(QStringLiteral("ComQSOBank.log")));
    EXPECT_TRUE(uploaded.contains(QStringLiteral("QQ1AA2"))) << uploaded.toStdString();
    EXPECT_TRUE(uploaded.contains(QStringLiteral("QQ1AA4")));
    EXPECT_FALSE(uploaded.contains(QStringLiteral("QQ1AA5")));
    EXPECT_EQ(core::IniStored(QStringLiteral("E-QSL"), QStringLiteral("eQSLQFOL")), out_);

    // No sender set up: the export error message, the file still written.
    logbook::g.ComQsoBankPath = path(QStringLiteral("nowhere/ComQSOBank.exe"));
    ui::script::push(out_ + QStringLiteral("/bank2"));
    click(w, Qt::LeftButton);
    EXPECT_EQ(askedPrompts().last(), QStringLiteral("EQSL_ERROR!!!  STRT=2  END=4 stop >>4"));
    EXPECT_FALSE(bytes(QStringLiteral("bank2.xml")).isEmpty());
}

} // namespace

#include "EqslButtonTest.moc"
