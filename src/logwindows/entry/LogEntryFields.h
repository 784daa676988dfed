#pragma once
// How the log entry window's fields take the keyboard and the mouse: which
// characters each field accepts, upper-casing, overwrite typing in the
// fixed-format fields, where Enter and a full field move the focus, the date
// and time refresh with the JST/UTC switch, and the copies of call, RST and
// name to and from the operating window.
#include <QHash>
#include <QObject>

class QLineEdit;
class QKeyEvent;
class TEMP_LOG;

namespace logwindows {

class LogEntryFields : public QObject {
  public:
    // Installs itself on the window's fields and labels; owned by the window.
    explicit LogEntryFields(TEMP_LOG& w);

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    enum class Accept { Alnum, Digits, DateDigits, Time, Letters, Any };
    struct Rule {
        Accept accept;
        bool upper;
        QWidget* next;
        int overwrite;
        bool everyKey;
        // A date, a time, a report or a QSL mark: every character has its
        // place, so a key overwrites one however much is selected.
        bool fixedPlaces = false;
    };

    bool keyPress(QLineEdit* box, const Rule& rule, QKeyEvent& key);
    bool specialKey(QLineEdit* box, int key);
    void keyRelease(QLineEdit* box);
    void enterPressed(QLineEdit* box, const Rule& rule);
    bool labelClicked(QObject* label);
    void focusField(QWidget* target);

    TEMP_LOG& w_;
    QHash<QObject*, Rule> rules_;
    // The field that took the last key press: a release belongs to it only.
    QObject* pressedIn_ = nullptr;
};

// The JST/UTC switch of the entry's date and time; toUtc always takes UTC.
void SwitchLogTimeZone(TEMP_LOG& w, bool toUtc);
// The time field's refresh from the PC clock, in the zone the field shows.
void RefreshLogTime(TEMP_LOG& w);

} // namespace logwindows
