#include "platform/forms/ControlColour.h"

#include "platform/forms/Colour.h"

#include <QAbstractButton>
#include <QPalette>

namespace colour {
namespace {

void restyle(QWidget* w) {
    QStringList rules;
    const QVariant back = w->property("BackColor");
    const QVariant fore = w->property("ForeColor");
    if (back.isValid() && back.toUInt() != kButtonFace)
        rules << QStringLiteral("background-color: %1").arg(fromRef(back.toUInt()).name());
    if (fore.isValid()) rules << QStringLiteral("color: %1").arg(fromRef(fore.toUInt()).name());
    // A style sheet rule on a button drops its native frame; keep a plain border.
    if (!rules.isEmpty() && qobject_cast<QAbstractButton*>(w))
        rules << QStringLiteral("border: 1px solid #808080; padding: 1px");
    w->setStyleSheet(rules.join(QStringLiteral("; ")));
}

} // namespace

void setBackColor(QWidget* w, std::uint32_t ref) {
    w->setProperty("BackColor", ref);
    restyle(w);
}

std::uint32_t backColor(const QWidget* w) {
    const QVariant v = w->property("BackColor");
    return v.isValid() ? v.toUInt() : kButtonFace;
}

void setForeColor(QWidget* w, std::uint32_t ref) {
    w->setProperty("ForeColor", ref);
    restyle(w);
}

std::uint32_t foreColor(const QWidget* w) {
    const QVariant v = w->property("ForeColor");
    return v.isValid() ? v.toUInt() : toRef(w->palette().color(QPalette::WindowText));
}

} // namespace colour
