#pragma once
// A test's set-up of a QSO box of the main or the SSTV window: the text put
// there before what is tried, as the program itself never may (its writers
// are the boxes' door alone). What a test tries goes in by the operator's
// keys, a pick or the door.
#include <QLineEdit>
#include <QString>

namespace zvtest {

inline void setBoxText(QLineEdit* box, const QString& text) {
    box->setText(text);
}

inline void clearBox(QLineEdit* box) {
    box->clear();
}

inline void insertIntoBox(QLineEdit* box, const QString& text) {
    box->insert(text);
}

} // namespace zvtest
