// The picture library's pure logic: which names are listed and in what order,
// the pages both ways and their labels, and where each tab keeps its page.
#include "sstv/library/PicLibrary.h"
#include "sstv/window/SstvGlobals.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using namespace sstv;

TEST(PicLibrary, PictureNamesByTheirUpperCaseForm) {
    struct Case {
        const char* name;
        bool listed;
    } cases[] = {
        {"a.bmp", true},        {"b.JPG", true},      {"PHOTO.Jpeg", true}, {"photo.bmp.txt", true},
        {"photo.png", false},   {"photo.gif", false}, {"bmp", false},       {"x.jp", false},
        {"archive.JPGX", true}, {".bmp", true},       {"noext", false},     {"x.jpe", false},
        {"ｆｕｌｌ.BMP", true}, {"名前.jpeg", true},  {"a.b.m.p", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsLibraryPictureName(QString::fromUtf8(c.name)), c.listed) << c.name;
}

TEST(PicLibrary, NamesSortedWithoutRegardToCase) {
    const QStringList files{QStringLiteral("b.JPG"),         QStringLiteral("photo.png"),
                            QStringLiteral("PHOTO.Jpeg"),    QStringLiteral("a.bmp"),
                            QStringLiteral("photo.bmp.txt"), QStringLiteral("C.bmp"),
                            QStringLiteral("c.BMP")};
    EXPECT_EQ(LibraryPictureNames(files),
              QStringList({QStringLiteral("a.bmp"), QStringLiteral("b.JPG"), QStringLiteral("C.bmp"),
                           QStringLiteral("c.BMP"), QStringLiteral("photo.bmp.txt"),
                           QStringLiteral("PHOTO.Jpeg")}));
    // The order does not hang on the order the folder gave.
    QStringList reversed = files;
    std::reverse(reversed.begin(), reversed.end());
    EXPECT_EQ(LibraryPictureNames(reversed), LibraryPictureNames(files));
    EXPECT_TRUE(LibraryPictureNames({}).isEmpty());
}

TEST(PicLibrary, PagesForwardAndBack) {
    struct Case {
        bool forward;
        int start, last, count;
        LibraryPage page;
    } cases[] = {
        // 20 files: 1-8, 9-16, 13-20 and round to 1-8.
        {true, 0, 7, 20, {8, 15}},
        {true, 8, 15, 20, {12, 19}},
        {true, 12, 19, 20, {0, 7}},
        // Back from the first page: 13-20, 5-12, 1-8.
        {false, 0, 7, 20, {12, 19}},
        {false, 12, 19, 20, {4, 11}},
        {false, 4, 11, 20, {0, 7}},
        // Five files: one page both ways.
        {true, 0, 7, 5, {0, 4}},
        {false, 0, 7, 5, {0, 4}},
        // None at all.
        {true, 0, 7, 0, {0, -1}},
        {false, 0, 7, 0, {0, -1}},
        // Nine files: the second page ends with the last file.
        {true, 0, 7, 9, {1, 8}},
        {false, 1, 8, 9, {0, 7}},
        // Exactly eight: always the one page.
        {true, 0, 7, 8, {0, 7}},
        {false, 0, 7, 8, {0, 7}},
        // Files deleted since the page was drawn: the page still lands inside the list.
        {true, 16, 23, 10, {0, 7}},
        {false, 16, 23, 10, {8, 9}},
    };
    for (const Case& c : cases) {
        const LibraryPage got =
            c.forward ? NextLibraryPage(c.last, c.count) : PreviousLibraryPage(c.start, c.last, c.count);
        EXPECT_EQ(got, c.page) << (c.forward ? ">" : "<") << " start " << c.start << " count " << c.count
                               << " got " << got.start << "-" << got.end;
    }
}

TEST(PicLibrary, PageEndAndLabel) {
    EXPECT_EQ(LibraryPageEnd(0, 20), 7);
    EXPECT_EQ(LibraryPageEnd(0, 5), 4);
    EXPECT_EQ(LibraryPageEnd(0, 0), -1);
    EXPECT_EQ(LibraryPageEnd(12, 20), 19);
    EXPECT_EQ(LibraryPageLabel(0, 7, 20), QStringLiteral("1/20 - 8/20"));
    EXPECT_EQ(LibraryPageLabel(0, 4, 5), QStringLiteral("1/5 - 5/5"));
    EXPECT_EQ(LibraryPageLabel(0, -1, 0), QStringLiteral("1/0 - 0/0"));
    EXPECT_EQ(LibraryPageLabel(1, 8, 9), QStringLiteral("2/9 - 9/9"));
}

TEST(PicLibrary, EachTabKeepsItsPageInSlotsOfItsOwn) {
    // As the SSTV window sets them when it loads: every start 0, every end and last 7.
    const Globals fresh;
    std::set<int> used;
    for (int tab = 0; tab < 3; ++tab) {
        const TabPageSlots tabSlots = LibraryTabSlots(tab);
        EXPECT_EQ(fresh.PiclibPageState[std::size_t(tabSlots.start)], 0) << tab;
        EXPECT_EQ(fresh.PiclibPageState[std::size_t(tabSlots.end)], 7) << tab;
        EXPECT_EQ(fresh.PiclibPageState[std::size_t(tabSlots.last)], 7) << tab;
        used.insert({tabSlots.start, tabSlots.end, tabSlots.last});
    }
    EXPECT_EQ(used.size(), 9u) << "no two tabs share a value";
}

TEST(PicLibrary, FileNameAfterTheLastSeparator) {
    EXPECT_EQ(LibraryFileName(QStringLiteral("/tmp/pics/a.bmp")), QStringLiteral("a.bmp"));
    EXPECT_EQ(LibraryFileName(QStringLiteral("C:\\QSL\\b.JPG")), QStringLiteral("b.JPG"));
    EXPECT_EQ(LibraryFileName(QStringLiteral("plain.jpg")), QStringLiteral("plain.jpg"));
    EXPECT_EQ(LibraryFileName(QString()), QString());
    EXPECT_EQ(LibraryFileName(QStringLiteral("/folder/")), QString());
}

} // namespace
