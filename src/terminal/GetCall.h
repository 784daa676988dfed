#pragma once
// The GET button: the other station's call found in the end of the received
// text, after the last " DE " (the station's own "DE" parts skipped), else
// after " CQ " or "QRZ ". A word repeated among the three words that follow is
// the call; otherwise the words that hold a digit are offered as candidates.
#include <QString>
#include <QStringList>

class PSK31MAIN;

namespace getcall {

struct Found {
    QString call;           // the call, when one word repeats
    QStringList candidates; // else the words with a digit, in order
    bool searched = false;  // false: no " DE ", " CQ " or "QRZ " at all
};

// `text` is the receive pane's text; `userCall` the station's own call.
Found FindCall(const QString& text, const QString& userCall);

// The GET button (Command6) and a click on the candidate list (List1).
void Command6_Click(PSK31MAIN& w);
void List1_Click(PSK31MAIN& w, const QString& chosen);

void connectMainWindow(PSK31MAIN& w);

} // namespace getcall
