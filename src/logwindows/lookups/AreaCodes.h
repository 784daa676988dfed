#pragma once
// The log entry's area-code look-ups over the master data: the code typed in
// the code box (Down), the initial-letter search (F4 to F9 in the code box, or
// the kinds of the "市郡区" menu raised by a click on "Code" or a double click
// in the code box, then an initial and Enter in the search box). Results go
// into the code and QTH boxes and the area-code list.
#include "log/CallParts.h"
#include "platform/forms/windows/WindowFilter.h"

#include <QString>

class TEMP_LOG;

namespace logwindows {

class AreaCodes : public forms::WindowFilter {
  public:
    // Watches the code box, its label and the search box until the window unloads.
    explicit AreaCodes(TEMP_LOG& w);

    // Lists every master record whose initial key is `key` (kind, initial and,
    // when the call has a digit, its area).
    void SearchCodeByInitial(const QString& key);

    // The call area of the entry's call; the kind and key of the search.
    logbook::CallArea callArea;
    int CodeSearchKind = 0;
    QString CodeSearchKey;

  protected:
    bool filter(QObject* watched, QEvent* e) override;

  private:
    void takeCallArea();
    void offerKinds();
    void lookUpCode();
    void startSearch(int kind);
    void searchEntered();
    void endSearch();
    // The search frame adds its height to the window while it is shown.
    void showSearchFrame();
    void hideSearchFrame();

    TEMP_LOG& w_;
    int heightBeforeSearch_ = 0;
    // The boxes watched, kept apart from the window: a window destroyed without
    // an unload sends its boxes' last events while its own members are gone.
    QObject* codeBox_;
    QObject* codeLabel_;
    QObject* searchBox_;
};

} // namespace logwindows
