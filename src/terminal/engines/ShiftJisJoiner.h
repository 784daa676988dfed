#pragma once
// The bytes a modem engine receives, joined into characters for a pane: a
// Shift-JIS lead byte waits for its second byte; a second byte that cannot
// follow it breaks the pair, and a blank stands in for the lost character.
// Each pane keeps a joiner of its own.
#include <QString>

namespace terminal::engines {

struct ReceivedStep {
    enum Kind {
        Nothing,   // a byte that is not shown, or a lead byte now waiting
        Backspace, // erase the last character; the caller then calls forget()
        NewLine,   // CR: a line break
        Text,      // append `text`
        BrokenPair // append a blank for the pair that could not be joined
    };
    Kind kind = Nothing;
    QString text;
};

class ShiftJisJoiner {
  public:
    // One byte (0..255) as the engine gave it.
    ReceivedStep feed(int c);
    // Drops a waiting lead byte (its pane lost the character before it).
    void forget() { pending_ = false; }
    bool waiting() const { return pending_; }

  private:
    char lead_ = 0;
    bool pending_ = false;
};

} // namespace terminal::engines
