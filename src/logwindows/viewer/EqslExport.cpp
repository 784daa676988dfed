#include "logwindows/viewer/EqslExport.h"

#include "core/Globals.h"
#include "core/StartupFiles.h"
#include "core/ini/IniStore.h"
#include "core/ini/IniValues.h"
#include "log/AdifExport.h"
#include "log/LogGlobals.h"
#include "log/QsoBankXml.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/os/AtomicFile.h"
#include "platform/os/Clock.h"
#include "platform/os/Paths.h"
#include "platform/os/Shortcut.h"

#include <QFileInfo>
#include <QProcess>

namespace logwindows {

namespace {

const QString kEqslSection = QStringLiteral("E-QSL");
const QString kEqslService = QStringLiteral("eQSL");
const QString kNoConnection = QStringLiteral("接続不可");

struct SaveDialog {
    QString section, key, title, filter, ext;
};

SaveDialog saveDialogFor(logbook::EqslKind kind) {
    if (kind == logbook::EqslKind::QsoBank)
        return {kEqslSection, QStringLiteral("eQSLQFOL"), QStringLiteral("電子QSLﾃﾞｰﾀ保存"),
                QStringLiteral("QSOBank形電子QSLﾃﾞｰﾀ (*.xml)"), QStringLiteral("xml")};
    return {kEqslSection, QStringLiteral("eQSLFOL"), QStringLiteral("電子QSLﾃﾞｰﾀ保存"),
            kEqslService + QStringLiteral("形電子QSLﾃﾞｰﾀ (*.ADI)"), QStringLiteral("ADI")};
}

// Asks for the file with the folder kept under the dialog's key; stores the
// folder of the chosen path. Empty when cancelled.
QString askFile(const SaveDialog& dialog, const QString& proposedName) {
    const QString folder =
        paths::fromStored(core::IniStored(dialog.section, dialog.key).value_or(paths::programFolder()));
    // A folder the settings cannot name is used all the same, only not remembered.
    const QString chosen = ui::saveFileName(dialog.title, paths::join(folder, proposedName), dialog.filter);
    if (chosen.isEmpty()) return {};
    const QString path = logbook::withExtension(chosen, dialog.ext);
    core::RememberFolder(dialog.section, dialog.key, QFileInfo(path).absolutePath());
    return path;
}

// The record a failed row or record is known by in the messages.
QString recordLine(const QString& recNo) {
    return QStringLiteral("\r\nRecord No=") + recNo + QStringLiteral(" の日付または時刻が正しくありません");
}

QString rowRecNo(const std::vector<QStringList>& rows, int rowNo) {
    const QStringList& cells = rows[rowNo - 1];
    const QString recNo = cells.size() > 18 ? cells[18].trimmed() : QString();
    return recNo.isEmpty() ? QString::number(rowNo) : recNo;
}

// The record number of each QSO given, known by its grid row.
std::vector<QString> rowRecNos(const std::vector<QStringList>& rows, const std::vector<int>& rowNos) {
    std::vector<QString> recNos;
    recNos.reserve(rowNos.size());
    for (int rowNo : rowNos)
        recNos.push_back(rowRecNo(rows, rowNo));
    return recNos;
}

} // namespace

bool mayWriteUncarried(const std::vector<logbook::Uncarried>& found, const std::vector<QString>& recNos) {
    if (found.empty()) return true;
    constexpr std::size_t kListed = 10;
    QString list;
    for (std::size_t i = 0; i < found.size() && i < kListed; ++i)
        list += QStringLiteral("\r\nRecord No=%1 %2「%3」")
                    .arg(recNos[static_cast<std::size_t>(found[i].qso)], found[i].field, found[i].characters);
    if (found.size() > kListed) list += QStringLiteral("\r\nほか %1 件").arg(found.size() - kListed);
    return ui::msgBox(QStringLiteral("次のデータには Shift-JIS のファイルに書けない文字があり、"
                                     "その文字は「?」などの別の文字で書き出されます（LOGはそのままです）。") +
                          list + QStringLiteral("\r\nこのまま作成しますか？"),
                      ui::YesNo | ui::Exclamation | ui::DefaultButton2) == ui::Yes;
}

std::optional<logbook::EqslKind> chosenEqslKind() {
    const logbook::EqslKind kind = logbook::eqslKindOf(logbook::g.EqslType);
    if (kind != logbook::EqslKind::None) return kind;
    ui::msgBox(QStringLiteral("電子QSLの種類が設定されていないので、ファイルを作れません。\r\n"
                              "環境設定の「ＬＯＧ 関係の設定」にある「電子ＱＳＬシステム」で"
                              " eQSL か QSOBank を選んで下さい。"),
               ui::OkOnly | ui::Exclamation);
    return std::nullopt;
}

QString askEqslFile(logbook::EqslKind kind) {
    return askFile(saveDialogFor(kind), logbook::eqslFileName(sysclock::jstNow().date()));
}

PageChoice askToOpenEqslPage(const QString& path) {
    const ui::MsgResult answer = ui::msgBox(QStringLiteral("ADIF形式でLOG-DATAを作成しました\r\n直ぐに ") +
                                                kEqslService + QStringLiteral("のサイトへ接続しますか？"),
                                            ui::YesNo | ui::Question, QStringLiteral("ZORVATEK 電子QSL"));
    if (answer != ui::Yes) {
        ui::msgBox(path + QStringLiteral("のファイルを作成保存しました"));
        return PageChoice::Declined;
    }
    return shortcut::open(paths::join(paths::programFolder(), core::kEqslShortcutFile)) ? PageChoice::Opened
                                                                                        : PageChoice::Failed;
}

bool startQsoBankSender(const QString& xmlPath) {
    const QString program = paths::fromStored(logbook::g.ComQsoBankPath.trimmed());
    if (program.isEmpty()) return false;
    return QProcess::startDetached(program, {xmlPath});
}

void sendMarkedRows(const std::vector<QStringList>& rows) {
    const logbook::Globals& g = logbook::g;
    const logbook::MarkedRows picked = logbook::pickMarkedRows(rows, g.EqslMark);
    if (picked.marked == 0) {
        ui::msgBox(QStringLiteral("送信するデータがありません、送信するデータを選択して下さい。"),
                   ui::OkOnly | ui::Exclamation);
        return;
    }
    const std::optional<logbook::EqslKind> chosen = chosenEqslKind();
    if (!chosen) return;
    const logbook::EqslKind kind = *chosen;
    if (!mayWriteUncarried(logbook::eqslAdifUncarried(picked.qsos, g.EqslMessage),
                           rowRecNos(rows, picked.rowNos)))
        return;
    const QString path = askEqslFile(kind);
    if (path.isEmpty()) {
        ui::msgBox(QStringLiteral("電子QSLデータの保存を中止しました。"));
        return;
    }
    const logbook::ExportFile file = kind == logbook::EqslKind::Adif
                                         ? logbook::eqslAdif(picked.qsos, g.EqslMessage)
                                         : logbook::qsoBankXml(picked.qsos, g.EqslMessage);
    if (!file.ok()) {
        ui::msgBox(kNoConnection + recordLine(rowRecNo(rows, picked.rowNos[file.failedAt])));
        return;
    }
    if (!files::replaceWhole(path, file.bytes)) {
        ui::msgBox(kNoConnection);
        return;
    }
    const bool handedOn = kind == logbook::EqslKind::Adif ? askToOpenEqslPage(path) != PageChoice::Failed
                                                          : startQsoBankSender(path);
    if (!handedOn) ui::msgBox(kNoConnection);
}

void exportLogPage(const std::vector<QStringList>& rows) {
    std::vector<logbook::ExportQso> qsos;
    std::vector<int> rowNos;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (logbook::isEmptyRow(rows[i])) continue;
        qsos.push_back(logbook::exportQsoFromRow(rows[i]));
        rowNos.push_back(static_cast<int>(i) + 1);
    }
    if (!mayWriteUncarried(logbook::logAdifUncarried(qsos, core::g.UserCall), rowRecNos(rows, rowNos)))
        return;
    const logbook::RecordRange shown = logbook::shownRecordRange(rows);
    const SaveDialog dialog{QStringLiteral("E-LOG"), QStringLiteral("eLOGFOL"),
                            QStringLiteral("電子LOGﾃﾞｰﾀ保存(ADIF形式)"),
                            QStringLiteral("電子LOGﾃﾞｰﾀ(ADIF形式) (*.ADI)"), QStringLiteral("ADI")};
    const QString path = askFile(dialog, logbook::elogFileName(shown.first, shown.last));
    if (path.isEmpty()) return;
    const logbook::ExportFile file = logbook::logAdif(qsos, core::g.UserCall);
    const QString failed = path + QStringLiteral("のファイルを作成できませんでした");
    if (!file.ok())
        ui::msgBox(failed + recordLine(rowRecNo(rows, rowNos[file.failedAt])));
    else if (!files::replaceWhole(path, file.bytes))
        ui::msgBox(failed);
}

} // namespace logwindows
