#pragma once
// The main window: receive panes, transmit box, QSO boxes, macro buttons,
// waterfall and spectrum, engine panels, status bar and menus. Other
// subsystems read and write its controls directly, so each keeps its designer
// name. The controls are built in PSK31MAIN_controls.cpp and the menus in
// PSK31MAIN_menus.cpp; the load is PSK31MAIN_load.cpp, the column and the
// splitter PSK31MAIN_layout.cpp.
#include "platform/Forms.h"
#include "platform/MmvariControl.h"
#include "platform/MmvariViews.h"
#include "platform/PictureBox.h"
#include "platform/RichTextPane.h"
#include "platform/StatusPanels.h"
#include "platform/TwipsLayout.h"
#include "terminal/SplitterBar.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTabWidget>
#include <QTimer>
#include <array>

class PSK31MAIN : public QMainWindow {
    Q_OBJECT
  public:
    PSK31MAIN();
    void Form_Load();

    // --- Receive panes, transmit box, message line -----------------------
    RichTextPane* RichTextBox1; // main receive pane (channel 1)
    RichTextPane* RichTextBox2; // play-back receive pane
    RichTextPane* RichTextBox4; // satellite pane
    RichTextPane* Text1;        // transmit box
    QLineEdit* Text3;           // message line, hidden when idle
    QLineEdit* Text12;          // input overload warning, hidden when idle
    SplitterBar* Image1;        // the splitter
    QFrame* Picture10;          // drag bar of the splitter, hidden at rest
    QListWidget* List1;         // call-sign candidates

    // --- QSO boxes --------------------------------------------------------
    QLabel* Label7;        // own call sign
    QLabel* Label1;        // "Call Sign"
    QLineEdit* Text5;      // his call sign
    QLineEdit* Text6;      // his name
    QLabel* Label3;        // "RST"
    QLineEdit* Text7;      // his RST
    QListWidget* List4;    // RST pick list
    QLabel* Label47;       // "QTH "
    QLineEdit* Text14;     // his QTH
    QLineEdit* Text11;     // contest serial number
    QScrollBar* VScroll4;  // its spin
    QPushButton* Command4; // clear
    QPushButton* Command5; // make log entry
    QPushButton* Command6; // GET
    QCheckBox* Check1;     // San suffix
    QCheckBox* Check2;     // time stamps and log times in UTC
    QCheckBox* Check3;     // timed transmission off
    QCheckBox* Check4;     // order of a "/" call for the log
    QCheckBox* Check5;     // data capture
    QLabel* Label40;       // rig dial frequency
    QLabel* Label23;       // rig mode
    QLabel* Label26;       // information label (also the data-sync read-out)
    QPushButton* Command1; // "TX (F12)"

    // --- Macro buttons and CW ID -------------------------------------------
    QGroupBox* Frame3;
    std::array<QPushButton*, 36> Command8{};
    QGroupBox* Frame2;     // "CWID Set"
    QComboBox* Combo1;     // CW ID choices
    QPushButton* Command3; // CW ID send
    QLabel* Label4;        // prosign hint

    // --- Frequencies, tuning, waterfall and spectrum -----------------------
    QGroupBox* Frame1;
    QLabel* Label11;        // "RXFreq"
    QLabel* Label10;        // "TXFreq"
    QLineEdit* Text4;       // receive audio frequency, Hz
    QLineEdit* Text8;       // transmit audio frequency, Hz
    QScrollBar* VScroll1;   // receive frequency
    QScrollBar* VScroll2;   // transmit frequency
    QPushButton* Command7;  // PSK AFC
    QPushButton* Command9;  // PSK NET
    QPushButton* Command10; // "WF/SP"
    QPushButton* Command11; // signal scan
    QLabel* Label39;        // zoom "x1".."x5"
    PictureBox* Picture3;   // waterfall
    PictureBox* Picture9;   // spectrum
    PictureBox* Picture5;   // strip above the waterfall
    PictureBox* Picture7;   // strip below the waterfall
    QScrollBar* VScroll5;   // spectrum scale divisor
    LineShape* Line5;       // receive-frequency cursor
    LineShape* Line20;      // receive frequency
    LineShape* Line21;      // transmit frequency
    LineShape* Line8;       // temporary cursor while a sub-channel is chosen
    LineShape* Line11;      // channel 2 marker
    LineShape* Line12;      // channel 3 marker
    LineShape* Line15;      // scan threshold
    LineShape* Line16;      // RTTY mark
    LineShape* Line17;      // RTTY space
    QGroupBox* Frame5;      // "S-meter && Squelch"
    QProgressBar* ProgressBar1;
    QSlider* Slider1;  // squelch
    QGroupBox* Frame7; // "WaterFall/Color balance", hidden at design
    QSlider* Slider2;  // waterfall level
    QPushButton* Command26;
    PictureBox* Picture2; // XY scope
    QLabel* Label8;       // channel label
    QLabel* Label14;      // "IMD"
    QLabel* Label15;      // IMD or S/N value
    QLabel* Label12;      // sound-card clock error, ppm
    QLabel* Label30;      // "Satelite"
    QLabel* Label43;      // channel 2 marker label
    QLabel* Label44;      // channel 3 marker label

