// The configuration store over a real ZORVATEK.INI in a temporary program folder.
#include "core/ini/IniStore.h"
#include "core/Globals.h"
#include "core/ini/IniNames.h"
#include "core/ini/IniValues.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/os/Cp932.h"
#include "startup/AboutZORVATEK.h"
#include "support/ProgramFolder.h"
#include "support/SyntaxCheck.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <sys/stat.h>
#include <unistd.h>

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
        return core::PutIniString(core::IniKey::built(key), value);
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

    // A value is one line, whoever writes it: none of its lines becomes a section or a key.
    EXPECT_TRUE(put("E-QSL", "eQSL_Mesg", QStringLiteral("TKS\r\n[Mmtty]\nTXDelay=9\r[HamLog]\u2028X=1")));
    EXPECT_EQ(get("E-QSL", "eQSL_Mesg"), QStringLiteral("TKS [Mmtty] TXDelay=9 [HamLog] X=1"));
    EXPECT_EQ(readFile("ZORVATEK.INI").count('\n'), 4);

    // A character Shift-JIS would give back as another, whoever writes it:
    // refused, nothing written, never "?" or a backslash in its place; what the key
    // already holds stays. The store asks nothing: the box that took it says so.
    const QByteArray before = readFile("ZORVATEK.INI");
    ui::script::clearAsked();
    EXPECT_FALSE(put("PSKCFG", "Name", QStringLiteral("JA1€X")));
    EXPECT_FALSE(put("CLSTRCFG", "New", QStringLiteral("🎉")));
    EXPECT_FALSE(put("PSKCFG", "Name", QStringLiteral("PSK¥63")));
    EXPECT_EQ(readFile("ZORVATEK.INI"), before);
    EXPECT_TRUE(ui::script::asked().isEmpty());
    EXPECT_EQ(get("PSKCFG", "Name"), QStringLiteral("鈴木"));
    // One of the same look is stored as the file holds it, and counts as typed.
    EXPECT_TRUE(put("PSKCFG", "Name", QStringLiteral("よろしく〜")));
    EXPECT_EQ(get("PSKCFG", "Name"), QStringLiteral("よろしく～"));
}

