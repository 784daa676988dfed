#include "core/MessageLine.h"

#include "platform/Installed.h"

namespace core {

void ShowTimedMessage(const QString& text, int milliseconds) {
    installed::get<MessageLineView>().showTimedMessage(text, milliseconds);
}

} // namespace core