    // --- Engine panels (tab strip) ------------------------------------------
    QTabWidget* SSTab1;
    PictureBox* Picture4; // narrow spectrum, click to tune
    LineShape* Line1;     // receive marker
    LineShape* Line2;     // transmit marker
    LineShape* Line3;     // side markers about 15 Hz either side of the transmit frequency
    LineShape* Line4;
    LineShape* Line13;
    LineShape* Line14;
    QScrollBar* VScroll3;   // spectrum zoom
    QLabel* Label13;        // spectrum range
    QPushButton* Command15; // channel 1 select
    QPushButton* Command16; // channel 2 select
    QPushButton* Command17; // channel 3 select
    PictureBox* Picture1;   // data-sync display
    QScrollBar* HScroll1;   // its time base
    QCheckBox* Check6;      // "LINE/DATA SYNC 切換"
    QLabel* Label24;
    QLabel* Label25;
    QLabel* Label27;
    QLabel* Label37;
    QLabel* Label38;
    QGroupBox* Frame4;                        // "MMTTY Control"
    std::array<QPushButton*, 18> Command13{}; // switches 10..17, by string position
    QPushButton* Command12;                   // "FIG"
    QPushButton* Command14;                   // demodulator "Type"
    QPushButton* Command21;                   // "HAM"
    QPushButton* Command24;                   // "CFG"
    QLabel* Label16;                          // "RXFreq"
    QLabel* Label19;                          // "TXFreq"
    QLabel* Label35;                          // "Mark"
    QLabel* Label32;                          // demodulator
    QLabel* Label36;                          // "Shift"
    QListWidget* List5;                       // shifts
    QLabel* Label9;
    QGroupBox* Frame6; // "MMVARI Control"
    std::array<QPushButton*, 8> Command19{};
    QPushButton* Command22; // MMVARI AFC
    QPushButton* Command23; // MMVARI NET
    QComboBox* CBMode;      // MMVARI modes
    QListWidget* List2;     // PSK speeds
    QLineEdit* Text2;       // the multi-mode control's receive frequency
    QLineEdit* Text9;       // and its transmit frequency
    QLabel* Label41;

    // The multi-mode control, its level meter and its two views.
    mmvari::MmvariControl* MMVARI;
    mmvari::XMMVLvl* XMMVLv1;
    mmvari::XMMVView* XMMVView1; // in place of the waterfall
    mmvari::XMMVView* XMMVView2; // in place of the narrow spectrum

    StatusPanels* StatusBar1;

    // --- Timers ------------------------------------------------------------
    QTimer* Timer1; // repeat transmission
    QTimer* Timer2; // one-shot engine start-up tick
    QTimer* Timer4; // busy-channel watch
    QTimer* Timer5; // signal scan

