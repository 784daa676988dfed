#pragma once
// The running contest as the window in use shows it (the SSTV window in SSTV
// mode, else the main window): its contest item, serial box and fixed report;
// and the contest's end, which puts either window back to normal logging.
#include <QString>

class QAction;
class QLineEdit;
class QScrollBar;

namespace settings {

struct ContestBoxes {
    QLineEdit* serial = nullptr;
    QScrollBar* spin = nullptr;
    QLineEdit* report = nullptr; // the sent report
    QAction* contestItem = nullptr;
};
ContestBoxes contestBoxesInUse();

// The serial box shows the stored serial number, the spin control with it.
void ShowStoredSerial(const ContestBoxes& b);
// The fixed report ("595" in SSTV mode, else "599") into the window's report
// box and, with the library link, the log entry's two report boxes.
void ShowFixedReport(const ContestBoxes& b);

// Stores a serial box's number as the contest number, unless that would
// take the stored number back.
void StoreContestNo(const QString& boxText);

// A mode change has put another window in use while a contest runs: the new
// window shows the contest's item, its serial box and its fixed report.
void CarryContestToWindowInUse();

// The contest ends: the serial number is stored, the window's report and the
// log entry go back to normal saving (the report preset, when it is on, is
// `presetReport`), the log entry and the contest dialog are unloaded and the
// log viewer shown again when it is kept in use.
void EndContest(const ContestBoxes& b, const QString& presetReport);

} // namespace settings
