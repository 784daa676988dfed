#pragma once
// The SSTV window, shown instead of the main window in SSTV mode. It creates
// and starts the SSTV engine when it loads and releases it when it unloads;
// the engine's notices reach SstvEngineWndProc. Its receive side shows the
// picture being received, the history ring and the tuning displays, and steers
// the engine's receive options; its mode menus change the mode; while it is
// loaded it holds the rig port. Its transmit side composes the picture on a
// workshop canvas (background, inset, picture boxes, title bar and lines),
// renders it at the transmit mode's size and sends it.
#include "platform/forms/controls/PictureBox.h"
#include "platform/forms/controls/QsoBox.h"
#include "platform/forms/controls/StatusPanels.h"
#include "platform/forms/windows/Forms.h"
#include "platform/sstvengine/SstvDrawing.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMap>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTimer>
#include <QWidget>

#include <array>
#include <cstdint>
#include <vector>

class QAction;
class QKeyEvent;
class QMenu;
class QPlainTextEdit;
class QMenuBar;

class SSTVForm : public QWidget {
    Q_OBJECT
  public:
    // The handle the engine posts to.
    static constexpr std::int32_t SstvHwnd = 0x53535456;

    SSTVForm();
    ~SSTVForm() override;
    void Form_Load();
    void Form_Unload();

    // ---- Receive side ----
    QTabWidget* SSTab1;                     // "受信画", "履歴", "同期"
    PictureBox* Picture1;                   // the picture being received
    PictureBox* Picture9;                   // the history picture
    PictureBox* Picture2;                   // the engine's preview
    PictureBox* Picture10;                  // line progress
    LineShape* Line1;                       // the current line
    PictureBox* Picture4;                   // spectrum
    PictureBox* Picture5;                   // waterfall
    PictureBox* Picture6;                   // level
    QScrollBar* HScroll1;                   // history number, 0..321
    QLabel* Label15;                        // the history number
    QComboBox* Combo1;                      // RX Mode
    QPushButton* Command11;                 // "手動受信"
    QPushButton* Command15;                 // "再同期"
    QPushButton* Command20;                 // "再同期"
    QPushButton* Command17;                 // "傾調整"
    QPushButton* Command21;                 // "傾調整" with the clock check
    QPushButton* Command2;                  // "clk補正更新"
    QPushButton* Command22;                 // the sound-clock window
    QPushButton* Command12;                 // "AFC"
    QPushButton* Command13;                 // "LMS" / "ANF"
    QPushButton* Command4;                  // the tuning-indicator frame
    std::array<QCheckBox*, 31> Check2{};    // elements 23..27 and 30
    std::array<QRadioButton*, 4> Option2{}; // band-pass
    std::array<QRadioButton*, 3> Option1{}; // LMS filter
    std::array<QRadioButton*, 3> Option3{}; // spectrum method
    QGroupBox* Frame12;                     // "Tuning Indicator"
    QScrollBar* VScroll1;                   // sensitivity 7 (top) .. 0
    QScrollBar* VScroll2;                   // response 3 .. 0
    QScrollBar* VScroll3;                   // persistence 3 .. 0
    QLabel* Label10;
    QLabel* Label13;
    QLabel* Label17;

    // ---- Transmit side ----
    QTabWidget* SSTab2;     // "送信画", "調理場", "設定"
    PictureBox* Picture3;   // the transmit picture
    PictureBox* Picture8;   // the workshop canvas
    PictureBox* Picture11;  // the inset on the canvas
    PictureBox* Picture12;  // its border
    QComboBox* Combo2;      // TX Mode
    QPushButton* Command9;  // "送信( f12)"
    QPushButton* Command14; // "Tune"
    QPushButton* Command10; // "CWID"
    QPushButton* Command6;  // "画読込"
    QPushButton* Command16; // "挿絵の消去"
    QPushButton* Command18; // "クリヤ"
    QPushButton* Command19; // "WinTitle"
    QCheckBox* Check3;      // "240サイズに押し込める"
    QCheckBox* Check5;      // "自動挿絵"
    QCheckBox* Check6;      // "タイトルバーを入れる"
    // The inset border's colour: elements 0, 1, 10, 11, 13, 15, 16.
    std::array<QRadioButton*, 17> Option4{};
    QLabel* Label4; // the title bar's text
    // The title lines on the canvas; element 0 is the template, never printed.
    std::vector<QLabel*> Label1;
    QTimer* Timer6; // the one-shot redraw

