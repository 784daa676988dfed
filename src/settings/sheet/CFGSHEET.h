#pragma once
// The settings sheet. Opened from the main window's settings menu (with
// CfgSheetLoading = 1) or, on a first run, by the main window's load; its load
// fills every control in a fixed order through the controls' own handlers,
// each control applies its value at once, and the closing writes the rest,
// starts or stops the logging program, reopens the rig port and, after a first
// run, hands over to the main window.
#include "platform/forms/windows/Forms.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QTabWidget>
#include <QWidget>
#include <array>
#include <vector>

class CFGSHEET : public QWidget {
    Q_OBJECT
  public:
    CFGSHEET();
    ~CFGSHEET() override;
    void Form_Load();
    // Opens the sheet from a window's settings menu, owned by that window.
    // With quietLoad (the main window's menu) the load leaves the rig port and
    // the engines alone; from the SSTV window its handlers run as if clicked.
    // An open sheet is only brought forward: no load runs, so nothing is quieted.
    static void openFrom(QWidget* owner, bool quietLoad);

    QTabWidget* SSTab1;
    QGroupBox* Frame2; // "Call Sign."
    QLineEdit* Text1;  // own call sign
    QLabel* Label32;   // the note of a tab in SSTV mode
    QMenuBar* menus;
    QAction* CFGEND;
    QAction* CFGHLP;

    // Tab 0, the display.
    QGroupBox* Frame19;
    QPushButton* Command1;  // receive pane colour
    QPushButton* Command3;  // transmit box colour
    QPushButton* Command10; // play-back pane colour
    QPushButton* Command5;  // colour of sent text
    QPushButton* Command2;  // receive font
    QPushButton* Command4;  // transmit font
    QGroupBox* Frame5;      // multi-channel
    QPushButton* Command8;  // multi-channel font
    QCheckBox* Check5;      // panes side by side ([MultiDSP] HORZ)
    QCheckBox* Check6;      // window on top ([MultiDSP] TOPV)
    QCheckBox* Check7;      // full-width to half-width
    QCheckBox* Check8;      // quote mark on pasting
    QLineEdit* Text3;       // the quote mark
    QCheckBox* Check12;     // time stamps at each change between receive and transmit

    // Tab 1, the PSK core library, the sound card and the PTT port.
    QGroupBox* Frame13;
    QGroupBox* Frame12; // sound-card clock
    QScrollBar* HScroll1;
    QLineEdit* Text13;
    QScrollBar* HScroll2;
    QLineEdit* Text14;
    QPushButton* Command20; // clock calibration
    QGroupBox* Frame10;     // squelch response
    QSlider* Slider1;
    QLabel* Label1;
    QGroupBox* Frame18; // rewind range
    QScrollBar* VScroll1;
    QLabel* Label27;
    QGroupBox* Frame8; // FFT
    QScrollBar* VScroll4;
    QLabel* Label8;
    QScrollBar* VScroll5;
    QLabel* Label10;
    QCheckBox* Check1; // root mode
    QGroupBox* Frame9; // receive search range
    QScrollBar* VScroll6;
    QLabel* Label11;
    QSlider* Slider4; // audio centre
    QLabel* Label2;
    QSlider* Slider2; // AFC limit
    QLabel* Label5;
    QGroupBox* Frame3; // CW ID speed
    std::array<QRadioButton*, 4> Option6{};
    QGroupBox* Frame4; // sound card
    std::array<QRadioButton*, 3> Option3{};
    QGroupBox* Frame1; // PTT port
    std::array<QRadioButton*, 9> Option1{};

    // Tab 2, the log.
    std::array<QRadioButton*, 3> Option8{}; // window link, library link, no log
    QPushButton* Command6;                  // where the logging program is
    QGroupBox* Frame7;                      // without the logging program's window
    QCheckBox* Check4;                      // confirm before logging
    QCheckBox* Check9;                      // show the log viewer at start
    QCheckBox* Check3;                      // his RST preset 599
    QCheckBox* Check2;                      // save the receive text at exit
    QLineEdit* Text4;                       // QSL mark
    QLineEdit* Text9;                       // eQSL exclusion mark
    QLineEdit* Text2;                       // log mode names: PSK31
    QLineEdit* Text6;                       // RTTY
    QLineEdit* Text15;                      // SSTV
    QLineEdit* Text7;                       // outside program 1
    QLineEdit* Text8;                       // outside program 2
    QPushButton* Command7;                  // QSL printing program
    QPushButton* Command18;                 // MMQSL definition
    QPushButton* Command9;                  // award program
    QPushButton* Command11;                 // outside program 1
    QPushButton* Command12;                 // outside program 2
    QPushButton* Command13;                 // QSOBank sender
    QPushButton* Command14;                 // eQSL remarks
    QPushButton* Command17;                 // received QTH
    QGroupBox* Frame17;                     // eQSL system
    std::array<QRadioButton*, 2> Option7{};
    QPushButton* Command15; // RST list editor
    QPushButton* Command16; // mode list editor
    QPlainTextEdit* Text10;
    QPlainTextEdit* Text12;
    QMenu* QTHDATA;                  // what becomes of a received QTH
    std::array<QAction*, 4> TOQTH{}; // "Free", "QTH", "Rem1", "Rem2"

