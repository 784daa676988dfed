#pragma once
// The picture library's own logic over plain values: which file names are
// pictures and in what order they stand, the pages of eight thumbnails and
// their labels, and where each tab keeps its page in the shared page state.
#include <QString>
#include <QStringList>
#include <array>

namespace sstv {

constexpr int LibraryBoxes = 8;
constexpr int ThumbWidth = 128;
constexpr int ThumbHeight = 106;

// A name whose upper-case form holds ".BMP", ".JPG" or ".JPEG" anywhere.
bool IsLibraryPictureName(const QString& name);
// The picture names of a folder's files, sorted by name without regard to case.
QStringList LibraryPictureNames(const QStringList& fileNames);

// A page: the list index of its first file and of the last one its label shows.
struct LibraryPage {
    int start = 0;
    int end = 0;
    bool operator==(const LibraryPage&) const = default;
};
// The page after the one drawn last (whose last index is Start + 7); after the
// last page comes the first, and the last page always ends with the last file.
LibraryPage NextLibraryPage(int last, int count);
// The page before; before the first page comes the last.
LibraryPage PreviousLibraryPage(int start, int last, int count);
// The end shown when a tab is chosen: Start + 7, or the last file when sooner.
int LibraryPageEnd(int start, int count);
// "1/20 - 8/20"
QString LibraryPageLabel(int start, int end, int count);

// The page of one tab inside the nine values kept for the whole run (in the
// order TxLast, RxLast, HistLast, HistStart, HistEnd, TxStart, TxEnd, RxStart, RxEnd).
struct TabPageSlots {
    int start;
    int end;
    int last;
};
// Tab 0 transmit, 1 received, 2 history.
TabPageSlots LibraryTabSlots(int tab);

// The part of a path after its last separator ("/" or "\"); the whole text without one.
QString LibraryFileName(const QString& path);

} // namespace sstv
