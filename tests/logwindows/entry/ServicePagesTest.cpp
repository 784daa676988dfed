// The electronic-QSL services' pages, opened from the log entry window's menu
// through the shortcut files; a handler stands in for the browser.
#include "core/StartupFiles.h"
#include "logwindows/LogFixture.h"
#include "platform/os/Shortcut.h"
#include "support/Popups.h"

#include <QDesktopServices>
#include <QFile>

namespace {

class Browser : public QObject {
    Q_OBJECT
  public:
    QList<QUrl> opened;
  public slots:
    void open(const QUrl& url) { opened << url; }
};

class ServicePages : public zvtest::LogTest {
  protected:
    void SetUp() override {
        LogTest::SetUp();
        ASSERT_TRUE(core::WriteShortcutFiles());
    }
    void TearDown() override {
        unsetHandlers();
        LogTest::TearDown();
    }
    void setHandlers() {
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &browser_, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &browser_, "open");
    }
    static void unsetHandlers() {
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    }
    static void choose(QAction* item) {
        ui::script::clearAsked();
        EXPECT_TRUE(zvtest::chooseMenuItem(item));
    }

    Browser browser_;
};

TEST_F(ServicePages, EachMenuItemOpensItsServicesPage) {
    setHandlers();
    TEMP_LOG& w = openFromMain(QStringLiteral("QQ1ABC"));
    choose(w.GOEQSL);
    choose(w.GOQSOBANK);
    EXPECT_TRUE(askedPrompts().isEmpty());
    EXPECT_EQ(browser_.opened, (QList<QUrl>{QUrl(core::kEqslUrl), QUrl(core::kQsoBankUrl)}));

    // A shortcut the operator pointed elsewhere is followed.
    writeFile(core::kQsoBankShortcutFile,
              "[InternetShortcut]\r\nIconIndex=0\r\nurl=http://qsobank.example/a\r\n");
    choose(w.GOQSOBANK);
    ASSERT_EQ(browser_.opened.size(), 3);
    EXPECT_EQ(browser_.opened[2].host(), QStringLiteral("qsobank.example"));
}

TEST_F(ServicePages, NoShortcutNoAddressOrNoBrowserSaySo) {
    const QString cannot = QStringLiteral("ＵＲＬが開けませんでした");
    TEMP_LOG& w = openFromMain(QStringLiteral("QQ1ABC"));
    // Nothing on this desktop opens a web page.
    choose(w.GOEQSL);
    EXPECT_EQ(askedPrompts(), QStringList{cannot});

    setHandlers();
    QFile::remove(path(core::kEqslShortcutFile));
    choose(w.GOEQSL);
    EXPECT_EQ(askedPrompts(), QStringList{cannot});
    writeFile(core::kQsoBankShortcutFile, "[InternetShortcut]\r\nIconIndex=0\r\n");
    choose(w.GOQSOBANK);
    EXPECT_EQ(askedPrompts(), QStringList{cannot});
    writeFile(core::kQsoBankShortcutFile, "[InternetShortcut]\r\nURL=file:///etc/passwd\r\n");
    choose(w.GOQSOBANK);
    EXPECT_EQ(askedPrompts(), QStringList{cannot});
    EXPECT_TRUE(browser_.opened.isEmpty());
}

TEST(Shortcut, TheAddressOfAShortcutFile) {
    const struct {
        const char* file;
        const char* url; // empty: none
    } cases[] = {
        {"[InternetShortcut]\r\nURL=https://www.eqsl.cc/jp/index.cfm\r\n",
         "https://www.eqsl.cc/jp/index.cfm"},
        {"[InternetShortcut]\nURL=http://a.example/\n", "http://a.example/"},
        {"URL=  \r\nURL=https://second.example/\r\n", "https://second.example/"},
        {"[InternetShortcut]\r\nURL=ftp://a.example/\r\n", ""},
        {"[InternetShortcut]\r\nURL=javascript:alert(1)\r\n", ""},
        {"[InternetShortcut]\r\nURL=https://\r\n", ""},
        {"[InternetShortcut]\r\n", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        const std::optional<QUrl> url = shortcut::address(QByteArray(c.file));
        if (*c.url)
            EXPECT_EQ(url, QUrl(QString::fromLatin1(c.url))) << c.file;
        else
            EXPECT_EQ(url, std::nullopt) << c.file;
    }
}

} // namespace

#include "ServicePagesTest.moc"