    // ---- Workshop and sending ----
    PictureBox* Picture14 = nullptr; // the title bar's gradient band, behind Label4
    LineShape* Line2 = nullptr;      // the canvas marker at line 240
    QPushButton* Command8 = nullptr; // "挿絵の追加": the rubber band
    QGroupBox* Frame13 = nullptr;    // "挿絵の縁取り"
    QGroupBox* Frame8 = nullptr;     // the settings tab
    // Picture box elements drawn with the rubber band, by index.
    QMap<int, PictureBox*> Picture13;
    QMenu* txpicarg = nullptr; // "送信画加工"
    QAction* Pasteclip = nullptr;
    QAction* Getfile = nullptr;
    QAction* GetSASHIfile = nullptr;
    QAction* Savefile = nullptr;

    void SSTab2_Click();
    void Command9_Click();
    void Combo2_Click();
    void Check3_Click();
    void Check6_Click();
    void TB_ON_Click();
    void Command14_MouseUp(int Button);
    void Command10_Click();
    void Command18_MouseDown(int Button);
    void Command19_Click();
    void Command6_Click();
    void Getfile_Click();
    void Pasteclip_Click();
    void Savefile_Click();
    void GetSASHIfile_Click();
    void ToB4TxPic_Click();
    void Option4_MouseUp(int Index);
    void Command8_Click();
    void Frame13_Click();
    void Picture3_MouseUp(int Button);
    void Picture8_MouseDown(int Button, double X, double Y);
    void Picture8_MouseMove(int Button, double X, double Y);
    void Picture8_MouseUp(int Button, double X, double Y);
    void Picture11_MouseDown(int Button, double X, double Y);
    void Picture11_MouseMove(int Button, double X, double Y);
    void Picture13_MouseDown(int Index, int Button, double X, double Y);
    void Picture13_MouseMove(int Index, int Button, double X, double Y);
    void Picture13_MouseUp(int Index, int Button);
    // A file list dropped on the canvas; another type of file is refused with a message.
    void Picture8_DropFiles(const QStringList& files);
    // Ctrl+V: the clipboard's picture becomes the canvas.
    void PasteOntoCanvas();
    void DrawGradient(PictureBox* Hdc);
    void SstvStretchCopy();
    void printTitleOnTxPicture(const QLabel* label);
    void DrawSelectionRect(double X1, double Y1, double X2, double Y2);

    // ---- Title lines ----
    QLabel* Image1 = nullptr; // the marker where the next title line goes
    void BeginTitleEdit();
    void Label1_MouseDown(int Index, int Button, double X, double Y);
    void Label1_MouseMove(int Index, int Button, double X, double Y);
    void Label1_MouseUp(int Index, int Button);
    void Label1_DblClick(int Index);
    void Image1_MouseDown(double X, double Y);
    void Image1_MouseMove(int Button, double X, double Y);
    void Image1_MouseUp();
    // A click on the title bar: its text goes to the editor.
    void TitleBar_Click();

    QString LastPictureFile;
    QString TargetKind;
    int TargetElement = 0;
    int BandMode = 0;
    int BandDone = 0;
    double BandEndX = 0, BandEndY = 0;
    int ElementCounter = 0;
    int InsetResizing = 0;
    int InsetHandle = 0;
    int ToneOn = 0;
    QString ToneFreqText;

    // ---- QSO boxes ----
    QsoBox* Text1;                    // call sign
    QLabel* Label2 = nullptr;         // "Call Sign"
    QLabel* Label5 = nullptr;         // "HisRSV"
    QLabel* Label47 = nullptr;        // "QTH "
    QPushButton* Command3 = nullptr;  // "RSVmenu set" / "RST set完了"
    QPlainTextEdit* Text10 = nullptr; // the RSV list while it is edited
    QsoBox* Text7;                    // name
    QsoBox* Text5;                    // RSV sent
    QListWidget* List4;
    QsoBox* Text14;                 // QTH
    QLineEdit* Text11;              // contest number
    QScrollBar* VScroll4 = nullptr; // its spin, 0..32766
    QCheckBox* Check4;
    QCheckBox* Check1;     // "Time=UTC"
    QPushButton* Command1; // "LOG作成"
    QPushButton* Command7; // "消去"
    QLineEdit* Text3;      // message line, hidden when idle
    QLineEdit* Text16;     // own call sign
    QLabel* Label40;       // rig frequency
    StatusPanels* StatusBar1;