TEST_F(IniStore, LongValuesAreNeverCut) {
    const QString longPath = QStringLiteral("/very/long/").repeated(2000) + QStringLiteral("履歴.MAC");
    ASSERT_TRUE(core::PutIniName(QStringLiteral("PSKCFG"), QStringLiteral("MacroFile"), longPath));
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

TEST_F(IniStore, AFailedWriteIsReportedAndTheValueHoldsForTheRun) {
    ASSERT_TRUE(put("PSKCFG", "CallSign", "JA1ZZZ"));
    // A folder where ZORVATEK.INI.tmp-like names cannot be created: replace the
    // file by a folder of the same name, so no write can succeed.
    const QString ini = path("ZORVATEK.INI");
    QFile::remove(ini);
    QDir().mkdir(ini);
    EXPECT_FALSE(put("PSKCFG", "CallSign", "JA9XYZ"));
    EXPECT_EQ(get("PSKCFG", "CallSign"), QStringLiteral("JA9XYZ"))
        << "what the operator set holds for the run";
    EXPECT_TRUE(QFileInfo(ini).isDir());
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

TEST_F(IniStore, AReadOnlyFileIsKeptAndTheMessageLineSaysSoOnce) {
    writeIni("[PSKCFG]\nAudio_Center_Freq=1500\nUSERCALL=JA1ZZZ\n");
    const QByteArray before = readFile("ZORVATEK.INI");
    PSK31MAIN& main = forms::PSK31MAIN();
    forms::AboutZORVATEK();
    ASSERT_EQ(::chmod(QFile::encodeName(path("ZORVATEK.INI")).constData(), 0444), 0);

    EXPECT_FALSE(put("PSKCFG", "USERCALL", "JA9XYZ"));
    EXPECT_EQ(readFile("ZORVATEK.INI"), before);
    EXPECT_EQ(main.Text3->text(), core::kSettingsNotSaved);
    EXPECT_FALSE(main.Text3->isHidden());

    main.Text3->clear();
    EXPECT_FALSE(put("PSKCFG", "RX1Freq", "1000"));
    {
        core::IniBatch batch;
        put("PSKCFG", "TX1Freq", "1000");
    }
    EXPECT_EQ(main.Text3->text(), QString()) << "said once, not for every setting";
    EXPECT_EQ(readFile("ZORVATEK.INI"), before);
    EXPECT_EQ(QFileInfo(path("ZORVATEK.INI")).permissions() & QFileDevice::WriteOwner, 0);

    // What was refused still holds for the run; writing it back unchanged
    // (a window closed without a change) says nothing more.
    EXPECT_EQ(get("PSKCFG", "USERCALL"), QStringLiteral("JA9XYZ"));
    EXPECT_EQ(get("PSKCFG", "TX1Freq"), QStringLiteral("1000"));
    EXPECT_TRUE(put("PSKCFG", "USERCALL", "JA9XYZ"));

    // Writable again: the next write saves everything held, and the next
    // refusal is said again.
    ASSERT_EQ(::chmod(QFile::encodeName(path("ZORVATEK.INI")).constData(), 0644), 0);
    EXPECT_TRUE(put("PSKCFG", "NAME", "Taro"));
    EXPECT_EQ(readFile("ZORVATEK.INI"),
              QByteArray("[PSKCFG]\r\nAudio_Center_Freq=1500\r\nUSERCALL=JA9XYZ\r\nRX1Freq=1000\r\n"
                         "TX1Freq=1000\r\nNAME=Taro\r\n"));
    ASSERT_EQ(::chmod(QFile::encodeName(path("ZORVATEK.INI")).constData(), 0444), 0);
    EXPECT_FALSE(put("PSKCFG", "USERCALL", "JA1AAA"));
    EXPECT_EQ(main.Text3->text(), core::kSettingsNotSaved);
    EXPECT_TRUE(readFile("ZORVATEK.INI").contains("USERCALL=JA9XYZ\r\n"));
}

TEST_F(IniStore, ARefusedWriteWithoutItsWindowLoadsNone) {
    writeIni("[PSKCFG]\nAudio_Center_Freq=1500\n");
    ASSERT_EQ(::chmod(QFile::encodeName(path("ZORVATEK.INI")).constData(), 0444), 0);
    EXPECT_FALSE(put("PSKCFG", "USERCALL", "JA9XYZ"));
    EXPECT_FALSE(forms::isLoaded<PSK31MAIN>());
    EXPECT_EQ(g.SettingsNotSavedShown, 0) << "not said yet: the first write with the window there says it";
}

TEST_F(IniStore, ThroughASymbolicLinkTheTargetChangesAndTheLinkStays) {
    writeFile("elsewhere.ini", "[PSKCFG]\r\nUSERCALL=JA1ZZZ\r\n");
    ASSERT_EQ(::symlink("elsewhere.ini", QFile::encodeName(path("ZORVATEK.INI")).constData()), 0);
    EXPECT_TRUE(put("PSKCFG", "USERCALL", "JA9XYZ"));
    EXPECT_TRUE(QFileInfo(path("ZORVATEK.INI")).isSymLink());
    EXPECT_EQ(readFile("elsewhere.ini"), QByteArray("[PSKCFG]\r\nUSERCALL=JA9XYZ\r\n"));
}

TEST_F(IniStore, ABatchReadsTheFileOnceAndWritesItOnce) {
    writeIni("[PSKCFG]\nA=1\nB=2\n");
    {
        core::IniBatch outer;
        EXPECT_EQ(get("PSKCFG", "A"), QStringLiteral("1"));
        // Changed behind the batch's back: the batch keeps what it read.
        writeIni("[PSKCFG]\nA=1\nB=2\nC=3\n");
        EXPECT_EQ(get("PSKCFG", "C"), QStringLiteral("PSKCFG"));
        {
            core::IniBatch inner;
            EXPECT_TRUE(put("PSKCFG", "A", "10"));
            EXPECT_TRUE(put("Other", "D", "4"));
        }
        EXPECT_EQ(get("PSKCFG", "A"), QStringLiteral("10")) << "what was written reads back at once";
        EXPECT_EQ(readFile("ZORVATEK.INI"), QByteArray("[PSKCFG]\r\nA=1\r\nB=2\r\nC=3\r\n"))
            << "nothing is written before the outer batch closes";
    }
    // The edits go onto the file as it is now: another program's key stays.
    EXPECT_EQ(readFile("ZORVATEK.INI"), QByteArray("[PSKCFG]\r\nA=10\r\nB=2\r\nC=3\r\n[Other]\r\nD=4\r\n"));
    EXPECT_EQ(get("PSKCFG", "C"), QStringLiteral("3")) << "after the batch, reads go to the file again";
}

TEST_F(IniStore, ABatchWithNothingToChangeLeavesTheFileAlone) {
    writeIni("[PSKCFG]\nA = 1\n");
    auto inode = [&] {
        struct stat st {};
        ::stat(QFile::encodeName(path("ZORVATEK.INI")).constData(), &st);
        return st.st_ino;
    };
    const ino_t before = inode();
    {
        core::IniBatch batch;
        put("PSKCFG", "A", "1");
    }
    EXPECT_EQ(readFile("ZORVATEK.INI"), QByteArray("[PSKCFG]\r\nA = 1\r\n"));
    EXPECT_EQ(inode(), before) << "not replaced";
}

TEST_F(IniStore, NewInsideABatchDeletesAndStartsAfresh) {
    writeIni("[PSKCFG]\nA=1\n");
    {
        core::IniBatch batch;
        put("PSKCFG", "B", "2");
        put("PSKCFG", "NEW", "");
        EXPECT_FALSE(iniExists());
        EXPECT_EQ(get("PSKCFG", "A"), QStringLiteral("PSKCFG"));
        put("PSKCFG", "C", "3");
    }
    EXPECT_EQ(readFile("ZORVATEK.INI"), QByteArray("[PSKCFG]\r\nC=3\r\n"));
}

} // namespace

// Every key that holds a name, each a row: a look-alike would name another
// file, folder or font; the very name is kept.
// clang-format off
constexpr const char* kNameRows[][2] = {
    {"PSKCFG", "RCVDFOL"}, {"PSKCFG", "RecFOL"}, {"PSKCFG", "RecFname"}, {"PSKCFG", "MacroFile"},
    {"PSKCFG", "RCVFNAME"}, {"PSKCFG", "TXFNAME"}, {"PSKCFG", "MLTRCVFNAME"}, {"HamLog", "HAMLOGPOS"},
    {"HamLog", "HAMLOGexePOS"}, {"HamLog", "HLQSL"}, {"HamLog", "MMQSL"}, {"HamLog", "HLJCA"},
    {"E-QSL", "ComQSOBank"}, {"E-QSL", "eQSLFOL"}, {"E-QSL", "eQSLQFOL"}, {"E-LOG", "eLOGFOL"},
    {"Other_App", "Other_App1_pos"}, {"Other_App", "Other_App2_pos"}, {"BMP_POS", "TXbmpFol"},
    {"BMP_POS", "History"}, {"BMP_POS", "RcvDat"}, {"FontCFG", "FntNAME"}, {"WAVPOS", "WAVFPOS"},
    {"RIG_CON_CFG", "RIGCOMCONT"},
};
// clang-format on

TEST_F(IniStore, EveryNameKeyKeepsOnlyANameThatComesBackAsItself) {
    ASSERT_EQ(core::NameKeys().size(), std::size(kNameRows));
    for (const auto& [section, key] : kNameRows) {
        EXPECT_TRUE(core::IsNameKey(section, key)) << key;
        for (const QString& other :
             {QStringLiteral("/h/d〜"), QStringLiteral("/h/d−"), QStringLiteral("/h/dé"),
              QStringLiteral("/h/d¥"), QStringLiteral("Z‖Serif")})
            EXPECT_FALSE(core::PutIniName(section, key, other)) << key << " " << other.toStdString();
        EXPECT_EQ(get(section, key), QString::fromLatin1(section)) << key;
        EXPECT_TRUE(core::PutIniName(section, key, QStringLiteral("/h/d～"))) << key;
        EXPECT_EQ(get(section, key), QStringLiteral("/h/d～")) << key;
        // Written around the name writer, the store still keeps no look-alike,
        // nor any name: a key built as the program runs is refused there.
        EXPECT_FALSE(put(section, key, QStringLiteral("/h/d〜"))) << key;
        EXPECT_FALSE(put(section, key, QStringLiteral("/h/e"))) << key;
        EXPECT_FALSE(core::PutIniText(QString::fromLatin1(section),
                                      core::IniKey::built(QString::fromLatin1(key)), QStringLiteral("/h/e")))
            << key;
        EXPECT_EQ(get(section, key), QStringLiteral("/h/d～")) << key;
    }
    // A text takes the look-alike as the same text.
    EXPECT_TRUE(put("PSKCFG", "USERCALL", QStringLiteral("JA1〜")));
    EXPECT_EQ(get("PSKCFG", "USERCALL"), QStringLiteral("JA1～"));
    // A file in UTF-8 gives every name back.
    writeFile("ZORVATEK.INI", "\xEF\xBB\xBF[BMP_POS]\r\n");
    EXPECT_TRUE(core::PutIniName("BMP_POS", "History", QStringLiteral("/h/d〜é¥")));
    EXPECT_EQ(get("BMP_POS", "History"), QStringLiteral("/h/d〜é¥"));
}

namespace {

// Comments out, strings kept.
QString codeOf(const QString& text) {
    static const QRegularExpression comment(QStringLiteral(R"(//[^\n]*|/\*.*?\*/)"),
                                            QRegularExpression::DotMatchesEverythingOption);
    return QString(text).remove(comment);
}

// The text from an opening bracket at `at` to its closing one, both included.
QString bracketed(const QString& code, qsizetype at) {
    const QChar open = code[at];
    const QChar close = open == QLatin1Char('(') ? QLatin1Char(')') : QLatin1Char('}');
    int depth = 0;
    for (qsizetype i = at; i < code.size(); ++i) {
        // A string or a character literal is skipped whole ('"' opens no
        // string); a digit separator (120'000) opens no literal.
        if (const QChar quote = code[i];
            quote == QLatin1Char('"') ||
            (quote == QLatin1Char('\'') && (i == 0 || !code[i - 1].isLetterOrNumber()))) {
            while (++i < code.size() && code[i] != quote)
                if (code[i] == QLatin1Char('\\')) ++i;
            continue;
        }
        if (code[i] == open) ++depth;
        if (code[i] == close && --depth == 0) return code.mid(at, i - at + 1);
    }
    return code.mid(at);
}

// What the compiler cannot see of a name key written around the name writer:
// a key built as the program runs (IniKey::built) from a name key's text,
// written there, held in a named constant (of any file), or handed through a
// wrapper (a lambda or a function whose parameter reaches a built key, or
// another such wrapper) called with one. One line for each, naming the file.
QStringList namesBuiltAroundTheNameWriter(const QMap<QString, QString>& files) {
    QStringList keys;
    for (const auto& [section, key] : kNameRows)
        keys << QRegularExpression::escape(QString::fromLatin1(key))
                    .replace(QRegularExpression(QStringLiteral("\\d")), QStringLiteral("(?:\\d|%\\d+)"));
    const QString nameText = QStringLiteral("\"(?:") + keys.join(QLatin1Char('|')) + QStringLiteral(")\"");
    const QRegularExpression literal(nameText, QRegularExpression::CaseInsensitiveOption);
    // Named constants: a variable, an array or a macro spelling a name key.
    const QRegularExpression constant(
        QStringLiteral(
            R"((?:#\s*define\s+(\w+)\s+|\b(\w+)\s*(?:\[\s*\])?\s*(?:=|\{)\s*)(?:\w+(?:::\w+)*\s*\(\s*)?)") +
            nameText,
        QRegularExpression::CaseInsensitiveOption);
    QStringList constants;
    QMap<QString, QString> code;
    for (auto it = files.begin(); it != files.end(); ++it) {
        code[it.key()] = codeOf(it.value());
        for (auto m = constant.globalMatch(code[it.key()]); m.hasNext();) {
            const auto c = m.next();
            constants << (c.captured(1).isEmpty() ? c.captured(2) : c.captured(1));
        }
    }
    auto names = [&](const QString& text) {
        if (text.contains(literal)) return true;
        for (const QString& c : constants)
            if (text.contains(QRegularExpression(QStringLiteral("\\b") + c + QStringLiteral("\\b"))))
                return true;
        return false;
    };
    // Wrappers: a lambda or a function one of whose parameters reaches a built
    // key or another wrapper's call; found again until none is new.
    static const QRegularExpression definition(QStringLiteral(
        R"(\b(\w+)\s*(?:=\s*\[[^\]]*\]\s*)?(\([^()]*\))\s*(?:const\s*)?(?:->\s*[\w:<>]+\s*)?\{)"));
    static const QRegularExpression keywords(QStringLiteral("^(?:if|for|while|switch|catch|return)$"));
    QStringList wrappers{QStringLiteral("built")};
    for (bool grown = true; grown;) {
        grown = false;
        for (const QString& text : code)
            for (auto m = definition.globalMatch(text); m.hasNext();) {
                const auto d = m.next();
                const QString name = d.captured(1);
                if (wrappers.contains(name) || name.contains(keywords)) continue;
                QStringList params;
                for (const QString& p :
                     d.captured(2).mid(1, d.captured(2).size() - 2).split(QLatin1Char(',')))
                    if (const auto last =
                            QRegularExpression(QStringLiteral(R"((\w+)\s*(?:=[^,]*)?$)")).match(p.trimmed());
                        last.hasMatch())
                        params << last.captured(1);
                const QString body = bracketed(text, d.capturedEnd() - 1);
                for (const QString& w : wrappers)
                    for (auto call = QRegularExpression(QStringLiteral("\\b") + w + QStringLiteral("\\s*\\("))
                                         .globalMatch(body);
                         call.hasNext();) {
                        const QString args = bracketed(body, call.next().capturedEnd() - 1);
                        for (const QString& p : params)
                            if (!grown && args.contains(QRegularExpression(QStringLiteral("\\b") + p +
                                                                           QStringLiteral("\\b")))) {
                                wrappers << name;
                                grown = true;
                            }
                    }
            }
    }
    QStringList faults;
    for (auto it = code.begin(); it != code.end(); ++it)
        for (const QString& w : wrappers)
            for (auto call = QRegularExpression(QStringLiteral("\\b") + w + QStringLiteral("\\s*\\("))
                                 .globalMatch(it.value());
                 call.hasNext();) {
                const QString args = bracketed(it.value(), call.next().capturedEnd() - 1);
                if (names(args)) faults << it.key() + QStringLiteral(": ") + w + args;
            }
    return faults;
}

} // namespace

// Over the code: no name key is written by the text writer, no write of a
// folder, file, path or font name goes around the name writer, and each key
// of the list is written by it somewhere.
TEST(IniNamesInCode, EveryNameGoesThroughTheNameWriter) {
    static const QRegularExpression writer(
        QStringLiteral(R"(\b(PutIniText|PutIniString|PutIniNumber|putIni|putAll|store)\s*\()"));
    static const QRegularExpression nameLike(
        QStringLiteral(R"(Folder|FOL\b|Fol\b|[Ff]ile|[Pp]ath|[Ff]older|family|FontName|Fname|FNAME)"));
    static const QRegularExpression comment(QStringLiteral("//[^\n]*"));
    // Every source but the store's and the name list's own, read once.
    QMap<QString, QString> sources;
    QDirIterator all(QStringLiteral(ZV_SOURCE_DIR "/src"), {QStringLiteral("*.cpp"), QStringLiteral("*.h")},
                     QDir::Files, QDirIterator::Subdirectories);
    while (all.hasNext()) {
        const QString file = all.next();
        if (file.contains(QLatin1String("/core/ini/IniNames.")) ||
            file.endsWith(QLatin1String("core/ini/IniKey.h")) ||
            file.endsWith(QLatin1String("core/ini/IniStore.cpp")))
            continue;
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << file.toStdString();
        sources[file] = QString::fromUtf8(f.readAll());
    }
    QStringList unwritten;
    for (const auto& [section, key] : kNameRows)
        unwritten << QString::fromLatin1(key).replace(QRegularExpression(QStringLiteral("\\d")),
                                                      QStringLiteral("%1"));
    int files = 0;
    for (auto it = sources.cbegin(); it != sources.cend(); ++it) {
        if (!it.key().endsWith(QLatin1String(".cpp"))) continue;
        const std::string file = it.key().toStdString();
        const QString code = QString(it.value()).remove(comment);
        ++files;
        for (auto m = writer.globalMatch(code); m.hasNext();) {
            const auto call = m.next();
            const QString statement =
                code.mid(call.capturedStart(), code.indexOf(';', call.capturedEnd()) - call.capturedStart());
            EXPECT_FALSE(statement.contains(nameLike)) << file << ": " << statement.toStdString();
            for (const auto& [section, key] : kNameRows)
                EXPECT_FALSE(statement.contains(QLatin1Char('"') + QLatin1String(key) + QLatin1Char('"')))
                    << file << ": " << statement.toStdString();
        }
        if (code.contains(QLatin1String("PutIniName(")) || code.contains(QLatin1String("RememberFolder(")))
            unwritten.removeIf(
                [&](const QString& key) { return code.contains(QLatin1Char('"') + key + QLatin1Char('"')); });
    }
    EXPECT_GT(files, 300);
    EXPECT_TRUE(unwritten.isEmpty()) << unwritten.join(QLatin1Char(' ')).toStdString();

    // What the compiler cannot see: no key built as the program runs names a name.
    const QStringList around = namesBuiltAroundTheNameWriter(sources);
    EXPECT_TRUE(around.isEmpty()) << around.join(QLatin1Char('\n')).toStdString();
}

// The check over the code for what the compiler cannot see, over samples: a
// name key's text reaching a key built at run time directly, through a named
// constant (of this file or another), a macro, or a wrapper (a lambda, a
// function, a wrapper of a wrapper) is found; a built key of another text, a
// read of a name key and the name writer's own call pass.
TEST(IniNamesInCode, AKeyBuiltFromANameIsFoundHoweverItGetsThere) {
    struct Case {
        const char* code;
        const char* other;
        bool found;
    } cases[] = {
        {"void f(const QString& v) { core::PutIniText(kCfg, "
         "core::IniKey::built(QStringLiteral(\"RCVDFOL\")), v); }",
         "", true},
        {"void f(const QString& v, int n) {\n    core::PutIniText(kOther,\n"
         "        core::IniKey::built(QStringLiteral(\"Other_App%1_pos\").arg(n)), v);\n}",
         "", true},
        {"const QString kKey = QStringLiteral(\"RecFOL\");\n"
         "void f(const QString& v) { core::PutIniText(kCfg, core::IniKey::built(kKey), v); }",
         "", true},
        {"void f(const QString& v) { core::PutIniText(kHamLog, core::IniKey::built(kLogKey), v); }",
         "inline const QString kLogKey = QStringLiteral(\"HAMLOGPOS\");", true},
        {"#define KEY \"TXbmpFol\"\nvoid f(const QString& v) { "
         "core::PutIniText(kBmp, core::IniKey::built(QString::fromLatin1(KEY)), v); }",
         "", true},
        {"void f(const QString& v) {\n    auto put = [](const char* k, const QString& x) {\n"
         "        core::PutIniText(kCfg, core::IniKey::built(QString::fromLatin1(k)), x);\n    };\n"
         "    put(\"MacroFile\", v);\n}",
         "", true},
        {"void put(const QString& key, const QString& v) { core::PutIniText(kEqsl, core::IniKey::built(key), "
         "v); }",
         "void g() { put(QStringLiteral(\"eQSLFOL\"), QString()); }", true},
        {"void put(const QString& key, const QString& v) { core::PutIniText(kCfg, core::IniKey::built(key), "
         "v); }\n"
         "void putTwice(const QString& k, const QString& v) { put(k, v); put(k, v); }\n"
         "void g() { putTwice(QStringLiteral(\"WAVFPOS\"), QString()); }",
         "", true},
        {"void f(int k, const QString& v) { core::PutIniText(kCfg, "
         "core::IniKey::built(QStringLiteral(\"SW%1\").arg(k)), "
         "v); }",
         "", false},
        {"QString f() { return core::IniStored(kCfg, QStringLiteral(\"RCVDFOL\")).value_or(QString()); }", "",
         false},
        {"const QString kKey = QStringLiteral(\"RecFOL\");\n"
         "void f(const QString& v) { core::PutIniName(kCfg, kKey, v); }",
         "", false},
        {"void put(const QString& key, const QString& v) { core::PutIniText(kCfg, core::IniKey::built(key), "
         "v); }\n"
         "void g() { put(QStringLiteral(\"MACRO1\"), QString()); }",
         "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        QMap<QString, QString> files{{QStringLiteral("src/a/A.cpp"), QString::fromUtf8(c.code)}};
        if (*c.other) files[QStringLiteral("src/b/B.h")] = QString::fromUtf8(c.other);
        const QStringList found = namesBuiltAroundTheNameWriter(files);
        EXPECT_EQ(!found.isEmpty(), c.found) << found.join(QLatin1Char('\n')).toStdString();
    }
}

// The compiler keeps the name writer the only writer of a name key: a text
// writer's key naming one, in any letter case, written in place, held in a
// constant or a pointer, or handed to a wrapper, does not compile, nor does
// a write around both writers; other keys, and keys built as the program
// runs, do.
TEST(IniNamesInCode, ATextWriterOfANameKeyDoesNotCompile) {
    struct Case {
        const char* code;
        bool compiles;
    } cases[] = {
        {"put(kSection, \"RCVDFOL\", x);", false},
        {"put(kSection, \"rcvdfol\", x);", false},
        {"constexpr char kKey[] = \"HAMLOGPOS\";\nput(kSection, kKey, x);", false},
        {"const QString kKey = QStringLiteral(\"MacroFile\");\nput(kSection, kKey, x);", false},
        {"auto w = [](const core::IniKey& k) { put(kSection, k, {}); };\nw(\"TXbmpFol\");", false},
        {"const char* k = \"WAVFPOS\";\nput(kSection, k, x);", false},
        {"put(kSection, QStringLiteral(\"FntNAME\"), x);", false},
        {"core::PutIniString(\"HAMLOGexePOS\", x);", false},
        {"core::IniWriter::write(QStringLiteral(\"RCVDFOL\"), x);", false},
        {"put(kSection, \"RX1Freq\", x);", true},
        {"auto w = [](const core::IniKey& k) { put(kSection, k, {}); };\nw(\"HistoryNum\");", true},
        {"put(kSection, core::IniKey::built(QStringLiteral(\"SW%1\").arg(3)), x);", true},
    };
    // One translation unit, each case a function of its own: the compiler
    // names the function of every error, and the whole check is one compile.
    QTemporaryDir dir;
    QFile f(dir.filePath(QStringLiteral("a.cpp")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("#include \"core/ini/IniStore.h\"\nconst QString kSection;\n"
            "bool put(const QString&, const core::IniKey&, const QString&);\n");
    for (std::size_t i = 0; i < std::size(cases); ++i)
        f.write(QStringLiteral("void f%1(const QString& x) {\n%2\n}\n")
                    .arg(QString::number(i), QString::fromUtf8(cases[i].code))
                    .toUtf8());
    f.close();
    const zvtest::SyntaxCheck compiled = zvtest::checkSyntax(f.fileName());
    // Well inside the test run's own limit: a compile that hangs is said here.
    ASSERT_TRUE(compiled.finished);
    // What the compiler said about each function, from its "In function" line to the next.
    const QString& said = compiled.said;
    static const QRegularExpression inFunction(QStringLiteral(R"(In function .void f(\d+)\()"));
    QMap<int, QString> about;
    int at = -1;
    for (const QString& line : said.split(QLatin1Char('\n'))) {
        if (const QRegularExpressionMatch m = inFunction.match(line); m.hasMatch())
            at = m.captured(1).toInt();
        if (at >= 0) about[at] += line + QLatin1Char('\n');
    }
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].code);
        const QString& error = about[int(i)];
        EXPECT_EQ(error.isEmpty(), cases[i].compiles) << said.toStdString();
        if (!cases[i].compiles) {
            EXPECT_TRUE(error.contains(QStringLiteral("aNameKeyIsWrittenByPutIniNameAlone")) ||
                        error.contains(QStringLiteral("could not convert")) ||
                        error.contains(QStringLiteral("not a constant expression")) ||
                        error.contains(QStringLiteral("no matching function")) ||
                        error.contains(QStringLiteral("is private")) ||
                        error.contains(QStringLiteral("invalid initialization")))
                << error.toStdString();
        }
    }
}
