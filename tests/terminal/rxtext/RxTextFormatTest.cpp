// Paths, dialog filters and the bytes of received-text and memo files.
#include "terminal/rxtext/RxTextFormat.h"

#include "platform/forms/dialogs/Dialogs.h"
#include "platform/os/Cp932.h"
#include "support/ProgramFolder.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QSignalSpy>
#include <QTemporaryDir>
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

// The file dialogs show a filter as written and list names of either case.
TEST(RxTextFormat, DialogFiltersReadAsWrittenAndMatchNamesOfAnyCase) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char* name : {"a.txt", "B.TXT", "c.Txt", "d.log", "e.text"}) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    QFileDialog dialog(nullptr, QStringLiteral("受信ﾃﾞｰﾀ閲覧"), dir.path(),
                       QStringLiteral("受信ﾃﾞｰﾀ (*.TXT)"));
    dialog.setOptions(QFileDialog::Options(ui::fileDialogOptions()));
    auto* model = dialog.findChild<QFileSystemModel*>();
    ASSERT_NE(model, nullptr);
    QSignalSpy loaded(model, &QFileSystemModel::directoryLoaded);
    dialog.show();
    ASSERT_TRUE(loaded.count() > 0 || loaded.wait(zvtest::kSafetyNetMsecs));
    const QModelIndex root = model->index(dir.path());
    ASSERT_TRUE(zvtest::waitUntil([&] { return model->rowCount(root) > 0; }));
    QStringList listed;
    for (int r = 0; r < model->rowCount(root); ++r)
        listed << model->index(r, 0, root).data().toString();
    listed.sort();
    EXPECT_EQ(listed, (QStringList{"B.TXT", "a.txt", "c.Txt"}));
    EXPECT_EQ(dialog.selectedNameFilter(), QStringLiteral("受信ﾃﾞｰﾀ (*.TXT)"));
}

TEST(RxTextFormat, FilesReadAsLinesAndWriteAsShiftJisWithCrLf) {
    struct Case {
        const char* name;
        QByteArray bytes;
        std::optional<QString> text;
    } cases[] = {
        {"CR LF lines", "CQ de QQ9ABC\r\nk\r\n", QStringLiteral("CQ de QQ9ABC\nk\n")},
        {"LF only", "one\ntwo", QStringLiteral("one\ntwo\n")},
        {"lone CR", "one\rtwo\r\n", QStringLiteral("one\ntwo\n")},
        {"empty", "", QString()},
        {"Japanese", cp932::encode(QStringLiteral("こんにちは\r\n")), QStringLiteral("こんにちは\n")},
        {"a cut lead byte", "ab\x82", QStringLiteral("ab\ufffd\n")},
        {"not Shift-JIS", "\xfd\xfe", QStringLiteral("\ufffd\ufffd\n")},
        {"UTF-8 with its mark", "\xEF\xBB\xBF" + QStringLiteral("移動\r\nk").toUtf8(),
         QStringLiteral("移動\nk\n")},
        {"UTF-16 with its mark",
         QByteArray("\xFF\xFE", 2) +
             QByteArray(reinterpret_cast<const char*>(QStringLiteral("移動\r\n").utf16()), 8),
         QStringLiteral("移動\n")},
        {"a sound file", QByteArray("RIFF\x24\0\0\0WAVEfmt ", 16), std::nullopt},
        {"a NUL in text", QByteArray("CQ\0de", 5), std::nullopt},
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
