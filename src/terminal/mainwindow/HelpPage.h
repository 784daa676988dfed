#pragma once
// The help page: a small HTML document in the program folder, put there when
// none stands there, opened in the desktop's browser.
#include <QString>

namespace terminal::mainwindow {

QString pagePath();
// Opens the page at a section (its id; the top when empty). False when the
// page can be neither found nor written ("ヘルプファイルがありません。" on the
// message line) or no browser opens it ("ヘルプを表示するブラウザがありません。").
bool OpenHelpAt(const QString& section);
// The section of a help context number (the windows' Help items name their
// topic by number); empty for a number without a section of its own.
QString SectionOfContext(int context);
bool OpenHelpContext(int context);
// The page from its top.
bool HLP_Click();
// The section of the log entry window.
inline const char* const kLogEntrySection = "logentry";
// The section of the SSTV window.
inline const char* const kSstvSection = "sstv";

} // namespace terminal::mainwindow
