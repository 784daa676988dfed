#pragma once
// The three Internet-shortcut files that start-up writes anew into the
// program folder at every start; the log windows open the eQSL one.
#include <QString>

namespace core {

inline const QString kHomePageShortcutFile = QStringLiteral("go_ZOR.url");
inline const QString kEqslShortcutFile = QStringLiteral("eQSL_jp.url");
inline const QString kQsoBankShortcutFile = QStringLiteral("QSOBANK.url");

inline const QString kHomePageUrl = QStringLiteral("https://zorvatek.example/");
inline const QString kEqslUrl = QStringLiteral("https://www.eqsl.cc/jp/index.cfm");
inline const QString kQsoBankUrl = QStringLiteral("https://www.qsobank.com/user/");

// Each file holds exactly "[InternetShortcut]" CR LF "URL=<address>" CR LF.
// False when one of them could not be written.
bool WriteShortcutFiles();

} // namespace core
