#pragma once
// The main window: receive panes, transmit box, QSO boxes, macro buttons,
// waterfall and spectrum, engine panels, status bar and menus. Other
// subsystems read and write its controls directly, so each keeps its designer
// name. The controls are built in PSK31MAIN_controls.cpp and the menus in
// PSK31MAIN_menus.cpp; the load is PSK31MAIN_load.cpp, the column and the
// splitter PSK31MAIN_layout.cpp.
#include "platform/forms/controls/QsoBox.h"
#include "platform/forms/windows/Forms.h"
#include "platform/forms/windows/TwipsLayout.h"

#include <QMainWindow>
#include <QString>

#include <array>

class LineShape;
class PictureBox;
class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QProgressBar;
class QPushButton;
class QScrollBar;
class QSlider;
class QTabWidget;
class QTimer;
class RichTextPane;
class SplitterBar;
class StatusPanels;
namespace mmvari {
class MmvariControl;
class XMMVLvl;
class XMMVView;
} // namespace mmvari

class PSK31MAIN : public QMainWindow {
    Q_OBJECT
  public:
    PSK31MAIN();
    void Form_Load();

    // --- Receive panes, transmit box, message line -----------------------
    RichTextPane* RichTextBox1 = nullptr; // main receive pane (channel 1)
    RichTextPane* RichTextBox2 = nullptr; // play-back receive pane
    RichTextPane* RichTextBox4 = nullptr; // satellite pane
    RichTextPane* Text1 = nullptr;        // transmit box
    QLineEdit* Text3 = nullptr;           // message line, hidden when idle
    QLineEdit* Text12 = nullptr;          // input overload warning, hidden when idle
    SplitterBar* Image1 = nullptr;        // the splitter
    QFrame* Picture10 = nullptr;          // drag bar of the splitter, hidden at rest
    QListWidget* List1 = nullptr;         // call-sign candidates

    // --- QSO boxes --------------------------------------------------------
    QLabel* Label7 = nullptr;        // own call sign
    QLabel* Label1 = nullptr;        // "Call Sign"
    QsoBox* Text5 = nullptr;         // his call sign
    QsoBox* Text6 = nullptr;         // his name
    QLabel* Label3 = nullptr;        // "RST"
    QsoBox* Text7 = nullptr;         // his RST
    QListWidget* List4 = nullptr;    // RST pick list
    QLabel* Label47 = nullptr;       // "QTH "
    QsoBox* Text14 = nullptr;        // his QTH
    QLineEdit* Text11 = nullptr;     // contest serial number
    QScrollBar* VScroll4 = nullptr;  // its spin
    QPushButton* Command4 = nullptr; // clear
    QPushButton* Command5 = nullptr; // make log entry
    QPushButton* Command6 = nullptr; // GET
    QCheckBox* Check1 = nullptr;     // San suffix
    QCheckBox* Check2 = nullptr;     // time stamps and log times in UTC
    QCheckBox* Check3 = nullptr;     // timed transmission off
    QCheckBox* Check4 = nullptr;     // order of a "/" call for the log
    QCheckBox* Check5 = nullptr;     // data capture
    QLabel* Label40 = nullptr;       // rig dial frequency
    QLabel* Label23 = nullptr;       // rig mode
    QLabel* Label26 = nullptr;       // information label (also the data-sync read-out)
    QPushButton* Command1 = nullptr; // "TX (F12)"

    // --- Macro buttons and CW ID -------------------------------------------
    QGroupBox* Frame3 = nullptr;
    std::array<QPushButton*, 36> Command8{};
    QGroupBox* Frame2 = nullptr;     // "CWID Set"
    QComboBox* Combo1 = nullptr;     // CW ID choices
    QPushButton* Command3 = nullptr; // CW ID send
    QLabel* Label4 = nullptr;        // prosign hint

