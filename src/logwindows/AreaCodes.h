#pragma once
// The log entry's area-code look-ups over the master data: the code typed in
// the code box (Down), the initial-letter search (F4 to F9 in the code box, or
// the kinds of the "市郡区" menu raised by a click on "Code" or a double click
// in the code box, then an initial and Enter in the search box). Results go
// into the code and QTH boxes and the area-code list.
#include "log/CallParts.h"

#include <QObject>
#include <QString>

class TEMP_LOG;

namespace logwindows {

class AreaCodes : public QObject {
  public:
    // Installs itself on the code box, its label and the search box; owned by the window.
    explicit AreaCodes(TEMP_LOG& w);

    // Lists every master record whose initial key is `key` (kind, initial and,
    // when the call has a digit, its area).
    void SearchCodeByInitial(const QString& key);

    // The call area of the entry's call; the kind and key of the search.
    logbook::CallArea callArea;
    int CodeSearchKind = 0;
    QString CodeSearchKey;

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    void takeCallArea();
    void offerKinds();
    void lookUpCode();
    void startSearch(int kind);
    void searchEntered();
    void endSearch();

    TEMP_LOG& w_;
    // The boxes watched, kept apart from the window: their events still come
    // while the window is being torn down, when its own members are gone.
    QObject* codeBox_;
    QObject* codeLabel_;
    QObject* searchBox_;
};

} // namespace logwindows
