// Where the log tab's pickers start, what they offer and the QSL-sent mark.
#include "settings/sheet/PickerRules.h"

#include <gtest/gtest.h>

namespace {

TEST(PickerRules, StartingFolder) {
    const QString home = QStringLiteral("/home/op/zv");
    const struct {
        const char* stored;
        const char* folder;
    } rows[] = {
        {"/opt/hamlog/HAMLOGW.EXE", "/opt/hamlog"},
        {"C:\\HAMLOG\\HAMLOG.HDB", "C:/HAMLOG"},
        {"/HAMLOGW.EXE", "/"},
        {"HamLog", "/home/op/zv"}, // a missing key reads back as its section
        {"", "/home/op/zv"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.stored);
        EXPECT_EQ(settings::PickerFolder(QString::fromUtf8(r.stored), home), QString::fromUtf8(r.folder));
    }
}

TEST(PickerRules, FiltersOfferEachPatternInBothCases) {
    const struct {
        const char* filter;
        const char* dialog;
    } rows[] = {
        {"hamlog データベース(*.HDB)|*.HDB|", "hamlog データベース(*.HDB) (*.HDB *.hdb)"},
        {"HLQSL(HLQSLN.exe) or MMQSL(MMQSL.exe)|HLQSLN.exe;MMQSL.exe",
         "HLQSL(HLQSLN.exe) or MMQSL(MMQSL.exe) (HLQSLN.exe hlqsln.exe HLQSLN.EXE MMQSL.exe mmqsl.exe "
         "MMQSL.EXE)"},
        {"A|*.exe|B|*|", "A (*.exe *.EXE);;B (*)"},
        {"no patterns|", ""},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.filter);
        EXPECT_EQ(settings::DialogFilter(QString::fromUtf8(r.filter)), QString::fromUtf8(r.dialog));
    }
}

TEST(PickerRules, QslSentMarkIsTheFirstCharacterOrStar) {
    EXPECT_EQ(settings::QslSendMarkFor(QStringLiteral("#x")), QStringLiteral("#"));
    EXPECT_EQ(settings::QslSendMarkFor(QString()), QStringLiteral("*"));
    EXPECT_EQ(settings::QslSendMarkFor(QStringLiteral("済み")), QStringLiteral("済"));
}

} // namespace