    // --- Frequencies, tuning, waterfall and spectrum -----------------------
    QGroupBox* Frame1 = nullptr;
    QLabel* Label11 = nullptr;        // "RXFreq"
    QLabel* Label10 = nullptr;        // "TXFreq"
    QLineEdit* Text4 = nullptr;       // receive audio frequency, Hz
    QLineEdit* Text8 = nullptr;       // transmit audio frequency, Hz
    QScrollBar* VScroll1 = nullptr;   // receive frequency
    QScrollBar* VScroll2 = nullptr;   // transmit frequency
    QPushButton* Command7 = nullptr;  // PSK AFC
    QPushButton* Command9 = nullptr;  // PSK NET
    QPushButton* Command10 = nullptr; // "WF/SP"
    QPushButton* Command11 = nullptr; // signal scan
    QLabel* Label39 = nullptr;        // zoom "x1".."x5"
    PictureBox* Picture3 = nullptr;   // waterfall
    PictureBox* Picture9 = nullptr;   // spectrum
    PictureBox* Picture5 = nullptr;   // strip above the waterfall
    PictureBox* Picture7 = nullptr;   // strip below the waterfall
    QScrollBar* VScroll5 = nullptr;   // spectrum scale divisor
    LineShape* Line5 = nullptr;       // receive-frequency cursor
    LineShape* Line20 = nullptr;      // receive frequency
    LineShape* Line21 = nullptr;      // transmit frequency
    LineShape* Line8 = nullptr;       // temporary cursor while a sub-channel is chosen
    LineShape* Line11 = nullptr;      // channel 2 marker
    LineShape* Line12 = nullptr;      // channel 3 marker
    LineShape* Line15 = nullptr;      // scan threshold
    LineShape* Line16 = nullptr;      // RTTY mark
    LineShape* Line17 = nullptr;      // RTTY space
    QGroupBox* Frame5 = nullptr;      // "S-meter && Squelch"
    QProgressBar* ProgressBar1 = nullptr;
    QSlider* Slider1 = nullptr;  // squelch
    QGroupBox* Frame7 = nullptr; // "WaterFall/Color balance", hidden at design
    QSlider* Slider2 = nullptr;  // waterfall level
    QPushButton* Command26 = nullptr;
    PictureBox* Picture2 = nullptr; // XY scope
    QLabel* Label8 = nullptr;       // channel label
    QLabel* Label14 = nullptr;      // "IMD"
    QLabel* Label15 = nullptr;      // IMD or S/N value
    QLabel* Label12 = nullptr;      // sound-card clock error, ppm
    QLabel* Label30 = nullptr;      // "Satelite"
    QLabel* Label43 = nullptr;      // channel 2 marker label
    QLabel* Label44 = nullptr;      // channel 3 marker label

    // --- Engine panels (tab strip) ------------------------------------------
    QTabWidget* SSTab1 = nullptr;
    PictureBox* Picture4 = nullptr; // narrow spectrum, click to tune
    LineShape* Line1 = nullptr;     // receive marker
    LineShape* Line2 = nullptr;     // transmit marker
    LineShape* Line3 = nullptr;     // side markers about 15 Hz either side of the transmit frequency
    LineShape* Line4 = nullptr;
    LineShape* Line13 = nullptr;
    LineShape* Line14 = nullptr;
    QScrollBar* VScroll3 = nullptr;   // spectrum zoom
    QLabel* Label13 = nullptr;        // spectrum range
    QPushButton* Command15 = nullptr; // channel 1 select
    QPushButton* Command16 = nullptr; // channel 2 select
    QPushButton* Command17 = nullptr; // channel 3 select
    PictureBox* Picture1 = nullptr;   // data-sync display
    QScrollBar* HScroll1 = nullptr;   // its time base
    QCheckBox* Check6 = nullptr;      // "LINE/DATA SYNC 切換"
    QLabel* Label24 = nullptr;
    QLabel* Label25 = nullptr;
    QLabel* Label27 = nullptr;
    QLabel* Label37 = nullptr;
    QLabel* Label38 = nullptr;
    QGroupBox* Frame4 = nullptr;              // "MMTTY Control"
    std::array<QPushButton*, 18> Command13{}; // switches 10..17, by string position
    QPushButton* Command12 = nullptr;         // "FIG"
    QPushButton* Command14 = nullptr;         // demodulator "Type"
    QPushButton* Command21 = nullptr;         // "HAM"
    QPushButton* Command24 = nullptr;         // "CFG"
    QLabel* Label16 = nullptr;                // "RXFreq"
    QLabel* Label19 = nullptr;                // "TXFreq"
    QLabel* Label35 = nullptr;                // "Mark"
    QLabel* Label33 = nullptr;                // mark frequency, "2125Hz"
    QLabel* Label34 = nullptr;                // shift, "170Hz"
    QLabel* Label32 = nullptr;                // demodulator
    QLabel* Label36 = nullptr;                // "Shift"
    QListWidget* List5 = nullptr;             // shifts
    QLabel* Label9 = nullptr;
    QGroupBox* Frame6 = nullptr; // "MMVARI Control"
    std::array<QPushButton*, 8> Command19{};
    QPushButton* Command22 = nullptr; // MMVARI AFC
    QPushButton* Command23 = nullptr; // MMVARI NET
    QComboBox* CBMode = nullptr;      // MMVARI modes
    QListWidget* List2 = nullptr;     // PSK speeds
    QLineEdit* Text2 = nullptr;       // the multi-mode control's receive frequency
    QLineEdit* Text9 = nullptr;       // and its transmit frequency
    QLabel* Label41 = nullptr;

