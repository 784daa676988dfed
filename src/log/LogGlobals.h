#pragma once
// Shared state of QSO logging. One instance, logbook::g.
#include <QString>

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
    QString QslSendMark;
    QString HamlogJcaPath;
    int HamlogJcaOn = 0;
    QString ComQsoBankPath;
    int EqslEnabled = 0;
    QString EqslMessage;
    QString EqslType;
    QString EqslMark;
};

extern Globals g;

} // namespace logbook
