#pragma once
// A QSO box of the main or the SSTV window: the call, the name, the report or
// the QTH of the station worked. It reads, takes the focus and takes the
// operator's keys, pastes and drops as any line edit; its text is written by
// the boxes' door alone (logwindows/entry/QsoDoor.cpp), which asks about the
// QSO a write would drop. The writers are hidden here, so that a write
// anywhere else fails to compile; the door reaches them as a line edit's.
#include <QLineEdit>

class QsoBox : public QLineEdit {
  public:
    using QLineEdit::QLineEdit;

  private:
    using QLineEdit::backspace;
    using QLineEdit::clear;
    using QLineEdit::cut;
    using QLineEdit::del;
    using QLineEdit::insert;
    using QLineEdit::paste;
    using QLineEdit::redo;
    using QLineEdit::setText;
    using QLineEdit::undo;
};
