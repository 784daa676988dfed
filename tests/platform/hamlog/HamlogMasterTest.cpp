// The master data files and their indexes, on the generated demo set.
#include "platform/hamlog/HamlogMaster.h"
#include "platform/hamlog/Hamlog.h"
#include "platform/hamlog/HamlogDemoData.h"
#include "platform/os/Cp932.h"
#include "support/ProgramFolder.h"

#include <QDir>
#include <QFile>

using namespace hamlog;

namespace {

class HamlogMasterTest : public zvtest::ProgramFolderTest {
  protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        ASSERT_TRUE(demo::writeDemoSetup(dataPath()));
    }
    QString dataPath() const { return path(QStringLiteral("HAMLOG")); }
    QString file(const char* extension) const { return masterFile(dataPath(), extension); }

    // The codes of the records an index search and walk give, as long as the
    // records' own keys begin with `walkKey`.
    QStringList walk(const char* extension, const QString& key, int keyLength, const QString& walkKey) {
        MasterIndex index;
        EXPECT_EQ(idx_open(file(extension), index), Done);
        QStringList codes;
        for (int recNo = idx_search(index, key, keyLength); recNo > 0; recNo = idx_next(index)) {
            const auto record = readMasterRecord(file("mst"), recNo);
            if (!record) break;
            const QString ownKey =
                QLatin1String(extension) == QLatin1String("dx2") ? codeKey(*record) : initialKey(*record);
            if (!ownKey.startsWith(walkKey)) break;
            codes << record->Code.trimmed();
        }
        idx_close(index);
        return codes;
    }
};

TEST_F(HamlogMasterTest, RecordFileHasTheFixedLayout) {
    const QByteArray bytes = readFile(QStringLiteral("HAMLOG.mst"));
    const auto records = demo::masterRecords();
    ASSERT_EQ(bytes.size(), masterRecordOffset(static_cast<int>(records.size()) + 1));
    EXPECT_EQ(masterRecordOffset(1), 290);
    // Record 25 is 八王子市: code, Shift-JIS name, kind, prefix, area, band bits, longitude.
    ASSERT_EQ(records[24].Name, QStringLiteral("八王子市"));
    const QByteArray r = bytes.mid(masterRecordOffset(25), kMasterRecordSize);
    EXPECT_EQ(r.left(6), QByteArray("1002  "));
    EXPECT_EQ(r.mid(6, 34), cp932::encode(QStringLiteral("八王子市")).leftJustified(34, ' '));
    EXPECT_EQ(r.mid(40, 4), QByteArray("4") + cp932::encode(QStringLiteral("は")) + "1");
    EXPECT_EQ(static_cast<unsigned char>(r[45]), 0x04);
    EXPECT_EQ(static_cast<unsigned char>(r[47]), 0x14);
    EXPECT_EQ(static_cast<unsigned char>(r[52]), 139);
    EXPECT_EQ(static_cast<unsigned char>(r[54]), 0);

    const auto read = readMasterRecord(file("mst"), 25);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->Name.size(), 30); // four kanji and the blank padding of 34 bytes
    EXPECT_EQ(read->Name.trimmed(), QStringLiteral("八王子市"));
    EXPECT_EQ(read->Prefix, QStringLiteral("は"));
    EXPECT_EQ(read->WorkedBits1, 0x14);
    const auto usa = readMasterRecord(file("mst"), 11);
    ASSERT_TRUE(usa);
    EXPECT_EQ(usa->Code.trimmed(), QStringLiteral("758"));
    EXPECT_GE(usa->LongitudeFlags, 128);
    EXPECT_EQ(usa->WorkedBits2, 0x01);
    EXPECT_FALSE(readMasterRecord(file("mst"), 0));
    EXPECT_FALSE(readMasterRecord(file("mst"), static_cast<int>(records.size()) + 1));
}