    // ---- Menus ----
    QMenuBar* menuBar = nullptr;
    QAction* pEnd = nullptr;
    QMenu* PMS = nullptr;               // "モード選択"
    std::array<QAction*, 6> PSKMODE{};  // 0 BPSK .. 5 SSTV; 4 (CW) hidden
    std::array<QAction*, 19> mmvMODE{}; // 10..18, the multi-mode sub-modes
    QAction* mmsCFG = nullptr;
    QAction* bigview = nullptr;
    // Items whose work comes with later issues, greyed until then.
    QAction* PSKCFG = nullptr;
    QAction* CONON = nullptr;
    QAction* TRVon = nullptr;
    QAction* VOLTX = nullptr;
    QAction* VOLRX = nullptr;
    QAction* PicLibShow = nullptr;
    QAction* HLDAT_VIEW = nullptr;
    QAction* TB_ON = nullptr;
    QAction* dxinfo = nullptr;
    QAction* STVHelp = nullptr;
    QMenu* PopupPic = nullptr;
    QAction* ToB4TxPic = nullptr;
    QAction* SaveRcvFile = nullptr;
    QAction* goClip = nullptr;
    QAction* QSLsashikomi = nullptr;
    QMenu* QTHPST = nullptr; // "QTHデータの取り扱い方"
    QAction* ADDQTHUPD = nullptr;
    QAction* ADDREM1 = nullptr;
    QAction* ADDREM2 = nullptr;

    // ---- Handlers ----
    void SstvEngineWndProc(std::int32_t msg, std::int32_t wParam, std::int32_t lParam);
    void SstvEngineStop();
    void pEnd_Click();
    // Esc: the picture or the tune tone stops, the rig is released at once
    // and the send buttons say receive.
    void stopSending();
    // The end by a signal: no question, whatever QSO is pending.
    void endWithoutQuestions();
    // True while the RSV list is open for editing with text the operator changed.
    bool rsvHoldsTyping() const;
    // Asked before that text goes with the window; the file stays as it was.
    bool mayDropRsvTyping();
    void PSKMODE_Click(int Index);
    void mmvMODE_Click(int Index);
    void mmsCFG_Click();
    void bigview_Click();

    // QSO boxes, the log button and the window's menus.
    void Text1_Change();
    void Text1_DblClick();
    void Label2_Click();
    void Text7_Change();
    void Text5_Change();
    void Label5_Click();
    void List4_Click(const QString& entry);
    void Text14_Change();
    // The QTH box's length follows the contest state: whoever starts or ends
    // a contest calls this once.
    void ContestStateChanged();
    void Label47_Click(const QPoint& globalPos);
    void Text11_Change();
    void VScroll4_Change();
    void Check1_Click();
    void Command1_Click();
    void Command3_Click();
    void Command7_Click();
    void ADDQTHUPD_Click();
    void ADDREM1_Click();
    void ADDREM2_Click();
    void PSKCFG_Click();
    void HLDAT_VIEW_Click();
    void dxinfo_Click();
    void TRVon_Click();
    void CONON_Click();
    void STVHelp_Click();
    void StatusBar1_PanelClick(int panel, const QPoint& globalPos);

    void ShowRxControl();
    void ShowTuneControl();
    void Check2_Click(int Index);
    void Command12_Click();
    void Command13_Click();
    void Option1_Click(int Index);
    void Option2_Click(int Index);
    void Option3_Click(int Index);
    void VScroll1_Change();
    void VScroll2_Change();
    void VScroll3_Change();
    void Command4_Click();
    void Combo1_Click();
    void Command11_Click();
    void Command15_Click();
    void Command17_Click();
    void Command21_Click();
    void Command2_Click();
    void Check5_Click();
    void Command16_Click();
    void Picture4_MouseDown(int Button, double X);
    void Picture2_MouseUp(int Button, double X);

    void HScroll1_Change();
    void SSTab1_Click();
    void Picture1_MouseUp(int Button);
    void Picture9_MouseUp(int Button);
    void Picture9_DblClick();
    void goClip_Click();
    void SaveRcvFile_Click();
    void QSLsashikomi_Click();
    void SstvDrawDib(std::int32_t Dib);

