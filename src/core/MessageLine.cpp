#include "core/MessageLine.h"

#include "core/AboutZORVATEK.h"
#include "core/Globals.h"
#include "sstv/SSTVForm.h"
#include "terminal/PSK31MAIN.h"

namespace core {

void ShowTimedMessage(const QString& text, int milliseconds) {
    QLineEdit* box = g.OpMode == ModeSstv ? forms::SSTVForm().Text3 : forms::PSK31MAIN().Text3;
    box->setText(text);
    box->show();
    box->raise();
    QTimer* timer = forms::AboutZORVATEK().Timer3;
    timer->setInterval(milliseconds);
    timer->start();
}

} // namespace core
