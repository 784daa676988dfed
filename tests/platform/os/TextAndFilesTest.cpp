// Shift-JIS conversion, profile files and paths, on real files.
#include "platform/os/Cp932.h"
#include "platform/os/Paths.h"
#include "platform/profile/ProfileFile.h"
#include "platform/profile/ProfileParse.h"
#include "support/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <optional>
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

// What a Shift-JIS file gives back: the same character; one of the same look
// under another code point (carried: stored in that form, but in the name of
// a file it names another file); or another one, which is named so that the
// writer refuses it.
TEST(Cp932, ACharacterComesBackAsTypedOrIsNamed) {
    const struct {
        const char* what;
        QString typed, back, named;
        QString namedInName = named;
    } cases[] = {
        {"Japanese, kana, circled digit",
         QStringLiteral("こんにちは ｱｲｳ ①"),
         QStringLiteral("こんにちは ｱｲｳ ①"),
         {}},
        {"wave dash", QStringLiteral("よろしく〜"), QStringLiteral("よろしく～"), {}, QStringLiteral("〜")},
        {"minus, double bar, dash",
         QStringLiteral("M−1 ‖ —"),
         QStringLiteral("M－1 ∥ ―"),
         {},
         QStringLiteral("−‖—")},
        {"cent, pound, not", QStringLiteral("¢£¬"), QStringLiteral("￠￡￢"), {}, QStringLiteral("¢£¬")},
        {"yen and overline come back as others", QStringLiteral("PSK¥63 ‾"), QStringLiteral("PSK\\63 ~"),
         QStringLiteral("¥‾")},
        {"lacking ones, each named once", QStringLiteral("€ José € 🎉"), QStringLiteral("? Jos? ? ?"),
         QStringLiteral("€é🎉")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(cp932::readBack(c.typed), c.back);
        EXPECT_EQ(cp932::uncarried(c.typed), c.named);
        EXPECT_EQ(cp932::uncarriedInName(c.typed), c.namedInName);
    }
    // Bytes that stand for no character are named as the decoder reads them.
    EXPECT_EQ(cp932::undecodable(QByteArray("A\xFD\x81\x20\x82\xA0\xFD")), QStringLiteral("FD 81"));
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

// Bytes of a file as the operator may bring it: Shift-JIS, UTF-8 with its
// byte-order mark, or UTF-16LE with its byte-order mark (Notepad's "Unicode").
QByteArray sj(const QString& text) {
    return cp932::encode(text);
}
QByteArray utf8Bom(const QString& text) {
    return "\xEF\xBB\xBF" + text.toUtf8();
}
QByteArray utf16Bom(const QString& text) {
    QByteArray bytes("\xFF\xFE");
    for (const QChar c : text) {
        bytes += static_cast<char>(c.unicode() & 0xFF);
        bytes += static_cast<char>(c.unicode() >> 8);
    }
    return bytes;
}
QByteArray utf16BeBom(const QString& text) {
    QByteArray bytes("\xFE\xFF");
    for (const QChar c : text) {
        bytes += static_cast<char>(c.unicode() >> 8);
        bytes += static_cast<char>(c.unicode() & 0xFF);
    }
    return bytes;
}

// Lines that no Shift-JIS round trip leaves as they are: a value cut in the
// middle of a double-byte character, a Latin-1 "é", and "≒" in its second
// (NEC) code, which an encoder writes back in its first.
const QByteArray kOddLines = "Cut=\x8E\x52\x93\r\n"
                             "Cafe=Caf\xE9 au lait\r\n"
                             "Sym=\x87\x90\r\n";
const QByteArray kUtf8Bom = "\xEF\xBB\xBF";
const QString kIdeoSpace = QStringLiteral("\u3000");

enum class Call { Read, Write };

struct ProfileCase {
    const char* what;
    std::optional<QByteArray> before; // nothing: no file
    Call call;
    QString section, key, value;     // value: what a write writes
    QString expected;                // what the read gives; after a write, what reading the key gives
    std::optional<QByteArray> after; // nothing: the file as it was before (or still no file)
};

const QString kDefault = QStringLiteral("<default>");

const ProfileCase kProfileCases[] = {
    // Reads.
    {"LF-only file", "[S]\nCall=JA1ZZZ\n", Call::Read, "S", "Call", {}, "JA1ZZZ", {}},
    {"names ignore case", "[PSKCFG]\r\nCall=JA1ZZZ\r\n", Call::Read, "pskcfg", "CALL", {}, "JA1ZZZ", {}},
    {"missing key", "[S]\r\nCall=JA1ZZZ\r\n", Call::Read, "S", "Name", {}, kDefault, {}},
    {"missing section", "[S]\r\nCall=JA1ZZZ\r\n", Call::Read, "T", "Call", {}, kDefault, {}},
    {"missing file", std::nullopt, Call::Read, "S", "Call", {}, kDefault, {}},
    {"blanks and tabs trimmed", sj("[S]\r\nName = \t山田\t \r\n"), Call::Read, "S", "Name", {}, "山田", {}},
    {"full-width space kept",
     sj("[S]\r\nK=\u3000山田\u3000\r\n"),
     Call::Read,
     "S",
     "K",
     {},
     "\u3000山田\u3000",
     {}},
    {"double quotes dropped", "[S]\r\nQ=\"  padded  \"\r\n", Call::Read, "S", "Q", {}, "  padded  ", {}},
    {"single quotes dropped", "[S]\r\nQ='abc'\r\n", Call::Read, "S", "Q", {}, "abc", {}},
    {"one pair only", "[S]\r\nQ=\"\"abc\"\"\r\n", Call::Read, "S", "Q", {}, "\"abc\"", {}},
    {"unmatched quotes kept", "[S]\r\nQ='abc\"\r\n", Call::Read, "S", "Q", {}, "'abc\"", {}},
    {"UTF-16LE read", utf16Bom("[S]\r\nName=山田\r\n"), Call::Read, "S", "Name", {}, "山田", {}},
    {"UTF-8 mark before the first section", kUtf8Bom + "[S]\r\nK=v\r\n", Call::Read, "S", "K", {}, "v", {}},
    {"UTF-8 with its mark", utf8Bom("[S]\r\nName=山田\r\n"), Call::Read, "S", "Name", {}, "山田", {}},
    {"first of two blocks", "[A]\r\nX=1\r\n[B]\r\n[a]\r\nX=9\r\nZ=3\r\n", Call::Read, "A", "X", {}, "1", {}},
    {"second block is not the section",
     "[A]\r\nX=1\r\n[a]\r\nZ=3\r\n",
     Call::Read,
     "A",
     "Z",
     {},
     kDefault,
     {}},
    {"\"]\" as a trail byte", sj("[ゾーン]\r\nK=v\r\n"), Call::Read, "ゾーン", "K", {}, "v", {}},
    {"odd bytes elsewhere", "[S]\r\n" + kOddLines + "K=v\r\n", Call::Read, "S", "K", {}, "v", {}},

    // Writes.
    {"new file", std::nullopt, Call::Write, "S", "K", "v", "v", QByteArray("[S]\r\nK=v\r\n")},
    {"Shift-JIS value", "[S]\r\nA=1\r\n", Call::Write, "S", "Name", "山田", "山田",
     sj("[S]\r\nA=1\r\nName=山田\r\n")},
    {"only the written line changes", "[S]\r\n" + kOddLines + "K=old\r\n", Call::Write, "S", "K", "new",
     "new", "[S]\r\n" + kOddLines + "K=new\r\n"},
    {"a new key keeps the odd lines", "[S]\r\n" + kOddLines + "[T]\r\n" + kOddLines, Call::Write, "s", "K",
     "v", "v", "[S]\r\n" + kOddLines + "K=v\r\n[T]\r\n" + kOddLines},
    {"UTF-8 mark kept", kUtf8Bom + "[S]\r\nK=old\r\n", Call::Write, "S", "K", "new", "new",
     kUtf8Bom + "[S]\r\nK=new\r\n"},
    {"UTF-8 file stays UTF-8", utf8Bom("[S]\r\nA=亜\r\n"), Call::Write, "S", "B", "山田", "山田",
     utf8Bom("[S]\r\nA=亜\r\nB=山田\r\n")},
    {"UTF-16LE file stays UTF-16LE", utf16Bom("[S]\r\nA=1\r\n"), Call::Write, "S", "B", "山田", "山田",
     utf16Bom("[S]\r\nA=1\r\nB=山田\r\n")},
    {"UTF-16LE new section", utf16Bom("[S]\r\nA=1\r\n"), Call::Write, "T", "B", "2", "2",
     utf16Bom("[S]\r\nA=1\r\n[T]\r\nB=2\r\n")},
    {"UTF-16BE file stays UTF-16BE", utf16BeBom("[S]\r\nA=値\r\n[T]\r\nC=3\r\n"), Call::Write, "S", "B",
     "山田", "山田", utf16BeBom("[S]\r\nA=値\r\nB=山田\r\n[T]\r\nC=3\r\n")},
    {"UTF-16LE odd last byte stays last", utf16Bom("[S]\r\nA=1\r\n") + QByteArray(1, '\x7f'), Call::Write,
     "S", "B", "2", "2", utf16Bom("[S]\r\nA=1\r\nB=2\r\n") + QByteArray(1, '\x7f')},
    {"full-width space written", "[S]\r\n", Call::Write, "S", "K", "\u3000値", "\u3000値",
     sj("[S]\r\nK=\u3000値\r\n")},
    {"first of two blocks written", "[A]\r\nX=1\r\n[B]\r\n[a]\r\nZ=3\r\n", Call::Write, "A", "Z", "4", "4",
     QByteArray("[A]\r\nX=1\r\nZ=4\r\n[B]\r\n[a]\r\nZ=3\r\n")},
    {"same value leaves the file", "[S]\r\nA=1\r\n", Call::Write, "S", "A", "1", "1", {}},
    {"same value as read leaves the file", "[S]\r\nA = 'x' \r\n", Call::Write, "S", "a", "x", "x", {}},
    {"same number with its blank", "[S]\r\nA= 1\r\n", Call::Write, "S", "A", " 1", "1", {}},
    {"new key at the end of its section", "[A]\r\nX=1\r\n\r\n[B]\r\n", Call::Write, "A", "Z", "3", "3",
     QByteArray("[A]\r\nX=1\r\nZ=3\r\n\r\n[B]\r\n")},
    {"new section after a last line without its end", "[A]\r\nX=1", Call::Write, "B", "Y", "2", "2",
     QByteArray("[A]\r\nX=1\r\n[B]\r\nY=2\r\n")},
    {"LF-only file keeps its line ends", "[A]\nX=1\nY=2\n", Call::Write, "A", "X", "5", "5",
     QByteArray("[A]\nX=5\nY=2\n")},
    {"LF-only file: a new key and section end as its lines", "[A]\nX=1\n", Call::Write, "B", "Y", "2", "2",
     QByteArray("[A]\nX=1\n[B]\nY=2\n")},
    {"UTF-16LE LF file: a new key ends as its lines", utf16Bom("[S]\nA=1\n"), Call::Write, "S", "B", "値",
     "値", utf16Bom("[S]\nA=1\nB=値\n")},
    {"a rewritten line keeps its own end", "[A]\r\nX=1\nY=2", Call::Write, "a", "Y", "3", "3",
     QByteArray("[A]\r\nX=1\nY=3")},
};

TEST_F(ProfileFileTest, EveryCallChangesOnlyWhatItWrites) {
    namespace fs = std::filesystem;
    const fs::file_time_type longAgo = fs::file_time_type::clock::now() - std::chrono::hours(24 * 400);
    const fs::path file = ini().toStdString();
    for (const ProfileCase& c : kProfileCases) {
        SCOPED_TRACE(c.what);
        QFile::remove(ini());
        if (c.before) {
            writeFile(QStringLiteral("TEST.INI"), *c.before);
            fs::last_write_time(file, longAgo);
        }
        if (c.call == Call::Write) {
            ASSERT_TRUE(profile::writeString(c.section, c.key, c.value, ini()));
        }
        EXPECT_EQ(profile::getString(c.section, c.key, kDefault, ini()), c.expected);

        const std::optional<QByteArray> after = c.after ? c.after : c.before;
        ASSERT_EQ(QFileInfo::exists(ini()), after.has_value());
        if (!after) continue;
        EXPECT_EQ(readFile(QStringLiteral("TEST.INI")), *after);
        if (after == c.before) {
            EXPECT_EQ(fs::last_write_time(file).time_since_epoch().count(),
                      longAgo.time_since_epoch().count())
                << "an unchanged file is not rewritten";
        }
    }
}

// Every beginning of every file above, cut anywhere (inside a line end, a
// double-byte character or a UTF-16 unit): the lines cover the bytes after the
// mark exactly once, and every name and value lies inside its line.
TEST(ProfileParse, LinesCoverEveryByteOfAnyCutFile) {
    auto within = [](profile::Span inner, profile::Span outer) {
        return outer.begin <= inner.begin && inner.begin <= inner.end && inner.end <= outer.end;
    };
    for (const ProfileCase& c : kProfileCases) {
        const QByteArray whole = c.after.value_or(c.before.value_or(QByteArray()));
        for (qsizetype cut = 0; cut <= whole.size(); ++cut) {
            const QByteArray bytes = whole.left(cut);
            const profile::Parsed parsed = profile::parse(bytes);
            qsizetype pos = parsed.bodyStart;
            for (const profile::Line& line : parsed.lines) {
                ASSERT_EQ(line.whole.begin, pos) << c.what << " cut at " << cut;
                ASSERT_TRUE(within(line.text, line.whole)) << c.what << " cut at " << cut;
                const bool named =
                    line.kind == profile::Line::Kind::Section || line.kind == profile::Line::Kind::Key;
                EXPECT_TRUE(!named || within(line.name, line.text)) << c.what << " cut at " << cut;
                EXPECT_TRUE(line.kind != profile::Line::Kind::Key || within(line.value, line.text))
                    << c.what << " cut at " << cut;
                pos = line.whole.end;
            }
            ASSERT_EQ(pos, std::max(bytes.size(), parsed.bodyStart)) << c.what << " cut at " << cut;
        }
    }
}

// The view kept for the last bytes is never taken for other bytes: not for a
// buffer changed in place to another text of the same length, nor for bytes
// read again after an edit.
TEST(ProfileParse, ReadsFromChangedBytesSeeTheChange) {
    QByteArray bytes("[S]\r\nKey=aaa\r\n");
    EXPECT_EQ(profile::stringIn(bytes, "S", "Key", "-"), QStringLiteral("aaa"));
    bytes.replace("aaa", "bbb");
    EXPECT_EQ(profile::stringIn(bytes, "S", "Key", "-"), QStringLiteral("bbb"));
    bytes.replace("Key", "Kez");
    EXPECT_EQ(profile::stringIn(bytes, "S", "Key", "-"), QStringLiteral("-"));
    const QByteArray edited = profile::edited(bytes, {"S", "Key", "ccc"});
    EXPECT_EQ(profile::stringIn(edited, "S", "Key", "-"), QStringLiteral("ccc"));
    EXPECT_EQ(profile::stringIn(bytes, "S", "Key", "-"), QStringLiteral("-"));
}

// Section and key names compare without regard to case, in every encoding,
// and a name in Japanese or with a letter that only folds to ASCII is found
// as before.
TEST(ProfileParse, NamesCompareWithoutRegardToCaseInEveryEncoding) {
    const QString text = QStringLiteral("[Pos]\r\nLogTop=1\r\n[設定]\r\n幅=2\r\n[Kelvin]\r\nk=3\r\n");
    struct Case {
        const char* section;
        QString key;
        QString expected;
    } cases[] = {
        {"POS", QStringLiteral("logtop"), QStringLiteral("1")},
        {"pos", QStringLiteral("LOGTOP"), QStringLiteral("1")},
        {"Pos", QStringLiteral("LogTo"), QStringLiteral("-")},
        {"Pos", QStringLiteral("LogTopX"), QStringLiteral("-")},
        {"設定", QStringLiteral("幅"), QStringLiteral("2")},
        {"kelvin", QStringLiteral("\u212A"), QStringLiteral("3")},
    };
    for (const auto encoding : {profile::Encoding::ShiftJis, profile::Encoding::Utf8}) {
        const QByteArray bytes =
            (encoding == profile::Encoding::Utf8 ? QByteArray("\xEF\xBB\xBF") : QByteArray()) +
            profile::encode(text, encoding);
        for (const Case& c : cases)
            EXPECT_EQ(profile::stringIn(bytes, QString::fromUtf8(c.section), c.key, QStringLiteral("-")),
                      c.expected)
                << c.section << "/" << c.key.toStdString() << " encoding " << static_cast<int>(encoding);
    }
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