    // The multi-mode control, its level meter and its two views.
    mmvari::MmvariControl* MMVARI = nullptr;
    mmvari::XMMVLvl* XMMVLv1 = nullptr;
    mmvari::XMMVView* XMMVView1 = nullptr; // in place of the waterfall
    mmvari::XMMVView* XMMVView2 = nullptr; // in place of the narrow spectrum

    StatusPanels* StatusBar1 = nullptr;

    // --- Timers ------------------------------------------------------------
    QTimer* Timer1 = nullptr; // repeat transmission
    QTimer* Timer2 = nullptr; // one-shot engine start-up tick
    QTimer* Timer4 = nullptr; // busy-channel watch
    QTimer* Timer5 = nullptr; // signal scan

    // --- Menus -------------------------------------------------------------
    QAction* RSAVE = nullptr;
    QAction* RDRCVDAT = nullptr;
    QAction* MEMOR = nullptr;
    QAction* HLDAT_VIEW = nullptr; // log viewer, "Hamlog Data表示"
    QAction* RecPsk = nullptr;
    QAction* PlayPsk = nullptr;
    QAction* RecStop = nullptr;
    QAction* ZORVAT_SUSP = nullptr;
    QAction* OPAPP1_STRT = nullptr;
    QAction* OPAPP2_STRT = nullptr;
    QAction* pEnd = nullptr;
    std::array<QAction*, 6> PSKMODE{};
    QMenu* MMVMENU = nullptr;
    std::array<QAction*, 19> mvrMODEsel{}; // 10..18
    QAction* LINE_TRV = nullptr;
    QAction* TRVon = nullptr;
    QAction* SATMOD = nullptr;
    QAction* WFCOLOR = nullptr; // shows the waterfall colour panel Frame7
    QAction* RXBC = nullptr;
    QAction* TXBC = nullptr;
    QAction* MAC_LOAD = nullptr;
    QAction* MACROMOV = nullptr;
    QAction* CWIDSET = nullptr;
    QAction* CONON = nullptr;
    QAction* Roundqso = nullptr;
    QAction* PSKCFG = nullptr;
    QAction* MLTRCV = nullptr;
    QAction* dxinfo = nullptr;
    QAction* GOZOR = nullptr;
    QAction* HLP = nullptr;
    QAction* VERSHOW = nullptr;
    // The mixer items.
    QAction* VOLTX = nullptr;
    QAction* VOLRX = nullptr;
    // The data-sync time base last set by HScroll1, in samples.
    int DataSyncBase = 0;
    QMenu* PMS = nullptr;    // mode choice pop-up, hidden from the menu bar
    QMenu* MLTSET = nullptr; // multi-channel pop-up, hidden from the menu bar
    QAction* SET2CH = nullptr;
    QAction* SET3CH = nullptr;
    QAction* SETCAN = nullptr;
    QAction* SETnotch0 = nullptr; // multi-mode notch items, shown while the control is the engine
    QAction* SETnotch1 = nullptr;
    QAction* SETnotch2 = nullptr;
    QMenu* AFCSHIFT = nullptr;
    QAction* ShiftFree = nullptr;
    QAction* ShiftFix = nullptr;
    QAction* ShiftHAM = nullptr;
    QAction* ShiftFSK = nullptr;
    QMenu* PUPMNU = nullptr;          // receive-pane pop-up on a selection
    QAction* GETNAIYOUMAIN = nullptr; // its header: "Get->" and the selection
    QAction* CALLSR = nullptr;
    QAction* TOCALL = nullptr;
    QAction* TONAME = nullptr;
    QAction* TOQTHREM1 = nullptr;
    QAction* MEMOW = nullptr;
    QAction* TOCLPB = nullptr;
    QAction* PSTREM1 = nullptr;
    QAction* PSTREM2 = nullptr;
    QAction* GetContestNo = nullptr;
    QAction* CLIPCLR = nullptr;
    QMenu* GETDATOTHER = nullptr; // receive-pane pop-up on a picked word
    QAction* GETNAIYOU = nullptr; // its header: "Get->" and the word
    QAction* PSTCALL = nullptr;
    QAction* PSTNAME = nullptr;
    QAction* PSTQTH = nullptr;
    QAction* PSTMEMO = nullptr;
    QAction* TOCLIP2 = nullptr;
    QAction* PSTTOREM1 = nullptr;
    QAction* PSTTOREM2 = nullptr;
    QAction* PSTCON_NO = nullptr;
    QAction* DATCLR = nullptr;
    QMenu* QTHPST = nullptr; // QTH label pop-up
    QAction* ADDQTHUPD = nullptr;
    QAction* ADDREM1 = nullptr;
    QAction* ADDREM2 = nullptr;
    QMenu* MACCOM = nullptr; // transmit-box insert pop-up
    QAction* PSTCLIP = nullptr;
    QAction* INSAISATU = nullptr;
    QAction* INSHisCall = nullptr;
    QAction* INSHisName = nullptr;
    QAction* INSHisQTH = nullptr;
    QAction* INSHISRST = nullptr;
    QAction* INSMyCall = nullptr;
    QAction* INSTimeStamp = nullptr;