    // ---- The picture library ----
    void PicLibShow_Click();
    // After the transmit folder changed: the open library lists it again.
    void RefreshLibraryTxTab();
    // A loaded picture, stretched whole, as the workshop's base picture or as its inset.
    void LibraryToWorkshop(std::int32_t picture);
    void LibraryToInset(std::int32_t picture);
    // The picture shown in the enlarged viewer; received pictures no longer go there.
    void ShowEnlarged(std::int32_t picture, const sstveng::Rect& source);

    // Window state.
    QString RxControlWord;
    QString TuneControlWord;
    int TuneFrameOpen = 0;
    int SstvAfcOn = 0;
    int SstvLmsOn = 0;
    int ManualRxOn = 0;
    int CorrectedSampleFreq = 0;
    QString PopupSource;
    int RsvEditMode = 0;
    int ClearBusy = 0;
    // The length an exchange typed into the QTH box may reach; 0 outside a contest.
    int QthLimit = 0;

  protected:
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    void endRun();
    void buildReceiveSide();
    void buildTuningControls();
    void buildTransmitSide();
    void buildQsoBoxes();
    void buildMenus();
    void buildPictureMenu();
    void connectReceive();
    QWidget* receiveControls();
    QWidget* qsoArea();

    void readSettings();
    void readFolders();
    void readBorderAndTitle();
    void placeWindow();
    void startEngine();
    void createBitmaps();
    void releaseBitmaps();

    void onJob();
    void onTxState(std::int32_t lParam);
    void onPictureStart();
    void onPictureEnd();
    void onFskId();
    void drawRx(PictureBox* box, int width, int height);

    void sendRxWord(const QString& word);
    void sendTuneWord(const QString& word);
    void focusBack();
    bool showHistoryFile();
    std::int32_t workCopyOfPicked();
    void changeFromHere(int Index);
    void makeQsoControls();
    void connectQso();
    void connectMenus();
    void applyLogLink();
    bool qsoEvent(QObject* watched, QEvent* e);
    bool callBoxEvent(QEvent* e);
    bool qthKeyEvent(const QKeyEvent& key);
    void callDropped(const QString& text);
    void lookUpCall();
    void placeBesideRsv(QWidget* popup);
    void placeMessageLine();
    void showTimedFailure(const QString& path);

    void buildWorkshop();
    void connectTransmit();
    void composeTxPicture(const sstveng::Rect& source, const sstveng::Rect& drawn);
    // Nothing put on the canvas since the window came: a background of one
    // colour, no inset, no picture box, no title bar, no title line with text.
    bool canvasLeftEmpty() const;
    // A tab chosen on either strip drops a title line's placement armed on
    // the canvas, and the pointers it set.
    void dropArmedPlacement();
    // Such a canvas goes out only on the operator's yes.
    bool emptyCanvasAgreed();
    void copyTitleBar(QImage& onto);
    void titleBarShown(bool on);
    void redrawInsetIfShown();
    void drawIntoCanvas(std::int32_t picture, int width, int height);
    std::int32_t openPicture(bool storeFolder);
    void makeInsetFromPicked();
    void removeElement(int Index);
    void popupPictureMenu();
    void setProgressFor(int txLines);
    void buildTitleMarker();
    // The canvas's press and move rules for the title lines; true when one applied.
    bool titleCanvasDown(double X, double Y);
    bool markerFollows(int Button, double X, double Y);
    void watchTitleLabel(QLabel* label);
    forms::WindowFilter* titleEvents_ = nullptr;
    QPointF titleDrag_;
    QPointF markerGrab_;

    bool engineRunning_ = false;
    // The end of the run has begun: a second way to it (a signal while its
    // box waits) finds it under way.
    bool endRunning_ = false;
    // Keeps the title bar's time variables current while the window is loaded.
    QTimer* titleClock_ = nullptr;
    // Where the inset was grabbed, and where a resize started.
    QPointF insetGrab_;
    QPointF elementGrab_;
    double resizeStartX_ = 0;
    int resizeStartWidth_ = 0, resizeStartHeight_ = 0, resizeStartTop_ = 0;
    bool settingFromEngine_ = false;
    // The inset's and its border's places when the window was built.
    QRect insetHome_;
    QRect borderHome_;
};

namespace sstv {
// Before the window goes (a mode change, the end): a title bar text typed in
// the editor that the settings cannot hold is said and goes only on the
// operator's yes; false keeps the window and the editor on its box.
bool MayCloseTitleEditor();
} // namespace sstv

namespace forms {
inline ::SSTVForm& SSTVForm() {
    return get<::SSTVForm>();
}
} // namespace forms
