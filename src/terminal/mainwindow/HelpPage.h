#pragma once
// The help page: a small HTML document in the program folder, put there when
// none stands there, opened in the desktop's browser.
#include <QString>

namespace terminal::mainwindow {

QString pagePath();
// False when the page can be neither found nor written; the message line then
// says "ヘルプファイルがありません。".
bool HLP_Click();

} // namespace terminal::mainwindow
