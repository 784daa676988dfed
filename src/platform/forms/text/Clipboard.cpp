#include "platform/forms/text/Clipboard.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
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

// The box that a paste key given to the object goes into: a list or a spin
// box hands its keys to its line.
const QObject* keyBox(const QObject* o) {
    if (isTextBox(o) || qobject_cast<const QLineEdit*>(o)) return o;
    if (const auto* list = qobject_cast<const QComboBox*>(o)) return list->lineEdit();
    if (qobject_cast<const QAbstractSpinBox*>(o)) return o->findChild<QLineEdit*>();
    return nullptr;
}

// The middle button pastes into a line where it is released, and into a
// multi-line box through its viewport.
const QObject* mouseBox(const QObject* o) {
    if (qobject_cast<const QLineEdit*>(o)) return o;
    return o->parent() && isTextBox(o->parent()) ? o->parent() : nullptr;
}

struct Paste {
    const QObject* box;
    QClipboard::Mode mode;
};

// The paste a box would make on this event, if any.
std::optional<Paste> pasteOn(const QObject* watched, const QEvent* e) {
    if (e->type() == QEvent::KeyPress) {
        const QObject* box = keyBox(watched);
        if (!box) return std::nullopt;
        const auto* key = static_cast<const QKeyEvent*>(e);
        if (key->key() == Qt::Key_Insert && key->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier))
            return Paste{box, QClipboard::Selection};
        if (key->matches(QKeySequence::Paste)) return Paste{box, QClipboard::Clipboard};
    }
    if (e->type() == QEvent::MouseButtonRelease &&
        static_cast<const QMouseEvent*>(e)->button() == Qt::MiddleButton)
        if (const QObject* box = mouseBox(watched)) return Paste{box, QClipboard::Selection};
    return std::nullopt;
}

// A paste that would put nothing in: Qt's boxes would still replace the
// selection with it.
bool bringsNothing(const Paste& paste) {
    if (paste.mode == QClipboard::Selection && !board()->supportsSelection()) return false;
    const QMimeData* data = board()->mimeData(paste.mode);
    if (!data) return false;
    if (data->formats().isEmpty()) return true;
    if (!data->text().isEmpty()) return false;
    // A box of formatted text takes a page's markup without its text.
    const auto* rich = qobject_cast<const QTextEdit*>(paste.box);
    return !(rich && rich->acceptRichText() && data->hasHtml());
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
    const std::optional<Paste> paste = pasteOn(watched, e);
    return paste && bringsNothing(*paste);
}

} // namespace clipboard