TEST_F(HamlogMasterTest, LookupsOnTheGeneratedSet) {
    struct Case {
        const char* extension;
        QString key;
        int keyLength;
        QString walkKey;
        QStringList codes;
    } cases[] = {
        // By code: the whole code, also when given with its length.
        {"dx2", QStringLiteral("1002"), 4, QStringLiteral("1002"), {"1002"}},
        {"dx2", QStringLiteral("10001A"), 6, QStringLiteral("10001A"), {"10001A"}},
        {"dx2", QStringLiteral("733A"), 0, QStringLiteral("733A"), {"733A"}},
        {"dx2", QStringLiteral("140A"), 0, QStringLiteral("140A"), {"140A"}},
        {"dx2", QStringLiteral("100"), 3, QStringLiteral("100"), {}},
        {"dx2", QStringLiteral("9999"), 4, QStringLiteral("9999"), {}},
        // Prefixes match whole: the longest key decides.
        {"dx4", QStringLiteral("3JA"), 0, QStringLiteral("3JA"), {"500"}},
        {"dx4", QStringLiteral("3JA1"), 0, QStringLiteral("3JA1"), {}},
        {"dx4", QStringLiteral("3J"), 0, QStringLiteral("3J"), {}},
        {"dx4", QStringLiteral("3KH6"), 0, QStringLiteral("3KH6"), {"140A"}},
        {"dx4", QStringLiteral("3K"), 0, QStringLiteral("3K"), {"758", "140A"}},
        {"dx4", QStringLiteral("3JD1"), 0, QStringLiteral("3JD1"), {"732", "733A", "732A"}},
        {"dx4", QStringLiteral("35H"), 0, QStringLiteral("35H"), {"024", "025"}},
        // An initial with its area, and without: every area of the initial.
        {"dx4", QStringLiteral("4お3"), 0, QStringLiteral("4お"), {"2501", "2701"}},
        {"dx4", QStringLiteral("4は1"), 0, QStringLiteral("4は1"), {"1002"}},
        {"dx4", QStringLiteral("4は"), 0, QStringLiteral("4は"), {"1002", "0102"}},
        {"dx4", QStringLiteral("7み"), 0, QStringLiteral("7み"), {"10001A"}},
        {"dx4", QStringLiteral("4ん"), 0, QStringLiteral("4ん"), {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(walk(c.extension, c.key, c.keyLength, c.walkKey), c.codes)
            << c.extension << " " << c.key.toStdString();
}

TEST_F(HamlogMasterTest, IndexWalkEndsAndAClosedIndexGivesNothing) {
    MasterIndex index;
    EXPECT_NE(idx_open(path(QStringLiteral("NOSUCH.dx4")), index), Done);
    EXPECT_EQ(idx_search(index, QStringLiteral("3JA"), 0), 0);
    ASSERT_EQ(idx_open(file("dx2"), index), Done);
    int entries = 0;
    for (int recNo = idx_search(index, QStringLiteral("0101"), 0); recNo > 0; recNo = idx_next(index))
        ++entries;
    EXPECT_GT(entries, 1);
    EXPECT_EQ(idx_next(index), 0);
    EXPECT_EQ(idx_close(index), Done);
    EXPECT_EQ(idx_search(index, QStringLiteral("0101"), 0), 0);
    EXPECT_EQ(idx_next(index), 0);
    // Something that is no index file does not open.
    writeFile(QStringLiteral("BROKEN.dx2"), "not an index\n");
    EXPECT_NE(idx_open(path(QStringLiteral("BROKEN.dx2")), index), Done);
}

TEST_F(HamlogMasterTest, OpeningTheLogRebuildsDeletedIndexFiles) {
    const QByteArray dx2 = readFile(QStringLiteral("HAMLOG.dx2"));
    const QByteArray dx4 = readFile(QStringLiteral("HAMLOG.dx4"));
    // The operator's index rebuild: every "dx" file of the log goes.
    for (const QString& name : QDir(folder()).entryList({QStringLiteral("HAMLOG.dx*")}))
        ASSERT_TRUE(QFile::remove(path(name)));
    HamlogHandle h;
    ASSERT_EQ(HamlogOpen(0, h, dataPath(), 0), Done);
    HamlogClose(h, 0);
    EXPECT_EQ(readFile(QStringLiteral("HAMLOG.dx2")), dx2);
    EXPECT_EQ(readFile(QStringLiteral("HAMLOG.dx4")), dx4);
    EXPECT_EQ(walk("dx4", QStringLiteral("3VK"), 0, QStringLiteral("3VK")), QStringList{"150"});
}

TEST_F(HamlogMasterTest, DemoLogHoldsTheDemoQsosOnceOnly) {
    ASSERT_TRUE(demo::writeDemoSetup(dataPath()));
    HamlogHandle h;
    ASSERT_EQ(HamlogOpen(0, h, dataPath(), 0), Done);
    EXPECT_EQ(Vdbf_rcount(h), static_cast<int>(demo::qsos().size()));
    EXPECT_EQ(Vidx_search(h, QStringLiteral("QQ1AAA"), 16), 1);
    EXPECT_EQ(Vidx_next(h, 16), 4);
    HamlogClose(h, 0);
    // The achievement file beside it: written once, the operator's own kept.
    const QString jca = path(QStringLiteral("実績.txt"));
    EXPECT_EQ(readFile(QStringLiteral("実績.txt")), demo::jcaFile());
    writeFile(QStringLiteral("実績.txt"), "\"OWN\",\"\",\"\",\"\"\r\n");
    ASSERT_TRUE(demo::writeDemoSetup(dataPath()));
    EXPECT_EQ(readFile(QStringLiteral("実績.txt")), QByteArray("\"OWN\",\"\",\"\",\"\"\r\n"));
    EXPECT_TRUE(QFile::exists(jca));
}

} // namespace
