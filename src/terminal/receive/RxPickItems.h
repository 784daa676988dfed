#pragma once
// The items of the receive panes' pop-ups that put picked text into the QSO
// boxes, the clipboard or the log entry window: PUPMNU acts on the selection
// (on the clipboard), GETDATOTHER on the picked word.
class PSK31MAIN;
class QLineEdit;
class QString;

namespace terminal::receive {

// Writes a log entry field; a text the field's width would refuse is not
// written: false then, and the message line says so.
bool writeLogField(QLineEdit* field, const QString& text);
// Appends to a log entry field: an empty field (after trimming) takes the text
// alone, else the field gets the joint and the text at its end. An append the
// field's width would refuse is not made; false then, and the message line
// says so.
bool appendToLogField(QLineEdit* field, const QString& joint, const QString& text);

void connectPickItems(PSK31MAIN& w);

} // namespace terminal::receive
