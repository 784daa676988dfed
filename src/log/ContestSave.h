#pragma once
// What a contest save writes into the entry besides the QSO: the time of the
// save and the serial number sent.
#include <QDateTime>
#include <QString>

namespace logbook {

struct EntryStamp {
    QString date; // "YYYY-MM-DD"
    QString time; // "HH:MM" and "U" or "J"
};
// The entry's date and time at the save, in the zone its time box shows: a box
// ending "U" takes UTC (JST - 9 h, the day before while the JST hour is below
// 9), any other JST.
EntryStamp contestStamp(const QDateTime& jstNow, const QString& timeBox);

// Rem1 with the serial number sent in front: "007(SendNo) TNX".
QString remarksWithSerial(const QString& serialBox, const QString& rem1);

// Whether the serial number box holds a number to send: digits only, as the
// spin writes them ("1x" or "" is a slip of the keys, not a serial).
bool isSerialText(const QString& serialBox);

// The serial number after `serialBox`, shown with at least three digits.
QString nextSerialText(const QString& serialBox);

} // namespace logbook