    // --- Menus -------------------------------------------------------------
    QAction* RDRCVDAT;
    QAction* MEMOR;
    QAction* RecPsk;
    QAction* PlayPsk;
    QAction* RecStop;
    QAction* ZORVAT_SUSP;
    QAction* OPAPP1_STRT;
    QAction* OPAPP2_STRT;
    QAction* pEnd;
    std::array<QAction*, 6> PSKMODE{};
    QMenu* MMVMENU;
    std::array<QAction*, 19> mvrMODEsel{}; // 10..18
    QAction* LINE_TRV;
    QAction* TRVon;
    QAction* SATMOD;
    QAction* RXBC;
    QAction* TXBC;
    QAction* MAC_LOAD;
    QAction* MACROMOV;
    QAction* CWIDSET;
    QAction* CONON;
    QAction* Roundqso;
    QAction* PSKCFG;
    QAction* MLTRCV;
    QAction* dxinfo;
    QAction* GOZOR;
    QAction* HLP;
    QAction* VERSHOW;
    QMenu* PMS;    // mode choice pop-up, hidden from the menu bar
    QMenu* MLTSET; // multi-channel pop-up, hidden from the menu bar
    QAction* SET2CH;
    QAction* SET3CH;
    QAction* SETCAN;
    QMenu* AFCSHIFT;
    QAction* ShiftFree;
    QAction* ShiftFix;
    QAction* ShiftHAM;
    QAction* ShiftFSK;
    QMenu* RXPOPUP; // receive-pane pop-up
    QAction* PSTCALL;
    QAction* PSTNAME;
    QAction* PSTQTH;
    QAction* PSTTOREM1;
    QAction* PSTTOREM2;
    QAction* PSTCON_NO;
    QAction* GetContestNo;
    QAction* CALLSR;
    QAction* DATCLR;
    QAction* PSTMEMO;
    QMenu* QTHPST; // QTH paste pop-up
    QAction* PSTREM1;
    QAction* PSTREM2;
    QMenu* MACCOM; // transmit-box insert pop-up
    QAction* PSTCLIP;
    QAction* INSAISATU;
    QAction* INSHisCall;
    QAction* INSHisName;
    QAction* INSHisQTH;
    QAction* INSHISRST;
    QAction* INSMyCall;
    QAction* INSTimeStamp;

    // --- Window state --------------------------------------------------------
    int Suspended = 0;
    int TxInhibited = 0;
    // 1 when a CW ID went out through the multi-mode control.
    int MmvariCwIdOn = 0;
    // Set to 1 to end a running signal scan.
    int ScanStopRequest = 0;
    int ScanThreshold = 10;
    QString ReceiveFolder;

    // Places of the controls, in twips.
    TwipsLayout tw;
    int formHeightTw() const;
    int formWidthTw() const;
    void setFormHeightTw(int h);

    // The end of a run (PSK31MAIN_shutdown.cpp): the close request with its
    // reason (shutdown::CloseReason) and the exit item.
    void Form_QueryUnload(bool& cancel, int unloadMode);
    void pEnd_Click();
    // Stores the window's place in twips while it is in its normal state.
    void savePlace();

    // Handlers.
    void Timer2_Timer();
    void SetRxFreqFromScroll();
    void SetTxFreqFromScroll();
    void SSTab1_Click();
    // The waterfall level: its colour thresholds follow every new value; the
    // level is stored when the operator moves the slider.
    void Slider2_Change();
    void Slider2_Scroll(int action);
    void Form_Resize();
    void Image1_MouseDown(int button, int y);
    void Image1_MouseMove(int button, int y);
    void Image1_MouseUp(int button, int y);
    void Command5_Click();
    void Text5_Change();
    void Text6_Change();
    void Text7_Change();
    // The window's key handler (PSK31MAIN_keys.cpp), seeing every key before the
    // focused control: KeyCode a virtual-key code, Shift the mask 1 Shift, 2 Ctrl,
    // 4 Alt. True when the key was used up as a shortcut.
    bool Form_KeyDown(int KeyCode, int Shift);

  protected:
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

  private:
    void buildQsoColumn(QWidget* canvas);
    void buildPanesAndSplitter(QWidget* canvas);
    void buildMacroButtons(QWidget* canvas);
    void buildTuningFrame(QWidget* canvas);
    void buildEnginePanels(QWidget* frame);
    void buildStatusBar();
    void buildTimers();
    void buildMenus();
    void buildPopupMenus();
    void connectHandlers();
    void connectLogHandlers();
    void connectKeys();
    void connectTuning();

    // Load steps.
    void loadControlsAndState();
    void loadSettings(bool* firstRun);
    void loadFontsAndColours();
    void loadMacroButtons();
    void loadCwIdAndMessages();
    void loadScalesAndRtty();
    void fillRstList();
    void runFirstRun();
    void applyLogLink();
    void startEngine();

    // Layout.
    void placeWindowAtStart();
    void applyColumnAtStart();
    void saveColumn(bool heightFirst);
    void followWidth(int widthTw);
    void resumeAfterSuspend();

    // Shutdown steps.
    bool runShutdown(bool exitMenu);
    void normalPath(bool exitMenu);
    void saveFrequencies(bool exitMenu);
    void saveReceiveCopy();
    void releaseEngine(bool exitMenu, bool emergency);
    void emergencyPath(bool exitMenu);
    void closeLoggingProgram();
    void unloadEverything();
};

namespace forms {
inline ::PSK31MAIN& PSK31MAIN() {
    return get<::PSK31MAIN>();
}
} // namespace forms
