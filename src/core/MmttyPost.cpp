#include "core/MmttyPost.h"

#include "core/Globals.h"
#include "core/MessageLine.h"
#include "platform/MmttyLink.h"

#include <QPointer>

namespace core {
namespace {

QPointer<mmtty::MmttyLink>& linkInUse() {
    static QPointer<mmtty::MmttyLink> link;
    return link;
}

} // namespace

mmtty::MmttyLink* MmttyLinkInUse() {
    return linkInUse().data();
}

void SetMmttyLinkInUse(mmtty::MmttyLink* link) {
    linkInUse() = link;
}

bool PostMmttyCommand(std::int32_t code, std::int32_t value) {
    mmtty::MmttyLink* link = MmttyLinkInUse();
    if (link && link->postCommand(code, value)) return true;
    g.StatusMessage = QStringLiteral("MMTTYが応答しません、送信を中止しました");
    ShowTimedMessage(g.StatusMessage, 3000);
    return false;
}

} // namespace core
