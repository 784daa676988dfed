#pragma once
// The multi-channel window: two receive channels beside the main window's pane,
// the PSK library's channels 1 and 2 ("Ch2", "Ch3") in the PSK modes or the
// multi-mode control's sub-channels 1 and 2 ("Ch1", "Ch2"). Each has a pane, a
// frequency bar with its display, a button that swaps it with the main channel
// and a status-bar panel that shows and changes its mode. Its place, the places
// of its controls and the channels' frequencies are kept for the next run.
#include "platform/forms/controls/RichTextPane.h"
#include "platform/forms/controls/StatusPanels.h"
#include "platform/forms/windows/Forms.h"
#include "platform/forms/windows/TwipsLayout.h"
#include "terminal/displays/MultiChLayout.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QWidget>
#include <array>

class multi_ch : public QWidget {
    Q_OBJECT
  public:
    multi_ch();
    void Form_Load();

    // Retune channel 2 (3) to its bar and move its markers on the main window.
    void SetCh2FreqFromScroll();
    void SetCh3FreqFromScroll();

    RichTextPane* RichTextBox1; // first extra channel
    RichTextPane* RichTextBox2; // second extra channel
    QScrollBar* VScroll1;       // its frequencies, 100 to 3500 Hz, the top highest
    QScrollBar* VScroll2;
    QLabel* Label1; // channel names
    QLabel* Label2;
    QLabel* Label3; // "Hz"
    QLabel* Label4;
    QLabel* Label5; // frequency displays
    QLabel* Label6;
    QPushButton* Command1; // swap with the main channel
    QPushButton* Command2;
    StatusPanels* StatusBar1; // "Close", the two channels' modes

    // Pop-up menus.
    QMenu* MODSEL2; // "MODE設定2CH"
    QMenu* MODSEL3;
    std::array<QAction*, 3> PSKMODE2{};
    std::array<QAction*, 3> PSKMODE3{};
    QMenu* mmMODE2; // "mmMODE設定2CH"
    QMenu* mmMODE3;
    std::array<QAction*, 9> MMV2{};
    std::array<QAction*, 9> MMV3{};
    QMenu* DSP1CLR; // "画面消去メニュー"
    QMenu* DSP2CLR;
    QAction* Disp1Clr;
    QAction* Clr1Clr;
    QAction* Disp2Clr;
    QAction* Clr2Clr;
    QMenu* PUPMENU; // "張付"
    QAction* CALLSR;
    QAction* TOCALL;
    QAction* TONAME;
    QAction* MEMOW;
    QAction* TOCLPB;
    QAction* CLIPCLR;

    // [MultiDSP] TOPV and HORZ as the load read them.
    QString MultiOnTop;
    QString MultiHorizontalText;
    int MultiHorizontal = 0;

    // Places in twips, and the baseline the window's resize moves them from.
    TwipsLayout tw;
    terminal::displays::MultiChLayout layout;
    QWidget* control(terminal::displays::MultiControl c) const;
    terminal::displays::MultiPlaces places() const;
    void applyPlaces(const terminal::displays::MultiPlaces& p);
    // The window's size in twips (its inner size).
    // True while the window's load runs.
    bool isLoading() const { return loading_; }
    int widthTw() const;
    int heightTw() const;
    void setSizeTw(int w, int h);

    void Form_Resize();
    void Form_Activate();
    // The operator's close (close box, window menu); refused while transmitting.
    void Form_QueryUnload(bool& cancel);
    void StatusBar1_PanelClick(int Panel);
    void Command_Click(int n);
    void PSKMODE_Click(int n, int Index);
    void MMV_Click(int n, int Index);
    void RichTextBox_MouseDown(int n, Qt::MouseButton button, const QPoint& globalPos);
    void RichTextBox_MouseUp(int n, const QPoint& globalPos);

  protected:
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(class QCloseEvent* e) override;
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    void buildMenus();
    void showModes();
    void applyFonts();
    void placeWindow();
    bool loading_ = false;
};

namespace forms {
inline ::multi_ch& multi_ch() {
    return get<::multi_ch>();
}

// The pane of extra channel 1 or 2 while the multi-channel window is loaded,
// else none. Received text for a closed window is not kept: the window empties
// its panes as it opens, so kept text would only pile up unseen for the whole
// run (touching the window would load it, hidden, for that text alone).
inline RichTextPane* openMultiChannelPane(int channel) {
    if (!isLoaded<::multi_ch>()) return nullptr;
    return channel == 1 ? multi_ch().RichTextBox1 : multi_ch().RichTextBox2;
}
} // namespace forms
