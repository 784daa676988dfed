// The configuration store over a real ZORVATEK.INI in a temporary program folder.
#include "core/IniStore.h"
#include "core/Globals.h"
#include "platform/Cp932.h"
#include "support/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

using core::g;

class IniStore : public zvtest::ProgramFolderTest {
  protected:
    QString get(const QString& section, const QString& key) {
        g.IniSection = section;
        QString v = QStringLiteral("stale");
        core::GetIniString(key, v);
        return v;
    }
    bool put(const QString& section, const QString& key, const QString& value) {
        g.IniSection = section;
        return core::PutIniString(key, value);
    }
    bool iniExists() const { return QFileInfo::exists(path(QStringLiteral("ZORVATEK.INI"))); }
};

TEST_F(IniStore, MissingKeysSectionsAndFilesReadAsTheSectionName) {
    EXPECT_EQ(get("RIG_CON_CFG", "Interval"), QStringLiteral("RIG_CON_CFG"));
    EXPECT_FALSE(iniExists()) << "a read must not create the file";

    writeIni("[PSKCFG]\nCallSign=JA1ZZZ\nEmpty=\n[HamLog]\nHLYN=YES\n");
    struct Case {
        const char* section;
        const char* key;
        QString expected;
    } cases[] = {
        {"PSKCFG", "CallSign", QStringLiteral("JA1ZZZ")},
        {"PSKCFG", "Missing", QStringLiteral("PSKCFG")},
        {"PSKCFG", "Empty", QString()},
        {"NoSuch", "CallSign", QStringLiteral("NoSuch")},
        {"Hamlog", "HLYN", QStringLiteral("YES")}, // section names ignore case
        {"HAMLOG", "hlyn", QStringLiteral("YES")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(get(c.section, c.key), c.expected) << c.section << "/" << c.key;
}

TEST_F(IniStore, WritesCreateTheFileAndReadBack) {
    EXPECT_TRUE(put("PSKCFG", "Name", QStringLiteral("山田 太郎")));
    EXPECT_EQ(readFile("ZORVATEK.INI"),
              QByteArray("[PSKCFG]\r\nName=") + cp932::encode("山田 太郎") + "\r\n");
    EXPECT_TRUE(put("pskcfg", "name", QStringLiteral("鈴木")));
    EXPECT_EQ(get("PSKCFG", "Name"), QStringLiteral("鈴木"));
    EXPECT_EQ(readFile("ZORVATEK.INI").count("[PSKCFG]"), 1);
}

TEST_F(IniStore, LongValuesAreNeverCut) {
    const QString longPath = QStringLiteral("/very/long/").repeated(2000) + QStringLiteral("履歴.MAC");
    ASSERT_TRUE(put("PSKCFG", "MacroFile", longPath));
    EXPECT_EQ(get("PSKCFG", "MacroFile"), longPath);
}

TEST_F(IniStore, TheKeyNewDeletesTheFileAndLowerCaseNewIsAKey) {
    EXPECT_TRUE(put("PSKCFG", "NEW", "x")); // no file yet: nothing happens
    EXPECT_FALSE(iniExists());

    ASSERT_TRUE(put("PSKCFG", "new", "ordinary"));
    EXPECT_EQ(get("PSKCFG", "new"), QStringLiteral("ordinary"));
    EXPECT_TRUE(put("PSKCFG", "NEW", "anything"));
    EXPECT_FALSE(iniExists());
    EXPECT_EQ(get("PSKCFG", "new"), QStringLiteral("PSKCFG"));
    EXPECT_TRUE(put("PSKCFG", "A", "1"));
    EXPECT_EQ(readFile("ZORVATEK.INI"), QByteArray("[PSKCFG]\r\nA=1\r\n"));
}

TEST_F(IniStore, AFailedWriteIsReportedAndTheOldValueStays) {
    ASSERT_TRUE(put("PSKCFG", "CallSign", "JA1ZZZ"));
    // A folder where ZORVATEK.INI.tmp-like names cannot be created: replace the
    // file by a folder of the same name, so no write can succeed.
    const QString ini = path("ZORVATEK.INI");
    QFile::remove(ini);
    QDir().mkdir(ini);
    EXPECT_FALSE(put("PSKCFG", "CallSign", "JA9XYZ"));
    EXPECT_EQ(get("PSKCFG", "CallSign"), QStringLiteral("PSKCFG"));
}

TEST_F(IniStore, FileExistsIsFalseForFoldersAndEmptyPaths) {
    writeFile("a.txt", "x");
    EXPECT_TRUE(core::FileExists(path("a.txt")));
    EXPECT_FALSE(core::FileExists(path("b.txt")));
    EXPECT_FALSE(core::FileExists(folder()));
    EXPECT_FALSE(core::FileExists(QString()));
}

TEST_F(IniStore, ValueOrGivesTheDefaultOnlyForMissingKeys) {
    writeIni("[RIG_CON_CFG]\nInterval=\nPORT=COM2\n");
    EXPECT_EQ(core::IniValueOr("RIG_CON_CFG", "PORT", "NONE"), QStringLiteral("COM2"));
    EXPECT_EQ(core::IniValueOr("RIG_CON_CFG", "Interval", "10"), QString());
    EXPECT_EQ(core::IniValueOr("RIG_CON_CFG", "Speed", "4800"), QStringLiteral("4800"));
    EXPECT_EQ(g.IniSection, QStringLiteral("RIG_CON_CFG"));
}

} // namespace
