#pragma once
// The spot pages of the local spot server, in the two layouts the spot window
// reads: the primary source's (call as a link, time, frequency, remarks,
// spotter) and the fallback source's (spotter, frequency, call, remarks, time).
// The tests build their pages with it too.
#include <QByteArray>
#include <QList>
#include <QString>

namespace spotsrv {

struct Spot {
    QString time;    // "hhnn" UTC
    QString freqKhz; // "14070.5"
    QString call;
    QString remarks;
    QString spotter;
};

// One line of each layout, without its line break.
QString primaryLine(const Spot& spot);
QString fallbackLine(const Spot& spot);

// Whole pages, newest spot first, encoded as Shift-JIS (as their header says).
QByteArray primaryPage(const QString& title, const QList<Spot>& spots);
QByteArray fallbackPage(const QList<Spot>& spots);

} // namespace spotsrv
