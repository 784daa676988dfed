#pragma once
// Where received text and the memo pad are kept: the received-data folder or
// the program folder; reading them for the viewer and appending to the memo pad.
#include "terminal/rxtext/RxTextFormat.h"

#include <QString>
#include <optional>

namespace terminal::rxtext {

// The memo pad of one run; the shutdown deletes it.
inline const QString kMemoFile = QStringLiteral("PSKMEMO.DAT");

// Files larger than this, or of more lines, are not read into the viewer: the
// box takes some 10 microseconds a line, and more for each line it holds, and
// the check of its text at the close a second for 4 MiB, holding the window
// meanwhile. A night's received text is a few hundred kilobytes in a few
// thousand lines.
constexpr qint64 kLargestViewedFile = 4LL * 1024 * 1024;
constexpr qsizetype kMostViewedLines = 50000;

// The received-data folder: [PSKCFG] RCVDFOL when it names a folder that is
// there, else the program folder.
QString receiveFolder();
// The folder a stored folder key names, when it is there; else the program folder.
QString existingFolderOr(const std::optional<QString>& stored);

// Appends one line to the memo pad of the program folder (created when
// missing); false when it cannot be written.
bool appendMemoLine(const QString& line);
// Why a file gave the viewer no text.
enum class ViewerFileProblem { None, CannotRead, TooLarge, NotText };
// The text of a file for the viewer; nothing when it cannot be read, is too
// large or holds no text (the reason in *problem). Shift-JIS bytes that stand
// for no character are named in *unreadable (cp932::undecodable).
std::optional<QString> readViewerFile(const QString& path, ViewerFileProblem* problem = nullptr,
                                      QString* unreadable = nullptr);

} // namespace terminal::rxtext
