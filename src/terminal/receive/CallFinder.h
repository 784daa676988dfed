#pragma once
// The other station's call found in the end of the received text: after the
// last " DE " (the station's own "DE" parts cut off), else after " CQ " or
// "QRZ ". A word repeated among the three words that follow is the call;
// otherwise the words that hold a digit are the candidates.
#include <QString>
#include <QStringList>

namespace terminal::receive {

struct Found {
    QString call;           // the call, when one word repeats
    QStringList candidates; // else the words with a digit, in order
    bool searched = false;  // false: no " DE ", " CQ " or "QRZ " at all
};

// `text` is the receive pane's text; `userCall` the station's own call.
Found FindCall(const QString& text, const QString& userCall);

} // namespace terminal::receive
