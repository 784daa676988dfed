#include "platform/forms/Clipboard.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <optional>

namespace clipboard {

namespace {

QClipboard* board() {
    return QGuiApplication::clipboard();
}

bool isTextBox(const QObject* o) {
    return qobject_cast<const QPlainTextEdit*>(o) || qobject_cast<const QTextEdit*>(o);
}

// The clipboard a text box would paste from on this event, if any: keys go to
// the box, the mouse to its viewport.
std::optional<QClipboard::Mode> pasteFrom(const QObject* watched, const QEvent* e) {
    if (e->type() == QEvent::KeyPress && isTextBox(watched)) {
        const auto* key = static_cast<const QKeyEvent*>(e);
        if (key->key() == Qt::Key_Insert && key->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier))
            return QClipboard::Selection;
        if (key->matches(QKeySequence::Paste)) return QClipboard::Clipboard;
    }
    if (e->type() == QEvent::MouseButtonRelease && watched->parent() && isTextBox(watched->parent()) &&
        static_cast<const QMouseEvent*>(e)->button() == Qt::MiddleButton)
        return QClipboard::Selection;
    return std::nullopt;
}

bool offersNothing(QClipboard::Mode mode) {
    if (mode == QClipboard::Selection && !board()->supportsSelection()) return false;
    const QMimeData* data = board()->mimeData(mode);
    return data && data->formats().isEmpty();
}

} // namespace

void empty() {
    board()->setText(QString());
}

void hold(const QString& text) {
    board()->setText(text);
}

QString text() {
    return board()->text();
}

bool holdsText() {
    return !text().isEmpty();
}

PasteGuard::PasteGuard() {
    qApp->installEventFilter(this);
}

PasteGuard::~PasteGuard() {
    if (qApp) qApp->removeEventFilter(this);
}

bool PasteGuard::eventFilter(QObject* watched, QEvent* e) {
    const std::optional<QClipboard::Mode> mode = pasteFrom(watched, e);
    return mode && offersNothing(*mode);
}

} // namespace clipboard
