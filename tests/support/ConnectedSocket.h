#pragma once
// The connection a link holds now: a restarted program's, not the last one's,
// which was let go at its close and may not be freed yet.
#include <QLocalSocket>
#include <QObject>

namespace zvtest {

inline QLocalSocket* connectedSocketOf(const QObject& link) {
    for (QLocalSocket* s : link.findChildren<QLocalSocket*>())
        if (s->state() == QLocalSocket::ConnectedState) return s;
    return nullptr;
}

} // namespace zvtest
