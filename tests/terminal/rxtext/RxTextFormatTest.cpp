// Paths, dialog filters and the bytes of received-text and memo files.
#include "terminal/rxtext/RxTextFormat.h"

#include "platform/Cp932.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

using namespace terminal::rxtext;

TEST(RxTextFormat, FoldersAndExtensions) {
    struct Case {
        const char* path;
        const char* folder;
        const char* withTxt;
    } cases[] = {
        {"C:\\RCV\\a.TXT", "C:\\RCV", "C:\\RCV\\a.TXT"},
        {"/home/op/rcv/0612", "/home/op/rcv", "/home/op/rcv/0612.TXT"},
        {"C:\\mixed/dir\\ZORVAT_0612312359", "C:\\mixed/dir", "C:\\mixed/dir\\ZORVAT_0612312359.TXT"},
        {"/a.b/name", "/a.b", "/a.b/name.TXT"},
        {"/x/name.log", "/x", "/x/name.log"},
        {"bare", "", "bare.TXT"},
        {"/root-file", "", "/root-file.TXT"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(folderOf(QString::fromUtf8(c.path)), QString::fromUtf8(c.folder));
        EXPECT_EQ(withExtension(QString::fromUtf8(c.path), QStringLiteral(".TXT")),
                  QString::fromUtf8(c.withTxt));
    }
}

TEST(RxTextFormat, FiltersMatchNamesOfAnyCase) {
    const QString filter = anyCaseFilter(QStringLiteral("受信ﾃﾞｰﾀ (*.TXT);;受信ﾃﾞｰﾀ (*.LOG)"));
    EXPECT_EQ(filter, QStringLiteral("受信ﾃﾞｰﾀ (*.[Tt][Xx][Tt]);;受信ﾃﾞｰﾀ (*.[Ll][Oo][Gg])"));
    const QString first = filter.section(QLatin1Char('('), 1).section(QLatin1Char(')'), 0, 0);
    const QRegularExpression re(QRegularExpression::wildcardToRegularExpression(first));
    struct Case {
        const char* name;
        bool match;
    } cases[] = {{"a.TXT", true}, {"a.txt", true}, {"a.Txt", true}, {"a.text", false}, {"a.LOG", false}};
    for (const Case& c : cases)
        EXPECT_EQ(re.match(QString::fromLatin1(c.name)).hasMatch(), c.match) << c.name;
    EXPECT_EQ(anyCaseFilter(QStringLiteral("再生ﾃﾞｰﾀ (*.WAV)")), QStringLiteral("再生ﾃﾞｰﾀ (*.[Ww][Aa][Vv])"));
}

TEST(RxTextFormat, FilesReadAsLinesAndWriteAsShiftJisWithCrLf) {
    struct Case {
        const char* name;
        QByteArray bytes;
        QString text;
    } cases[] = {
        {"CR LF lines", "CQ de QQ9ABC\r\nk\r\n", QStringLiteral("CQ de QQ9ABC\nk\n")},
        {"LF only", "one\ntwo", QStringLiteral("one\ntwo\n")},
        {"lone CR", "one\rtwo\r\n", QStringLiteral("one\ntwo\n")},
        {"empty", "", QString()},
        {"Japanese", cp932::encode(QStringLiteral("こんにちは\r\n")), QStringLiteral("こんにちは\n")},
        {"a cut lead byte", "ab\x82", QStringLiteral("ab\ufffd\n")},
        {"not Shift-JIS", "\xff\xfe", QStringLiteral("\ufffd\ufffd\n")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(viewerText(c.bytes), c.text);
    }
    EXPECT_EQ(fileBytes(QStringLiteral("移動\nQQ1XYZ")), cp932::encode(QStringLiteral("移動\r\nQQ1XYZ\r\n")));
    EXPECT_EQ(fileBytes(QStringLiteral("a\r\nb")), QByteArray("a\r\nb\r\n"));
    EXPECT_EQ(fileBytes(QString()), QByteArray("\r\n"));
}

} // namespace
