#pragma once
// The benchmarks' own wait: runs the event loop for this long, or until `done`
// holds (checked every 50 ms).
#include <QEventLoop>
#include <QObject>
#include <QTimer>
#include <functional>

inline void runEvents(int ms, const std::function<bool()>& done = {}) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    QTimer poll;
    if (done) {
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (done()) loop.quit();
        });
        poll.start(50);
    }
    loop.exec();
}
