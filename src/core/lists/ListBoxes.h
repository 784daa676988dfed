#pragma once
// The boxes in which the operator edits a list file as text, one entry a line
// (the settings sheet's RST and mode lists, the SSTV window's RSV list): the
// file is shown as its list shows it and written back with only what the
// operator changed (core::KeptListBytes).
#include "core/lists/ListFiles.h"

#include <QString>

class QPlainTextEdit;

namespace core {

struct ListBox {
    QPlainTextEdit* box = nullptr;
    QString file; // the file's name, as the messages name it
    QString path;
    ShownLine shown = nullptr;
    // What the pick list takes of a line, for a list that takes less than the
    // whole line (a report's first three characters); null for the whole line.
    QString (*taken)(const QString& line) = nullptr;
    QString listName; // the list named in the question about longer lines ("RST")
    QString boxName;  // the box named when a typed character cannot be stored
};

// Fills the box with the file's lines as shown, one a line, and counts it
// unchanged. False when the file is missing or cannot be read: the box is
// then empty.
bool OpenListBox(const ListBox& list);

enum class ListBoxStore {
    Stored,     // the file holds the box (unchanged, it was not written)
    Refused,    // a character was said or the operator went back to the box
    NotWritten, // the file could not be read or written; the box keeps the text
};
// Writes the box back. Before anything is written: a typed character that the
// file would give back as another is said on the box, and typed lines longer
// than the list takes are said and stored only on the operator's Yes.
ListBoxStore StoreListBox(const ListBox& list);

} // namespace core
