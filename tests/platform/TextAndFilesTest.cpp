// Shift-JIS conversion, profile files and paths, on real files.
#include "platform/Cp932.h"
#include "platform/Paths.h"
#include "platform/ProfileFile.h"
#include "support/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <csignal>
#include <sys/resource.h>

namespace {

const QString kWelcome = QStringLiteral("ようこそ、ZORVATEK へ、環境の設定をお願いします");
const QByteArray
    kWelcomeSjis("\x82\xE6\x82\xA4\x82\xB1\x82\xBB\x81\x41\x5A\x4F\x52\x56\x41\x54\x45\x4B\x20\x82\xD6\x81"
                 "\x41\x8A\xC2\x8B\xAB"
                 "\x82\xCC\x90\xDD\x92\xE8\x82\xF0\x82\xA8\x8A\xE8\x82\xA2\x82\xB5\x82\xDC\x82\xB7");

TEST(Cp932, RoundTripsJapaneseByteExact) {
    EXPECT_EQ(cp932::encode(kWelcome), kWelcomeSjis);
    EXPECT_EQ(cp932::decode(kWelcomeSjis), kWelcome);

    const QString kana = QStringLiteral("ｱｲｳｴｵﾞﾟ｡");
    const QByteArray kanaSjis("\xB1\xB2\xB3\xB4\xB5\xDE\xDF\xA1");
    EXPECT_EQ(cp932::encode(kana), kanaSjis);
    EXPECT_EQ(cp932::decode(kanaSjis), kana);
}

TEST(Cp932, UnmappableAndBrokenInputIsMarkedNotDropped) {
    EXPECT_EQ(cp932::encode(QStringLiteral("a\U0001F600b")), QByteArray("a?b"));
    // A lead byte cut off at the end of the data.
    const QString cut = cp932::decode(QByteArray("AB\x82"));
    EXPECT_EQ(cut.left(2), QStringLiteral("AB"));
    EXPECT_EQ(cut.size(), 3);
}

TEST(Cp932, LeftBytesNeverSplitsADoubleByteCharacter) {
    const QString name = QStringLiteral("山田太郎X");
    EXPECT_EQ(cp932::byteLength(name), 9);
    EXPECT_EQ(cp932::leftBytes(name, 9), name);
    EXPECT_EQ(cp932::leftBytes(name, 8), QStringLiteral("山田太郎"));
    EXPECT_EQ(cp932::leftBytes(name, 7), QStringLiteral("山田太"));
    EXPECT_EQ(cp932::leftBytes(name, 1), QString());
    EXPECT_TRUE(cp932::isLeadByte(0x82) && cp932::isLeadByte(0xE0) && !cp932::isLeadByte(0xB1));
}

class ProfileFileTest : public zvtest::ProgramFolderTest {
  protected:
    QString ini() const { return path(QStringLiteral("TEST.INI")); }
};

// The way a Windows editor leaves a file: Shift-JIS, CR LF, comments, blank
// lines, blanks around "=", quotes, mixed case.
const QByteArray kHandWritten = QByteArray("; settings written by hand\r\n"
                                           "\r\n"
                                           "[PSKCFG]\r\n"
                                           "CallSign = JA1ZZZ \r\n"
                                           "Name=") +
                                cp932::encode(QStringLiteral("山田")) +
                                QByteArray("\r\n"
                                           "Empty=\r\n"
                                           "Quoted=\"  padded  \"\r\n"
                                           "\r\n"
                                           "[HamLog]\r\n"
                                           "HLYN=YES\r\n");

TEST_F(ProfileFileTest, ReadsAFileWrittenByAWindowsEditor) {
    writeFile(QStringLiteral("TEST.INI"), kHandWritten);
    struct Case {
        const char* section;
        const char* key;
        QString expected;
    } cases[] = {
        {"PSKCFG", "CallSign", QStringLiteral("JA1ZZZ")},
        {"pskcfg", "CALLSIGN", QStringLiteral("JA1ZZZ")},
        {"PSKCFG", "Name", QStringLiteral("山田")},
        {"PSKCFG", "Empty", QString()},
        {"PSKCFG", "Quoted", QStringLiteral("  padded  ")},
        {"Hamlog", "HLYN", QStringLiteral("YES")},
        {"PSKCFG", "HLYN", QStringLiteral("<default>")},
        {"Missing", "CallSign", QStringLiteral("<default>")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(profile::getString(c.section, c.key, QStringLiteral("<default>"), ini()), c.expected)
            << c.section << "/" << c.key;
}

TEST_F(ProfileFileTest, WritingAKeyKeepsEveryOtherLine) {
    writeFile(QStringLiteral("TEST.INI"), kHandWritten);
    ASSERT_TRUE(profile::writeString("pskcfg", "callsign", "JA9XYZ", ini()));
    ASSERT_TRUE(profile::writeString("PSKCFG", "New", QStringLiteral("値"), ini()));
    ASSERT_TRUE(profile::writeString("Third", "K", "v", ini()));

    const QByteArray after = readFile(QStringLiteral("TEST.INI"));
    QByteArray expected = kHandWritten;
    expected.replace("CallSign = JA1ZZZ \r\n", "callsign=JA9XYZ\r\n");
    expected.replace("Quoted=\"  padded  \"\r\n",
                     "Quoted=\"  padded  \"\r\nNew=" + cp932::encode("値") + "\r\n");
    expected += "[Third]\r\nK=v\r\n";
    EXPECT_EQ(after, expected);
}

TEST_F(ProfileFileTest, AReadNeverCreatesTheFile) {
    EXPECT_EQ(profile::getString("S", "K", "d", ini()), QStringLiteral("d"));
    EXPECT_FALSE(QFileInfo::exists(ini()));
    ASSERT_TRUE(profile::writeString("S", "K", "v", ini()));
    EXPECT_EQ(readFile(QStringLiteral("TEST.INI")), QByteArray("[S]\r\nK=v\r\n"));
}

TEST_F(ProfileFileTest, AFullDiskLeavesTheOldFileWholeAndSaysSo) {
    writeFile(QStringLiteral("TEST.INI"), kHandWritten);
    // A file-size limit stands in for a full disk: the new file cannot be written whole.
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = static_cast<rlim_t>(kHandWritten.size() + 16);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = profile::writeString("PSKCFG", "Macro", QString(200, QLatin1Char('x')), ini());
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(written);
    EXPECT_EQ(readFile(QStringLiteral("TEST.INI")), kHandWritten);
    EXPECT_EQ(QDir(folder()).entryList(QDir::Files), QStringList{QStringLiteral("TEST.INI")})
        << "no temporary left";
}

TEST_F(ProfileFileTest, AWriteIntoAMissingFolderFails) {
    EXPECT_FALSE(profile::writeString("S", "K", "v", path(QStringLiteral("no/such/folder/X.INI"))));
}

TEST(Paths, JoinsWithOneSeparatorAndReadsStoredWindowsPaths) {
    EXPECT_EQ(paths::join("/a/b", "ZORVATEK.INI"), QStringLiteral("/a/b/ZORVATEK.INI"));
    EXPECT_EQ(paths::join("/a/b/", "ZORVATEK.INI"), QStringLiteral("/a/b/ZORVATEK.INI"));
    EXPECT_EQ(paths::join("/", "x"), QStringLiteral("/x"));
    EXPECT_EQ(paths::join("C:\\HAMLOG\\", "LOG\\a.dat"), QStringLiteral("C:/HAMLOG/LOG/a.dat"));
    EXPECT_EQ(paths::join("", "x"), QStringLiteral("x"));
}

TEST(Paths, ProgramFolderIsTakenFromTheEnvironmentAndCreated) {
    QTemporaryDir dir;
    const QByteArray old = qgetenv("ZORVATEK_HOME");
    const QString home = dir.path() + QStringLiteral("/new/home");
    qputenv("ZORVATEK_HOME", home.toUtf8());
    EXPECT_EQ(paths::programFolder(), home);
    EXPECT_TRUE(QDir(home).exists());
    qputenv("ZORVATEK_HOME", old);
}

} // namespace