    // Tab 3, the rig.
    QComboBox* Combo1; // rig family
    QLineEdit* Text11; // ICOM address
    std::array<QRadioButton*, 9> Option2{};
    std::array<QRadioButton*, 5> Option4{};
    std::array<QRadioButton*, 2> Option5{};
    QLineEdit* Text5; // command interval
    QGroupBox* Frame20;
    std::array<QRadioButton*, 3> Option9{};
    QScrollBar* HScroll3; // poll time
    QLabel* Label41;
    QCheckBox* Check14; // frequency correction by mode
    QCheckBox* Check13; // always on the internet
    QCheckBox* Check15; // transverter
    QLineEdit* Text16;  // transverter IF, MHz
    QLineEdit* Text21;  // PSK31 mode code
    QLineEdit* Text22;  // RTTY mode code
    QLineEdit* Text23;  // CW mode code
    // The serial ports that no "#n" button stands for, by device path (a USB
    // serial adapter, or the stored device).
    std::vector<QRadioButton*> RigDevice;
    QPushButton* Command19;

    // Handlers, as the operator reaches them through the controls.
    void SSTab1_Click(int tab);
    void CFGHLP_Click();
    void Command1_Click();
    void Command3_Click();
    void Command10_Click();
    void Command5_Click();
    void Command2_Click();
    void Command4_Click();
    void Command8_Click();
    void Check5_Click();
    void Check6_Click();
    void Check7_Click();
    void quoteMarkChanged();
    void Check12_Click();

    void HScroll1_Change();
    void HScroll2_Change();
    void Text13_Change();
    void Text14_Change();
    // The clock boxes left (or the sheet closing): the range applied to what they hold.
    void clockBoxesDone();
    void Slider1_Change();
    void VScroll1_Change();
    void VScroll4_Change();
    void VScroll5_Change();
    void Check1_Click();
    void VScroll6_Change();
    void Slider4_Change();
    void Slider2_Change();
    void Option6_Click(int index);
    void Option3_Click(int index);
    void Option1_Click(int index);

    void Option8_Click(int index);
    void Check4_Click();
    void Check9_Click();
    void Check3_Click();
    void Check2_Click();
    void Text4_Change();
    void Text9_Change();
    void Text2_Change();
    void Text6_Change();
    void Text15_Change();
    void Option7_Click(int index);
    void Command6_Click();
    void Command7_Click();
    void Command18_Click();
    void Command9_Click();
    void Command11_Click();
    void Command12_Click();
    void Command13_Click();
    void Command14_Click();
    void Command17_Click();
    void TOQTH_Click(int index);
    void Command15_Click();
    void Command16_Click();

    void Combo1_Click();
    void Text11_Change();
    void Option2_Click(int index);
    void RigDevice_Click(const QString& device);
    void Option4_Click(int index);
    void Option5_Click(int index);
    void Text5_Change();
    void Option9_Click(int index);
    void HScroll3_Change();
    void Check14_Click();
    void Check13_Click();
    void Check15_Click();
    void Text16_Change();
    void Command19_Click();

    // The finishing steps, from the menu item (finishItem) or the close box.
    // A ZORVATEK.INI that cannot be written is said once; the rest still runs.
    void finish(bool finishItem);

  protected:
    void closeEvent(class QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* buildDisplayTab();
    QWidget* buildSoundTab();
    QWidget* buildLogTab();
    QWidget* buildRigTab();
    void loadSteps();
    void loadSoundSteps();
    void loadRigSteps();
    void loadLogSteps();
    void loadEndSteps(bool configuredSystem, bool callStored);
    void sayUncarried(QLineEdit* box);
    // Before the closing writes the boxes: a box the operator changed that
    // holds a character the file cannot keeps the sheet open, shown on it.
    bool boxesHeld();
    // An open list editor's text stored into its file and list; false (the
    // editor stays open, said on its box) when it is refused or not written.
    bool storeListEditor(bool rst);
    bool listEditorsStored();
    bool entryMayGo(int index);
    QString boxCaption(const QLineEdit* box) const;
    bool rigPortChosen() const;
    void reopenRigPort();
    void setRigPortLabels(bool open);
    bool writeClosingKeys(bool finishItem);
    void startLoggingProgram();
    void stopLoggingProgram();
    void chooseOtherProgram(int n);
    void askQslSendMark();
    void tickQthItem();
    void chooseRigPort(const QString& name, int comNumber);
    void offerRigDevice(const QString& device);
    static QStringList listedSerialPorts();

    bool finished_ = false;
    // True while the sheet's own load sets the controls.
    bool loading_ = false;
    QString hamlogType_;
    QString eqslMessage_;
    // The list editors: true while the box shows the file for editing.
    bool rstEditorOpen_ = false;
    bool modeEditorOpen_ = false;
    class QHBoxLayout* rigDeviceRow_ = nullptr;
    // True while a box that holds what the file cannot takes the focus back.
    bool takingFocusBack_ = false;
};

namespace forms {
inline ::CFGSHEET& CFGSHEET() {
    return get<::CFGSHEET>();
}
} // namespace forms

namespace settings {
// Before the window that owns the sheet goes (a mode change that swaps the
// operating window, the operator's end of the program): a sheet opened from a
// window closes as its close box closes it, so what the operator typed is
// stored. False keeps the sheet open on a box whose text the file cannot hold,
// the operator told; its owner and what was about to happen then stay as they
// were.
bool MayCloseSheet();
} // namespace settings