    // --- Window state --------------------------------------------------------
    int Suspended = 0;
    int TxInhibited = 0;
    // 1 when a CW ID went out through the multi-mode control.
    int MmvariCwIdOn = 0;
    // Set to 1 to end a running signal scan.
    int ScanStopRequest = 0;
    int ScanThreshold = 10;
    // The multi-mode views: the frequency of the last right click, and a drag
    // that keeps the next left click from retuning.
    int ViewClickFreq = 0;
    int IgnoreViewClick = 0;
    // The notch frequency the spectrum pop-up last set on the multi-mode
    // control and read back; the "Notch" button turns the notch on there.
    int LastNotchFreq = 0;
    QString ReceiveFolder;

    // Places of the controls, in twips.
    TwipsLayout tw;
    int formHeightTw() const;
    int formWidthTw() const;
    void setFormHeightTw(int h);

    // The end of a run (PSK31MAIN_shutdown.cpp): the close request with its
    // reason (terminal::mainwindow::CloseReason) and the exit item.
    void Form_QueryUnload(bool& cancel, int unloadMode);
    void pEnd_Click();
    // The end of a run that no operator answers for (a signal to end the
    // process): a signal scan ends, nothing is asked and no failure is said;
    // the rig is unkeyed, the state stored and the logging program closed.
    void endWithoutQuestions();
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

