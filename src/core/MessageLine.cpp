#include "core/MessageLine.h"

#include "platform/os/Installed.h"

namespace core {

void ShowTimedMessage(const QString& text, int milliseconds) {
    installed::get<MessageLineView>().showTimedMessage(text, milliseconds);
}

bool MessageLineLoaded() {
    return installed::has<MessageLineView>() && installed::get<MessageLineView>().isLoaded();
}

bool ShowTimedMessageIfLoaded(const QString& text, int milliseconds) {
    if (!MessageLineLoaded()) return false;
    ShowTimedMessage(text, milliseconds);
    return true;
}

void ShowPendingMessage(const QString& text, int milliseconds) {
    if (installed::get<MessageLineView>().shows(text)) return;
    ShowTimedMessage(text, milliseconds);
}

void ShowStandingMessage(const QString& text) {
    if (!installed::has<MessageLineView>()) return;
    MessageLineView& view = installed::get<MessageLineView>();
    if (!view.showsStanding(text)) view.showStanding(text);
}

void EndStandingMessage(const QString& text) {
    if (!installed::has<MessageLineView>()) return;
    MessageLineView& view = installed::get<MessageLineView>();
    if (view.isLoaded()) view.endStanding(text);
}

} // namespace core
