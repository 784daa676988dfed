#pragma once
// The DX spot window: polls a spot page, shows its newest fifteen spots and
// tells the operator of a new newest spot. The main window's and the SSTV
// window's spot items show it modeless.
#include "platform/forms/windows/Forms.h"
#include "spots/SpotPage.h"

#include <QAction>
#include <QByteArray>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QNetworkAccessManager>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTimer>
#include <QWidget>

#include <array>
#include <optional>

namespace spots {
// The submission's form body: the fields in their order, Shift-JIS bytes percent-encoded.
QByteArray submissionBody(const QString& myCall, const QString& dxCall, const QString& freq,
                          const QString& info);
// A frequency in kHz as the submission takes it: a number above 0.
bool isSpotFrequency(const QString& khz);
} // namespace spots

class QNetworkReply;

namespace spots {
// Aborts a request once it has taken RequestLimitMsecs in all, however its
// bytes trickle in; the reply then finishes with an error.
void LimitRequest(QNetworkReply* reply);
// Drops the request held in `slot`, if any: no more of its signals reach
// `receiver`, it is aborted and deleted, and the slot is left empty.
void AbandonRequest(QPointer<QNetworkReply>& slot, QObject* receiver);
} // namespace spots

class ClusterData : public QWidget {
    Q_OBJECT
  public:
    ClusterData();
    void Form_Load();
    void Form_Unload();

    QMenuBar* menuBar;
    QAction* ccls;
    QMenu* SETTING;
    // The alert sound.
    QMenu* CLSTR_SOUND;
    QMenu* NEWSUND;
    QAction* beepoff;
    QAction* sndon;
    QAction* beepon;
    QAction* setSound;
    QAction* Sound_Test;
    QAction* Sound_TestStop;
    QAction* SoundLooploop;
    QAction* DispJSTItem;
    // Frequency corrections of the submission boxes (RTTY, hidden, and PSK31)
    // and of the frequency handed to the rig (RTTY, PSK31).
    QMenu* Freqdat;
    QAction* Mcompon;
    QAction* Mcompoff;
    QMenu* FreqdatPSK;
    QAction* McomponPSK;
    QAction* McompoffPSK;
    QAction* getAuto;
    QMenu* setRigfreq;
    QAction* sMcompOn;
    QAction* sMcompOff;
    QMenu* setRigfreqPSK;
    QAction* sMcompOnPSK;
    QAction* sMcompOffPSK;
    QAction* SendInformation;
    QAction* HLPclst;
    QGroupBox* Frame1;
    std::array<QRadioButton*, 4> Option1;
    QLabel* Label4; // "新着情報がありました。"
    QTableWidget* MSFlexGrid1;
    QTimer* Timer1;
    // Spot submission: own call, DX call, frequency in kHz, remarks.
    QGroupBox* Frame3;
    QLineEdit* Text4;
    QLineEdit* Text5;
    QLineEdit* Text6;
    QLineEdit* Text7;
    QPushButton* Command2;

    void Option1_Click(int index);
    void Timer1_Timer();
    void MSFlexGrid1_Click(int row, int column);
    void MSFlexGrid1_MouseDown(int row);
    void MSFlexGrid1_DblClick(int row);
    void SendInformation_Click();
    void Command2_Click();

    // Window state.
    QString SpotPageUrl;
    int SpotFallbackOn = 0;
    int SpotHeadSeen = 0;
    QString LastSpotHead;
    spots::SpotRows SpotTable;
    QString DispJST = QStringLiteral("0");
    // The double-clicked spot: its dial while corrected and sent, its remarks,
    // and its frequency in MHz before a transverter's shift.
    qint64 SpotDialFreqHz = 0;
    QString SpotRemarks;
    QString SpotFreqText;

  signals:
    // A fetch ended (with a page or without); the next tick is armed.
    void fetchFinished();
    // A submission ended (taken or not).
    void submitFinished();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildMenus();
    void buildSoundMenu();
    void buildCorrectionMenus();
    void loadMenuChecks();
    void loadSoundChecks();
    void chooseAlertMode(QAction* item, const QString& mode);
    void setSound_Click();
    void SoundLooploop_Click();
    void getAuto_Click();
    // A failing alert is told once for each load of the window.
    void tellAlertFault(const QString& message);
    void buildLayout();
    void placeWindow();
    void PollSpotPage();
    void startFetch();
    void onReadyRead();
    void takeArrived(QNetworkReply* reply);
    void onFetchDone();
    // answered: the server sent a page (false for a failed fetch, which reads as an empty page).
    void FetchSpotPage(const QByteArray& bytes, const QByteArray& contentType, bool answered = true);
    void showSpots(const QString& head, const spots::SpotRows& rows);
    void cancelFetch();
    void onSubmitDone();
    void cancelSubmit();
    void HLPclst_Click();
    // False when a mode change the spot needs was refused: the spot then stops there.
    bool changeModeForSpot();
    void correctDialForMode(int offsetHz);
    bool changeModeForCw();
    void SendSpotFrequencyToRig();

    QNetworkAccessManager net_;
    // The page fetch and the submission go their own ways: a page choice
    // cancels the one, never the other.
    QPointer<QNetworkReply> reply_;
    QPointer<QNetworkReply> submit_;
    QByteArray received_;
    // The spot under the pointer when the last click on the grid began.
    struct PressedSpot {
        int row = -1;
        QString call, freq, remarks;
    };
    PressedSpot pressedSpot_;
    // A press on the grid holds what a poll brings until its double click is
    // over, or the double-click time has passed without one: no row moves
    // between the press and the double click.
    struct HeldPage {
        QString head;
        spots::SpotRows rows;
    };
    QTimer clickHold_;
    bool inDoubleClick_ = false;
    std::optional<HeldPage> heldPage_;
    // The spot the operator last pressed: the selection follows it through a refresh.
    std::optional<spots::SpotRow> pickedSpot_;
    void holdRowsForClick(int row);
    void doubleClicked(int row);
    void showHeldRows();
    void forgetPick();
    // The grid row of the operator's spot, -1 when it is not listed.
    int rowOfPick() const;
    // False when the operator's spot is no longer listed.
    bool selectionFollowsPick(int fromRow);
    bool receiving_ = false;
    bool alertFaultTold_ = false;
};

namespace forms {
inline ::ClusterData& ClusterData() {
    return get<::ClusterData>();
}
} // namespace forms