    // --- Tuning by the pictures and the frequency boxes (Tuning*.cpp) --------
    // 1 while a click on the waterfall sets the scan threshold.
    int ScanLevelSetMode = 0;
    int AfcWasOn = 0;
    int NetWasOn = 0;
    void Picture3_MouseDown(int Button, double X, double Y);
    void Picture4_MouseDown(int Button, double X, double Y);
    // The frequency under the mouse in the waterfall's tool tip.
    void Picture3_MouseMove(double X);
    void Text4_Click();
    // KeyAscii as the box would receive it; 0 afterwards when swallowed.
    void Text4_KeyPress(int& KeyAscii);
    void Text8_KeyPress(int& KeyAscii);

    // --- Displays and squelch (DisplaysControls.cpp) --------------------------
    void VScroll3_Change();
    void VScroll5_Change();
    void Slider1_MouseUp();
    // A press at x pixels on the level bar sets the squelch.
    void ProgressBar1_MouseDown(double x);
    void SATMOD_Click();
    // Waterfall and spectrum in turn, kept for the next start (Command10, Ctrl+W).
    void SwitchWaterfallSpectrum();
    void Command10_MouseDown(int Button);

    // --- Signal scan (DisplaysScan.cpp) ----------------------------------------
    // Where the next scan starts: where the last one stopped, 200 Hz at first.
    int ScanHz = 200;
    // The display mode to go back to when the scan or the threshold line ends.
    int WfDrawState2 = 0;
    void Command11_MouseUp(int Button);
    void Timer5_Timer();
    // The zoom label (DisplaysZoom.cpp).
    void Label39_Click();
    // Channel buttons 0..2 and the sync switch (DisplaysChannels.cpp).
    void ChannelButton_Click(int Index);
    void Check6_Click();

    // --- Contest number and transverter switch (ContestNumber.cpp) -----------
    void Text11_Change();
    void VScroll4_Change();
    void TRVon_Click();
    // The settings menu: refused while a recording or play-back runs.
    void PSKCFG_Click();
    void Image1_MouseDown(int button, int y);
    void Image1_MouseMove(int button, int y);
    void Image1_MouseUp(int button, int y);
    void Command5_Click();
    void Text5_Change();
    void Text6_Change();
    void Text7_Change();
    // A click on the QTH label, with the pointer's place on the screen.
    void Label47_Click(const QPoint& globalPos);
    void HLDAT_VIEW_Click();
    // The window's key handler (PSK31MAIN_keys.cpp), seeing every key before the
    // focused control: KeyCode a virtual-key code, Shift the mask 1 Shift, 2 Ctrl,
    // 4 Alt. True when the key was used up as a shortcut.
    bool Form_KeyDown(int KeyCode, int Shift);
    // The settings sheet of a first run has closed: the window shows with the
    // items of a normal start in BPSK and the PSK library starts.
    void finishFirstRun();
    // The CW ID list's own-call entry and text from the own call now set.
    void showOwnCwId();

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
    void connectTuningClicks();
    void connectTuningBoxes();
    void connectDisplays();
    void connectContestNumber();
    void connectDisplaySwitch();
    void connectScan();
    void connectZoom();
    void connectChannelButtons();
    void runScan();
    void endScan();
    void showThresholdLine();
    void tuneChannel1(int hz, int bin);
    void Picture3_LeftDown(double X, double Y);
    void Picture3_RightDown(double X);
    // Pops up MLTSET and waits: 1 for channel 2, 2 for channel 3, 0 cancelled.
    int chooseSubChannel();
    void placeSubChannel(int n, int hz);

    // Load steps.
    void loadControlsAndState();
    void loadSettings(bool* firstRun);
    void loadFontsAndColours();
    void loadMacroButtons();
    void loadCwIdAndMessages();
    void loadScalesAndRtty();
    void fillRstList();
    void runFirstRun();
    void showPskStart();
    void applyLogLink();
    void startEngine();

    // Layout.
    void placeWindowAtStart();
    void applyColumnAtStart();
    void saveColumn(bool heightFirst);
    void followWidth(int widthTw);
    void resumeAfterSuspend();

    // Shutdown steps. runShutdown is the operator's end: what it asks comes
    // before anything is stopped; endRun asks nothing (quiet: not even a failure's word).
    bool runShutdown(bool exitMenu);
    void endRun(bool exitMenu);
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
