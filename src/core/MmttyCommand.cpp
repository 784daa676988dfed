#include "core/MmttyCommand.h"

#include "core/Globals.h"
#include "core/MessageLine.h"
#include "platform/Engines.h"

namespace core {

mmtty::MmttyLink& MmttyProgram() {
    return engines::current().mmtty;
}

bool PostMmttyCommand(std::int32_t code, std::int32_t value) {
    if (MmttyProgram().postCommand(code, value)) return true;
    g.StatusMessage = QStringLiteral("MMTTYが応答しません、送信を中止しました");
    ShowTimedMessage(g.StatusMessage, 3000);
    return false;
}

} // namespace core
