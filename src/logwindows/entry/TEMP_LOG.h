#pragma once
// The log entry window: one box per field of the log record, the band box, the
// list of other modes, the save, close and end-of-QSO items, the browse buttons
// and the export range. Built in TEMP_LOG.cpp; its load, keys and closing in
// TEMP_LOG_load.cpp; saving in TEMP_LOG_save.cpp; browsing in TEMP_LOG_browse.cpp;
// the contest save in TEMP_LOG_contest.cpp; QSL printing in TEMP_LOG_qsl.cpp;
// the electronic-QSL services in TEMP_LOG_eqsl.cpp.
#include "platform/forms/controls/StatusPanels.h"
#include "platform/forms/windows/Forms.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QWidget>

#include <optional>

class QKeyEvent;
namespace logwindows {
class LogEntryFields;
}

class TEMP_LOG : public QWidget {
    Q_OBJECT
  public:
    TEMP_LOG();
    ~TEMP_LOG() override;
    void Form_Load();
    void Form_Unload();

    QLineEdit* Text1;      // call sign
    QLineEdit* Text2;      // the other part of a call written with "/"
    QLineEdit* Text3;      // date "YYYY-MM-DD"
    QLineEdit* Text4;      // time "HH:MM" and "J" or "U"
    QLabel* Label4;        // "Time(UTC)" or "Time(JST)"
    QLineEdit* Text5;      // his RST
    QLineEdit* Text6;      // my RST
    QLabel* Label7;        // "MHz"
    QComboBox* Combo1;     // band, MHz
    QLabel* Label17;       // the frequency text stored with the record
    QLabel* Label8;        // "Mode ▼"
    QLineEdit* Text8;      // mode
    QListWidget* List1;    // other modes
    QLabel* Label9;        // "Code"
    QLineEdit* Text9;      // area code
    QGroupBox* Frame2;     // "頭文字検索", shown during an initial search
    QLabel* Label16;       // what the search looks for
    QLineEdit* Text18;     // the initial
    QPushButton* Command1; // "Cancel"
    QMenu* JCCG;           // "市郡区": the kinds of the initial search
    QAction* CCTY;
    QAction* CGUN;
    QAction* CKU;
    QAction* CTWN;
    QAction* CVLI;
    QAction* CDX;
    QLineEdit* Text10; // grid locator
    QLineEdit* Text11; // QSL mark
    QLineEdit* Text16; // QSL sent
    QLineEdit* Text17; // QSL received
    QLabel* Label11;   // "Name(F8)"
    QLineEdit* Text12; // name
    QLabel* Label12;   // "QTH"
    QLineEdit* Text13; // QTH
    QLabel* Label14;   // "Rem1"
    QLineEdit* Text14; // remarks 1
    QLabel* Label15;   // "Rem2"
    QLineEdit* Text15; // remarks 2

    QPushButton* Command5; // "<<"
    QPushButton* Command2; // "<"
    QPushButton* Command3; // ">"
    QPushButton* Command6; // ">>"
    QPushButton* Command4; // "新"
    QPushButton* Command7; // electronic-QSL button
    QPushButton* Command8; // "Strt"
    QPushButton* Command9; // "End"
    StatusPanels* StatusBar1;

    QMenuBar* menus;
    QAction* LSave;     // "LOG保存(F1)"
    QAction* Contest;   // "連続保存(Contest)"
    QAction* LCan;      // "閉（Esc）"
    QAction* LOGHLP;    // "Help": the help page at the log entry's section
    QAction* QSOEND;    // "終了時間"
    QAction* LT;        // the other station's local time
    QAction* HLQ;       // starts the QSL printing program
    QAction* GOEQSL;    // the eQSL service's page
    QAction* GOQSOBANK; // "ＱＳＯＢａｎｋのサイトへ"

    // Handlers.
    void LSave_Click();
    void Contest_Click();
    void HLQ_Click();
    // Button 1 exports, button 2 switches the service.
    void Command7_MouseUp(int button);
    void GOEQSL_Click();
    void GOQSOBANK_Click();
    void LCan_Click();
    void QSOEND_Click();
    void Command4_Click();
    void Combo1_Click();
    // False when the key is discarded.
    bool Combo1_KeyPress(const QKeyEvent& key);
    void BrowseClick(int step);
    void Command8_Click();
    void Command9_Click();
    void StatusBar1_MouseUp(int button);
    void Form_KeyDown(int key);

    // Procedures of the window.
    void WriteHamlogRecord();
    void ReloadHamlogRecord();
    void ShowHamlogRecord();
    void PrintQslWithMmqsl();
    void SetQthImeMode();
    void SetRem1ImeMode();
    void SetRem2ImeMode();
    // The rig's reading, for a new QSO only.
    void showRigFrequency(const QString& text);
    // Closing now would lose what the operator typed: a new QSO with a call
    // that is not stored, or a stored record whose boxes differ from it.
    bool holdsUnsavedTyping() const;
    // The operator's close without the question: the log closed, editing
    // ended, the focus back in the operating window's call box.
    void closeByOperator();

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void changeEvent(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

  private:
    logwindows::LogEntryFields* fields_ = nullptr;
    // A save or an export needs a call, a band, a date and a time that read
    // back; the band's text becomes the frequency label. Says which box is
    // wrong otherwise.
    bool entryCanBeStored();
    // A new QSO with the call just stored is stored again only on the
    // operator's word; a record on show is corrected without a question.
    bool mayAppend() const;
    // The save item after a new QSO went into the log: "保存完了", disabled.
    void showSaved();
    void buildFields();
    void buildButtons();
    void buildMenus();
    void buildSearch();
    void connectHandlers();
    void placeFromSettings();
    void readImeSwitches();
    void fillOtherModes();
    // The boxes of the record, to tell a stored record from its corrections.
    QStringList boxTexts() const;
    bool correctionsUnsaved() const;
    bool unsavedNewEntry() const;
    void showExportRange();
    bool readBrowsedRecord(int step);
    void prepareNextContestQso();
    void connectEqslButton();

    // The boxes as the record last shown from the log filled them.
    QStringList shownBoxes_;
};

namespace forms {
inline ::TEMP_LOG& TEMP_LOG() {
    return get<::TEMP_LOG>();
}
} // namespace forms
