// The list files: what their lines give, what each list shows of them, and
// what an editor writes back.
#include "core/lists/ListFiles.h"
#include "platform/os/Cp932.h"

#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QRegularExpression>

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

// What an editor writes back: the lines the operator left as they were
// shown keep their bytes and line ends; a new file is Shift-JIS with CR LF.
TEST(ListFiles, AnEditKeepsTheBytesOfEveryLineLeftAsShown) {
    const QByteArray nec = QByteArray("\x87\x90", 2); // ≒ of the NEC row (81 E0 is the standard one)
    const QByteArray ibm = QByteArray("\xED\x40", 2); // an IBM extension, FA 5C in the standard row
    const QByteArray bad = QByteArray("\x81\xFF", 2); // no character at all
    const QByteArray file = "595\n579 FB " + nec + "\n\n" + ibm + " 55\r" + bad + "\r\n";
    const auto S = [](const char* utf8) { return QString::fromUtf8(utf8); };
    const QString shownIbm = cp932::decode(ibm) + S(" 55");
    const QString shownBad = cp932::decode(bad);
    const struct {
        const char* what;
        QByteArray file;
        core::ShownLine shown;
        QStringList edited;
        QByteArray bytes;
        QList<bool> kept;
    } rows[] = {
        {"left as shown",
         file,
         core::ShownReport,
         {S("595"), S("579 FB ≒"), shownIbm, shownBad},
         file,
         {true, true, true, true}},
        {"one line changed",
         file,
         core::ShownReport,
         {S("595"), S("577X"), shownIbm, shownBad},
         "595\n577X\n\n" + ibm + " 55\r" + bad + "\r\n",
         {true, false, true, true}},
        {"one typed at the end",
         file,
         core::ShownReport,
         {S("595"), S("579 FB ≒"), shownIbm, shownBad, S("≒")},
         file + "\x81\xE0\n",
         {true, true, true, true, false}},
        {"the first gone, one moved",
         file,
         core::ShownReport,
         {S("579 FB ≒"), shownBad, shownIbm},
         "579 FB " + nec + "\n\n" + bad + "\r\n" + cp932::encode(shownIbm) + "\n",
         {true, true, false}},
        {"a blank line typed takes the place of one left out",
         "599\r\n\r\n579\r\n",
         core::ShownReport,
         {S("599"), S(""), S("57")},
         "599\r\n\r\n57\r\n",
         {true, true, false}},
        {"a last line without its end",
         "599\r\n579",
         core::ShownReport,
         {S("599"), S("579"), S("559")},
         "599\r\n579\r\n559\r\n",
         {true, true, false}},
        {"a file in UTF-8",
         "\xEF\xBB\xBF" + S("ＰＳＫ\nRTTY\n").toUtf8(),
         core::ShownMode,
         {S("ＰＳＫ"), S("ＦＳＫ")},
         "\xEF\xBB\xBF" + S("ＰＳＫ\nＦＳＫ\n").toUtf8(),
         {true, false}},
        {"stock texts shown trimmed",
         "  CQ %m  \r\n\r\n   \r\nUR %r\r\n",
         core::ShownTrimmed,
         {S("CQ %m"), S("UR %r"), S(" 73")},
         "  CQ %m  \r\n\r\n   \r\nUR %r\r\n 73\r\n",
         {true, true, false}},
        // A new file, as the editor's box gives it.
        {"new",
         {},
         core::ShownReport,
         {S("599"), S("579"), S(""), S("5995")},
         "599\r\n579\r\n\r\n5995\r\n",
         {false, false, false, false}},
        {"new and empty", {}, core::ShownReport, {S("")}, "\r\n", {false}},
        {"new, full width", {}, core::ShownMode, {S("ＲＴＴＹ")}, sjis("ＲＴＴＹ\r\n"), {false}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        const core::KeptList kept = core::KeptListBytes(r.file, r.edited, r.shown);
        EXPECT_EQ(kept.bytes.toHex(' '), r.bytes.toHex(' '));
        EXPECT_EQ(kept.kept, r.kept);
    }
}

// What the lists and their editors show of a line.
TEST(ListFiles, EachListShowsItsOwnLines) {
    const QByteArray file = "  CQ %m  \r\n\r\n   \r\n 579 FB \nUR\t\r";
    const struct {
        const char* what;
        core::ShownLine shown;
        QStringList lines;
    } rows[] = {
        {"stock texts", core::ShownUnlessEmpty, {"  CQ %m  ", "   ", " 579 FB ", "UR\t"}},
        {"favourite fonts", core::ShownUnlessBlank, {"  CQ %m  ", " 579 FB ", "UR\t"}},
        {"stock texts as one text", core::ShownTrimmed, {"CQ %m", "579 FB", "UR"}},
        {"reports", core::ShownReport, {"  CQ %m", " 579 FB", "UR\t"}},
        {"modes", core::ShownMode, {"CQ %m", "579 FB", "UR\t"}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        EXPECT_EQ(core::ShownListLines(file, r.shown), r.lines);
    }
}

// Every writer of a list file, read from the code: each writes through the
// writers that keep what the operator did not change, or only creates a file
// that is missing. A writer added elsewhere fails here until it is one of them.
TEST(ListFiles, EveryWriterOfAListFileKeepsWhatWasNotChanged) {
    const QMap<QString, QString> writers = {
        {QStringLiteral("settings/sheet/CFGSHEET_lists.cpp"), QStringLiteral("StoreListBox(")},
        {QStringLiteral("sstv/qso/SSTVForm_qso_log.cpp"), QStringLiteral("StoreListBox(")},
        {QStringLiteral("sstv/overlay/SSTVMACRO.cpp"), QStringLiteral("StoreListBox(")},
        {QStringLiteral("sstv/overlay/mojiinput.cpp"), QStringLiteral("WriteListFile(")},
        {QStringLiteral("sstv/overlay/mojiinput_fonts.cpp"), QStringLiteral("WriteListFile(")},
        {QStringLiteral("sstv/overlay/SstvFonts.cpp"), QStringLiteral("WriteListFile( StoreListFile(")},
        // The list's first line, written only where the file is missing.
        {QStringLiteral("terminal/mainwindow/PSK31MAIN_start.cpp"), QStringLiteral("WriteOnly")},
        {QStringLiteral("sstv/window/SSTVForm_load.cpp"), QStringLiteral("WriteOnly")},
    };
    static const QRegularExpression listFile(QStringLiteral(
        "RSTmenu\\.DAT|RSVmenu\\.DAT|otherMODE\\.DAT|Font\\.DAT|MACmenu\\.DAT|WriteListFile\\("));
    static const QRegularExpression writes(
        QStringLiteral("replaceWhole\\(|WriteOnly|QIODevice::ReadWrite|QIODevice::Append|StoreListBox\\(|"
                       "StoreListFile\\(|WriteListFile\\("));
    static const QRegularExpression comment(QStringLiteral("//[^\n]*"));
    const QString top = QStringLiteral(ZV_SOURCE_DIR "/src/");
    QDirIterator it(top, {QStringLiteral("*.cpp")}, QDir::Files, QDirIterator::Subdirectories);
    QMap<QString, QString> found;
    while (it.hasNext()) {
        const QString file = it.next();
        const QString name = file.mid(top.size());
        if (name.startsWith(QLatin1String("core/lists/ListFiles.cpp")) ||
            name.startsWith(QLatin1String("core/lists/ListBoxes.cpp")))
            continue;
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
        const QString code = QString::fromUtf8(f.readAll()).remove(comment);
        if (!code.contains(listFile)) continue;
        QStringList kinds;
        for (auto m = writes.globalMatch(code); m.hasNext();)
            kinds << m.next().captured();
        kinds.removeDuplicates();
        if (!kinds.isEmpty()) found[name] = kinds.join(QLatin1Char(' '));
    }
    EXPECT_EQ(found, writers);
}

} // namespace
