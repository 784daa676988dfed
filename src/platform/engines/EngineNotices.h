#pragma once
// What the engine stand-ins share: the record of the calls made into an
// engine (for tests to read back), and the one window an engine posts its
// notices to ("subclassing"): notices are queued calls to the handler
// connected for the window handle the engine was given, dropped once the
// handler goes or the engine stops, even when already under way.
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <cstdint>
#include <deque>
#include <functional>

namespace standin {

// One call into an engine as the caller made it.
struct LibCall {
    QString name;
    QVariantList args;
    // "fnSetRXFrequency(1000, 50, 0)"
    QString text() const;
};

// The last 5000 calls.
class CallRecord {
  public:
    void add(const char* name, QVariantList args);
    const std::deque<LibCall>& calls() const { return calls_; }
    QStringList texts() const;
    void clear() { calls_.clear(); }

  private:
    std::deque<LibCall> calls_;
};

class NoticeTarget {
  public:
    using Handler = std::function<void(std::int32_t msg, std::int32_t wParam, std::int32_t lParam)>;

    // Refused (false) while a handler is connected.
    bool connect(std::int32_t hwnd, QObject* window, Handler handler);
    void disconnect();
    bool isConnected() const;
    // Notices already under way are dropped.
    void dropPending() { ++generation_; }
    // Queues the notice on the context's thread for the handler of targetHwnd.
    void post(QObject* context, std::int32_t targetHwnd, std::int32_t msg, std::int32_t wParam,
              std::int32_t lParam);

  private:
    std::int32_t hwnd_ = 0;
    QPointer<QObject> window_;
    Handler handler_;
    std::uint64_t generation_ = 0;
};

} // namespace standin
