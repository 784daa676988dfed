#pragma once
// Shared state of QSO logging. One instance, logbook::g.
#include "platform/hamlog/Hamlog.h"
#include "platform/hamlog/HamlogRecord.h"

#include <QString>
#include <QTime>

namespace logbook {

struct Globals {
    // 1 while the log entry window shows a record read from the log, 0 for a new entry.
    int LogEditMode = 0;

    // How the system reaches the logging program: 0 not at all, 1 its
    // libraries, 2 its running window. Set at start-up from the settings.
    int HamlogLink = 0;
    QString HamlogPath;
    // The database path without its extension.
    QString HamlogDataPath;
    // 1 when start-up started the logging program (the exit closes it again).
    int HamlogStartResult = 0;
    qint64 HamlogProcessId = 0;

    // Log settings read at start-up.
    QString HamlogConfirmText;
    int HamlogConfirmOn = 0;
    QString HamlogViewerOn;
    QString QslMark;
    QString QslPrintProgPath;
    int QslPrintProgKind = 0;
    QString MmqslSetting;
    // How long MMQSL may take over one card before the print counts as failed.
    int MmqslPrintWaitMs = 60000;
    QString QslSendMark;
    QString HamlogJcaPath;
    int HamlogJcaOn = 0;
    QString ComQsoBankPath;
    int EqslEnabled = 0;
    QString EqslMessage;
    QString EqslType;
    QString EqslMark;

    // The record last read from the log and the record being written.
    hamlog::QsoRecord CurQso;
    hamlog::QsoRecord NewQso;
    // The open log, and its copy taken when a record was shown (the record as
    // it was before editing, handed to the update).
    hamlog::HamlogHandle HamlogHandle;
    hamlog::HamlogHandle HamlogHandleShown;
    // The record on show: the count + 1 for a new entry, the record's own number when editing.
    int HamlogRecNo = 0;
    int HamlogRecCount = 0;

    // 1 while the log entry window is open (set when it is activated).
    int LogWindowOpen = 0;
    // 1 after the current entry was stored.
    int LogEntrySaved = 0;
    // Electronic-QSL export range, 0 = not set.
    int ExportFromRecNo = 0;
    int ExportToRecNo = 0;
    // The time of day the entry's time was taken.
    QTime QsoTime;
    // Band list index, as text, read when the log entry window loads.
    QString LastBand = QStringLiteral("0");
    // Input method in the QTH and remarks boxes.
    int QthImeOn = 0;
    int Rem1ImeOn = 0;
    int Rem2ImeOn = 0;
    // The call-sign check: the call whose earlier QSOs are looked up, the part
    // given to the prefix look-up, and the position of the last "/".
    QString WkdCall;
    QString PrefixCall;
    int SlashPos = 0;
    // 1 = no earlier QSO with WkdCall; the JCA file consulted; the JCA state
    // (0 none, 1 first JCA, 2 worked not confirmed, 3 confirmed).
    int FirstQsoFlag = 0;
    int JcaChecked = 0;
    int JcaState = 0;
    // True while the current check leaves the log entry alone: a stored record
    // is on show, or the check only searches.
    bool CheckKeepsEntry = false;

    // The earlier-QSO list: rows listed by the last look-up, 1 once it listed any.
    int QsoListRows = 0;
    int QsoListFilled = 0;

    // The prefix look-up over the master data.
    hamlog::MasterIndex MasterIndex;
    int PrefixMatchLen = 0;
    int MasterRecNo = 0;
    int PrefixListRow = 0;
    // 1 while the area-code list holds an initial search or a code-box look-up:
    // a pick then gives code and QTH only.
    int CodeListExtended = 0;

    // The other station's longitude, local time and greeting.
    int Longitude = 135;
    QString LongitudeSide = QStringLiteral("東経");
    int DistrictLongitude = 0;
    int DistrictLongitudeOn = 0;
    QString UtcTimeText;
    // "HH:MM", empty when none was computed.
    QString LocalTimeText;
    // The greeting macros and titles insert, empty until first computed.
    QString GreetingText;

    // Values of the log entry window that outlive its unloading.
    // The record last stored, reread or browsed to; 0 until then.
    int LoggedRecNo = 0;
    // The record chosen by the last browse button.
    int BrowseRecNo = 0;
    QString ExportFilePath;
    int ExportRecNo = 0;

    // The window link: the request in progress ("RecNo", "QTH", "NAME"), the
    // last replies, and 1 while a QSO is being handed over.
    QString HamlogRequestKey;
    QString HamlogNameReply;
    QString HamlogQthReply;
    int HamlogReplyRecNo = 0;
    int HamlogSending = 0;
    // The logging program's record count when the QSO was handed over.
    int RecNoAtSend = 0;
    // The boxes as they were handed over; what differs at the save is handed
    // over again first. Not current after a save that failed: the logging
    // program's entry may be gone, so the whole QSO goes again.
    struct HandedOverQso {
        QString call, rst, name, qth, contestNo;
        bool current = false;
        bool operator==(const HandedOverQso&) const = default;
    } HandedOver;
    // The call of the QSO last stored through the logging program's window
    // and the minute (JST) it was stored in: a press that would hand the same
    // QSO over again asks first.
    QString StoredCall;
    QString StoredMinute;
    // The operating window's boxes as they stood when it was stored: what is
    // typed there since is typing of its own.
    HandedOverQso StoredBoxes;
};

extern Globals g;

} // namespace logbook
