// The one table of stored numbers and their ranges, and the start's pass
// that brings a hand-damaged ZORVATEK.INI back into range.
#include "core/ini/SettingRanges.h"
#include "core/Globals.h"
#include "core/ini/IniStore.h"
#include "core/ini/IniValues.h"
#include "platform/os/Cp932.h"
#include "support/ProgramFolder.h"

#include <QSet>

namespace {

using core::StoredRange;

TEST(StoredRanges, EveryRowIsWhole) {
    QSet<QString> seen;
    for (const StoredRange& row : core::StoredRanges()) {
        const QString name =
            QString::fromLatin1(row.section).toUpper() + '/' + QString::fromLatin1(row.key).toUpper();
        SCOPED_TRACE(name.toStdString());
        EXPECT_FALSE(seen.contains(name)) << "one row per key";
        EXPECT_LE(row.lowest, row.highest);
        EXPECT_TRUE(core::InStoredRange(row, row.fallback)) << "the missing key's value is in range";
        for (int c : row.choices)
            EXPECT_TRUE(c >= row.lowest && c <= row.highest) << c;
        EXPECT_EQ(row.count > 0, QString::fromLatin1(row.key).contains(QLatin1String("%1")));
        if (row.fallbackKey) {
            // Corrected before the key that falls back to it.
            EXPECT_TRUE(seen.contains(QString::fromLatin1(row.section).toUpper() + '/' +
                                      QString::fromLatin1(row.fallbackKey).toUpper()));
        }
        seen.insert(name);
    }
}

TEST(StoredRanges, ARowIsFoundByItsKeyInAnyCase) {
    struct Case {
        const char* section;
        const char* key;
        int highest; // of the row found; 0: none
    } cases[] = {
        {"PSKCFG", "WF_LEVEL", 250},     {"pskcfg", "sq_level", 100},
        {"MACRO_SCKEY", "MACRO35", 'Z'}, {"MACRO_SCKEY", "MACRO36", 0},
        {"MMVCFG", "AFC_SW", 1},         {"Mmtty", "FFTGain", 3},
        {"PSKCFG", "USERCALL", 0},       {"RIG_CON_CFG", "Poll_Time", 5000},
    };
    for (const Case& c : cases) {
        const StoredRange* row = core::StoredRangeOf(c.section, c.key);
        EXPECT_EQ(row ? row->highest : 0, c.highest) << c.section << "/" << c.key;
    }
}

TEST(StoredRanges, WhatAStoredTextBecomes) {
    struct Case {
        const char* section;
        const char* key;
        const char* stored;
        std::optional<int> corrected; // nothing: it stands as stored
    } cases[] = {
        {"PSKCFG", "WF_LEVEL", "-7", 90},
        {"PSKCFG", "WF_LEVEL", " 0", {}},
        {"PSKCFG", "WF_LEVEL", "250", {}},
        {"PSKCFG", "WF_LEVEL", "251", 90},
        {"PSKCFG", "SQ_LEVEL", "12345", 0},
        {"PSKCFG", "SQ_LEVEL", "100", {}},
        {"PSKCFG", "Audio_Center_Freq", "-500", 1500},
        {"PSKCFG", "Audio_Center_Freq", "199", 1500},
        {"PSKCFG", "Audio_Center_Freq", "200", {}},
        {"PSKCFG", "Audio_Center_Freq", "1000.0", {}},
        {"PSKCFG", "F_Range", "", 1},
        {"PSKCFG", "SQ_SPEED", "fast", 10},
        {"PSKCFG", "SOUNDCARDnum", "-1", {}},
        {"PSKCFG", "SOUNDCARDnum", "2", -1},
        {"PSKCFG", "COMCONT", "3", {}},
        {"PSKCFG", "COMCONT", "2", 0},
        {"PSKCFG", "MSG_CNT", "2147483647", 0},
        {"RIG_CON_CFG", "BAUD_RATE", "9600", {}},
        {"RIG_CON_CFG", "BAUD_RATE", "9601", 4800},
        {"RIG_CON_CFG", "Poll_Time", "100000", 5000},
        {"RIG_CON_CFG", "Poll_Time", "300", 600},
        {"RIG_CON_CFG", "Poll_Time", "-300", 1000},
        {"RIG_CON_CFG", "Interval", "3001500", 1000},
        {"RIG_CON_CFG", "Interval", "0", {}},
        {"Mmtty", "TXDelay", "2147483647", 1000},
        {"Mmtty", "TXDelay", "1000", {}},
        {"MACRO_SCKEY", "MACRO7", "0", {}},
        {"MACRO_SCKEY", "MACRO7", "65", {}},
        {"MACRO_SCKEY", "MACRO7", "64", 0},
        {"MACRO_SCKEY", "MACRO7", "97", 0},
    };
    for (const Case& c : cases) {
        const StoredRange* row = core::StoredRangeOf(c.section, c.key);
        ASSERT_NE(row, nullptr) << c.key;
        EXPECT_EQ(core::CorrectedNumber(*row, QString::fromLatin1(c.stored), row->fallback), c.corrected)
            << c.key << "=" << c.stored;
    }
}

class StoredNumbers : public zvtest::ProgramFolderTest {};

TEST_F(StoredNumbers, AHandDamagedFileIsReadCorrectedAndKeepsItsBytes) {
    const QString damaged = QStringLiteral("; kept as it is\n"
                                           "[PSKCFG]\n"
                                           "USERCALL=JA1ZZZ\n"
                                           "Audio_Center_Freq=-500\n"
                                           "RX1Freq=-3\n"
                                           "TX1Freq=1200\n"
                                           "WF_LEVEL=-7\n"
                                           "WFRT_LEVEL = 120\n"
                                           "SQ_LEVEL=12345\n"
                                           "F_Range=\n"
                                           "[MACRO_SCKEY]\n"
                                           "MACRO3=66\n"
                                           "MACRO4=5\n"
                                           "[RIG_CON_CFG]\n"
                                           "Poll_Time=500\n"
                                           "Interval=abc\n");
    writeIni(damaged);
    const QByteArray before = readFile("ZORVATEK.INI");
    core::BringStoredNumbersIntoRange();
    EXPECT_EQ(readFile("ZORVATEK.INI"), before) << "a value the operator did not change is not rewritten";
    // Read in range: the corrected centre is what the receive frequency falls back to.
    EXPECT_EQ(core::IniWhole(QStringLiteral("PSKCFG"), QStringLiteral("RX1Freq")), 1500);
    EXPECT_EQ(core::IniWhole(QStringLiteral("PSKCFG"), QStringLiteral("WFRT_LEVEL")), 120);
    EXPECT_EQ(core::IniWhole(QStringLiteral("MACRO_SCKEY"), QStringLiteral("MACRO4")), 0);
    EXPECT_EQ(core::IniWhole(QStringLiteral("RIG_CON_CFG"), QStringLiteral("Poll_Time")), 600);

    // Written back as in use, nothing changes; stored anew by the operator, it is.
    EXPECT_TRUE(core::PutIniText(QStringLiteral("RIG_CON_CFG"), "Poll_Time", "600"));
    EXPECT_EQ(readFile("ZORVATEK.INI"), before);
    EXPECT_TRUE(core::PutIniText(QStringLiteral("RIG_CON_CFG"), "Poll_Time", "800"));
    EXPECT_TRUE(readFile("ZORVATEK.INI").contains("Poll_Time=800\r\n"));
    EXPECT_TRUE(core::PutIniText(QStringLiteral("RIG_CON_CFG"), "Poll_Time", "600"));
    EXPECT_TRUE(readFile("ZORVATEK.INI").contains("Poll_Time=600\r\n")) << "no longer only in use";
}

TEST_F(StoredNumbers, MissingKeysStayMissingAndASoundFileIsNotWritten) {
    EXPECT_FALSE(QFileInfo::exists(path("ZORVATEK.INI")));
    core::BringStoredNumbersIntoRange();
    EXPECT_FALSE(QFileInfo::exists(path("ZORVATEK.INI"))) << "a first start stays a first start";

    const QByteArray sound("[PSKCFG]\r\nRX1Freq=1000\r\nWF_LEVEL= 90\r\n");
    writeFile("ZORVATEK.INI", sound);
    ASSERT_TRUE(QFile::setPermissions(path("ZORVATEK.INI"), QFileDevice::ReadOwner));
    core::BringStoredNumbersIntoRange();
    EXPECT_EQ(readFile("ZORVATEK.INI"), sound);
    EXPECT_EQ(core::g.SettingsNotSavedShown, 0) << "nothing to write, so nothing refused";
}

} // namespace
