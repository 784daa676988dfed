#pragma once
// The main window: receive panes, transmit box, QSO boxes, macro buttons,
// waterfall and spectrum, engine panels, status bar and menus.
#include "platform/Forms.h"
#include "platform/RichTextPane.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QMainWindow>

class PSK31MAIN : public QMainWindow {
    Q_OBJECT
  public:
    PSK31MAIN();

    // Main receive pane.
    RichTextPane* RichTextBox1;
    // Message line.
    QLineEdit* Text3;
    // Times in UTC when ticked.
    QCheckBox* Check2;
};

namespace forms {
inline ::PSK31MAIN& PSK31MAIN() {
    return get<::PSK31MAIN>();
}
} // namespace forms
