// The RST and mode list files: what their lines give, and what an editor's
// box writes.
#include "core/ListFiles.h"
#include "platform/os/Cp932.h"

#include <gtest/gtest.h>

namespace {

QByteArray sjis(const char* utf8) {
    return cp932::encode(QString::fromUtf8(utf8));
}

TEST(ListFiles, ReportsAreTheFirstThreeCharactersOfEachLine) {
    const struct {
        const char* file;
        QStringList reports;
    } rows[] = {
        {"599\r\n579\r\n\r\n5995\r\n", {"599", "579", "599"}},
        {" 579\r\n", {"57"}}, // cut first, trimmed after
        {"   5\r\n", {}},     // the cut keeps only blanks
        {"\r\n", {}},
        {"", {}},
        {"599", {"599"}},                       // no break after the last line
        {"59\n58\r57\r\n", {"59", "58", "57"}}, // any line break
        {"５９９ＡＢ\r\n", {"５９９"}},         // characters, not bytes
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.file);
        EXPECT_EQ(core::RstMenuEntries(sjis(r.file)), r.reports);
    }
}

TEST(ListFiles, ModesAreTrimmedLinesOfAnyLength) {
    const struct {
        const char* file;
        QStringList modes;
    } rows[] = {
        {"PSK63\r\n  MFSK16  \r\n\r\nOLIVIA-8-500\r\n", {"PSK63", "MFSK16", "OLIVIA-8-500"}},
        {"   \r\n", {}},
        {"THOR\tX\r\n", {"THOR\tX"}},
        {"ＦＴ８\r\n", {"ＦＴ８"}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.file);
        EXPECT_EQ(core::OtherModeEntries(sjis(r.file)), r.modes);
    }
}

TEST(ListFiles, EditorWritesItsTextTrimmedWithCrLf) {
    const struct {
        const char* box;
        const char* file;
    } rows[] = {
        {"599\n579\n\n5995", "599\r\n579\r\n\r\n5995\r\n"},
        {"", "\r\n"}, // an empty box leaves one empty line
        {"  599\n579  ", "599\r\n579\r\n"},
        {"599\n", "599\r\n\r\n"},
        {"ＲＴＴＹ", "ＲＴＴＹ\r\n"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.box);
        EXPECT_EQ(core::ListFileBytes(QString::fromUtf8(r.box)), sjis(r.file));
    }
}

} // namespace
