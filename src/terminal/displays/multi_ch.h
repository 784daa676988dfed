#pragma once
// The multi-channel window: two extra receive panes with their frequencies.
#include "platform/Forms.h"
#include "platform/RichTextPane.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QWidget>

class multi_ch : public QWidget {
    Q_OBJECT
  public:
    multi_ch();

    // Retune channel 2 (3) to its bar and move its markers on the main window.
    void SetCh2FreqFromScroll();
    void SetCh3FreqFromScroll();

    RichTextPane* RichTextBox1; // first extra channel
    RichTextPane* RichTextBox2; // second extra channel
    QScrollBar* VScroll1;       // its frequencies
    QScrollBar* VScroll2;
    QLabel* Label1; // channel names
    QLabel* Label2;
    QLabel* Label3; // "Hz"
    QLabel* Label4;
    QLabel* Label5; // frequency displays
    QLabel* Label6;
    QPushButton* Command1; // swap with the main channel
    QPushButton* Command2;
};

namespace forms {
inline ::multi_ch& multi_ch() {
    return get<::multi_ch>();
}
} // namespace forms
