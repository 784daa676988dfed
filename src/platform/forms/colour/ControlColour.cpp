#include "platform/forms/colour/ControlColour.h"

#include "platform/forms/colour/Colour.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPalette>
#include <QPlainTextEdit>
#include <QScrollBar>

namespace colour {
namespace {

QString styleRules(const QWidget* w) {
    QStringList rules;
    const QVariant back = w->property("BackColor");
    const QVariant fore = w->property("ForeColor");
    if (back.isValid() && back.toUInt() != kButtonFace)
        rules << QStringLiteral("background-color: %1").arg(fromRef(back.toUInt()).name());
    if (fore.isValid()) rules << QStringLiteral("color: %1").arg(fromRef(fore.toUInt()).name());
    // A style sheet rule on a button drops its native frame; keep a plain border.
    if (!rules.isEmpty() && qobject_cast<const QAbstractButton*>(w))
        rules << QStringLiteral("border: 1px solid #808080; padding: 1px");
    return rules.join(QStringLiteral("; "));
}

// A text pane takes its colours from its palette: a style sheet on it would
// make its text area transparent, so that every repaint of a line of text
// would paint the pane's frame and background under it as well. Its own
// background (the margin beside the text) shows the same colour, and its
// scroll bars keep the look the colours give them.
void recolourPane(QPlainTextEdit* pane) {
    const QPalette standard = QApplication::palette(pane);
    QPalette pal = pane->palette();
    const QVariant back = pane->property("BackColor");
    const QColor base = back.isValid() && back.toUInt() != kButtonFace ? fromRef(back.toUInt())
                                                                       : standard.color(QPalette::Base);
    pal.setColor(QPalette::Base, base);
    pal.setColor(QPalette::Window, base);
    const QVariant fore = pane->property("ForeColor");
    pal.setColor(QPalette::Text, fore.isValid() ? fromRef(fore.toUInt()) : standard.color(QPalette::Text));
    pane->setPalette(pal);
    const QString rules = styleRules(pane);
    for (QScrollBar* bar : {pane->verticalScrollBar(), pane->horizontalScrollBar()})
        if (QWidget* holder = bar->parentWidget(); holder && holder != pane) holder->setStyleSheet(rules);
}

void restyle(QWidget* w) {
    if (auto* pane = qobject_cast<QPlainTextEdit*>(w))
        recolourPane(pane);
    else
        w->setStyleSheet(styleRules(w));
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
