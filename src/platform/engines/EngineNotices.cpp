#include "platform/engines/EngineNotices.h"

namespace standin {
namespace {

constexpr std::size_t MaxRecordedCalls = 5000;

} // namespace

QString LibCall::text() const {
    QStringList parts;
    for (const QVariant& a : args)
        parts << (a.typeId() == QMetaType::QString ? '"' + a.toString() + '"' : a.toString());
    return name + '(' + parts.join(QStringLiteral(", ")) + ')';
}

void CallRecord::add(const char* name, QVariantList args) {
    calls_.push_back({QString::fromLatin1(name), std::move(args)});
    if (calls_.size() > MaxRecordedCalls) calls_.pop_front();
}

QStringList CallRecord::texts() const {
    QStringList t;
    for (const LibCall& c : calls_)
        t << c.text();
    return t;
}

bool NoticeTarget::connect(std::int32_t hwnd, QObject* window, Handler handler) {
    if (isConnected() || !window || !handler) return false;
    hwnd_ = hwnd;
    window_ = window;
    handler_ = std::move(handler);
    return true;
}

void NoticeTarget::disconnect() {
    handler_ = nullptr;
    window_ = nullptr;
    hwnd_ = 0;
    ++generation_;
}

bool NoticeTarget::isConnected() const {
    return handler_ && window_;
}

void NoticeTarget::post(QObject* context, std::int32_t targetHwnd, std::int32_t msg, std::int32_t wParam,
                        std::int32_t lParam) {
    if (!isConnected() || targetHwnd != hwnd_) return;
    const std::uint64_t posted = generation_;
    QMetaObject::invokeMethod(
        context,
        [this, posted, msg, wParam, lParam] {
            if (posted == generation_ && isConnected()) handler_(msg, wParam, lParam);
        },
        Qt::QueuedConnection);
}

} // namespace standin
