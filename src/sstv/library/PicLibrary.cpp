#include "sstv/library/PicLibrary.h"

#include <algorithm>

namespace sstv {

bool IsLibraryPictureName(const QString& name) {
    const QString upper = name.toUpper();
    // ".JPEG" holds no ".JPG", so it is asked for on its own.
    return upper.contains(QLatin1String(".BMP")) || upper.contains(QLatin1String(".JPG")) ||
           upper.contains(QLatin1String(".JPEG"));
}

QStringList LibraryPictureNames(const QStringList& fileNames) {
    QStringList names;
    std::copy_if(fileNames.begin(), fileNames.end(), std::back_inserter(names), IsLibraryPictureName);
    // Names equal but for case keep one order from run to run.
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int blind = QString::compare(a, b, Qt::CaseInsensitive);
        return blind != 0 ? blind < 0 : a < b;
    });
    return names;
}

LibraryPage NextLibraryPage(int last, int count) {
    LibraryPage p;
    p.start = last + 1;
    if (p.start > count - 1) p.start = 0;
    p.end = p.start + LibraryBoxes - 1;
    if (p.end > count - 1) {
        p.end = count - 1;
        p.start = count - LibraryBoxes;
    }
    p.start = std::max(p.start, 0);
    return p;
}

LibraryPage PreviousLibraryPage(int start, int last, int count) {
    LibraryPage p;
    p.start = start == 0 ? count - LibraryBoxes : last - 2 * LibraryBoxes + 1;
    p.end = std::min(p.start + LibraryBoxes - 1, count - 1);
    if (p.start < 0) {
        p.start = 0;
        p.end = std::min(LibraryBoxes - 1, count - 1);
    }
    return p;
}

int LibraryPageEnd(int start, int count) {
    return std::min(start + LibraryBoxes - 1, count - 1);
}

QString LibraryPageLabel(int start, int end, int count) {
    return QStringLiteral("%1/%2 - %3/%2").arg(start + 1).arg(count).arg(end + 1);
}

TabPageSlots LibraryTabSlots(int tab) {
    switch (tab) {
    case 0:
        return {5, 6, 0};
    case 1:
        return {7, 8, 1};
    default:
        return {3, 4, 2};
    }
}

QString LibraryFileName(const QString& path) {
    const qsizetype slash = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return path.mid(slash + 1);
}

} // namespace sstv
