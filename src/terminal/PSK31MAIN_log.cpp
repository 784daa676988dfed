// The main window's log button and log key.
#include "log/LogButton.h"
#include "terminal/PSK31MAIN.h"

#include <QShortcut>

void PSK31MAIN::Command5_Click() {
    logbook::LogButtonPress(Command5, [this] { VScroll4->setValue(VScroll4->value() + 1); });
}

void PSK31MAIN::connectLogHandlers() {
    connect(Command5, &QPushButton::clicked, this, &PSK31MAIN::Command5_Click);
    auto* logKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_L), this);
    connect(logKey, &QShortcut::activated, this, [] { logbook::LogKeyPress(); });
}
