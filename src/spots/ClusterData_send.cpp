// The spot window's actions: the time cell's zone and the submission of a
// spot of one's own to the fallback spot server.
#include "core/SharedRoutines.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/text/ShiftJisText.h"
#include "platform/forms/windows/WindowFrame.h"
#include "platform/os/Cp932.h"
#include "rig/RigGlobals.h"
#include "rig/RigPolling.h"
#include "spots/ClusterData.h"
#include "spots/SpotGlobals.h"
#include "spots/SpotGrid.h"
#include "spots/SpotSource.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <cmath>

namespace spots {

QByteArray submissionBody(const QString& myCall, const QString& dxCall, const QString& freq,
                          const QString& info) {
    const auto field = [](const char* name, const QString& value) {
        return QByteArray(name) + '=' + cp932::encode(value).toPercentEncoding();
    };
    return field("mycall", myCall) + '&' + field("dxcall", dxCall) + '&' + field("freq", freq) + '&' +
           field("info", info);
}

bool isSpotFrequency(const QString& khz) {
    bool ok = false;
    const double v = khz.trimmed().toDouble(&ok);
    return ok && std::isfinite(v) && v > 0;
}

} // namespace spots

void ClusterData::MSFlexGrid1_Click(int row, int column) {
    if (column != spots::ColTime) return;
    QTableWidgetItem* item = MSFlexGrid1->item(row, column);
    if (item) item->setText(spots::toggleSpotTime(item->text()));
}

void ClusterData::SendInformation_Click() {
    if (Frame3->isVisible()) {
        Frame3->hide();
        return;
    }
    Label4->hide();
    Frame3->show();
    // The frame makes the window taller: it stays whole on the screen as it opened.
    winframe::keepOnScreen(this);
    if (rig::g.RigPollMode == 1) rig::RigReadStatus();
}

void ClusterData::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) Frame3->hide();
    QWidget::keyPressEvent(event);
}

// Typing in a submission box stops the rig poll's filling until Enter or Esc;
// a right-button release empties the box.
bool ClusterData::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
        Frame3->hide();
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (!box || (box != Text5 && box != Text6 && box != Text7)) return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const bool ends = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape;
        spots::g.ClusterAutoCall = ends ? QStringLiteral("0") : QStringLiteral("1");
    } else if (event->type() == QEvent::MouseButtonRelease &&
               static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        box->clear();
        return true;
    } else if (event->type() == QEvent::ContextMenu) {
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void ClusterData::Command2_Click() {
    if (!core::IsOwnCall(Text4->text()) || Text5->text().trimmed().isEmpty() ||
        Text6->text().trimmed().isEmpty()) {
        ui::msgBox(QStringLiteral("情報不足で送信できません"));
        return;
    }
    if (!spots::isSpotFrequency(Text6->text())) {
        ui::msgBox(QStringLiteral("Freq(Khz) は周波数を数字で入れて下さい。送信しませんでした。"));
        Text6->setFocus();
        return;
    }
    // The form goes in Shift-JIS: a character that would arrive as another
    // ("?") is said at its box, which keeps what was typed.
    const std::pair<QLineEdit*, const char*> boxes[] = {
        {Text5, "DX Call"}, {Text6, "Freq(Khz)"}, {Text7, "Remarks"}, {Text4, "MyCall"}};
    for (const auto& [box, name] : boxes)
        if (!ui::shiftJisHolds(box->text(), box, QString::fromLatin1(name),
                               QStringLiteral("スポット情報として送信")))
            return;
    Timer1->stop();
    cancelFetch();
    QNetworkRequest request{QUrl(spots::submissionUrl())};
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      QByteArrayLiteral("application/x-www-form-urlencoded"));
    submit_ =
        net_.post(request, spots::submissionBody(Text4->text(), Text5->text(), Text6->text(), Text7->text()));
    spots::LimitRequest(submit_);
    Command2->setEnabled(false);
    connect(submit_, &QNetworkReply::finished, this, &ClusterData::onSubmitDone);
}

// The frame and its remarks stay until the server took the spot.
void ClusterData::onSubmitDone() {
    QNetworkReply* reply = submit_;
    if (!reply) return;
    submit_ = nullptr;
    reply->disconnect(this);
    forms::destroyLater(reply);
    Command2->setEnabled(true);
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->error() != QNetworkReply::NoError || status < 200 || status > 299) {
        setWindowTitle(spots::stateCaption(spots::FetchState::Failed, SpotFallbackOn == 1));
        SpotFallbackOn = 1;
        SpotPageUrl = spots::fallbackPageUrl();
    } else {
        Frame3->hide();
        Text7->clear();
    }
    // Polling goes on unless a page choice has already set it going again.
    if (!reply_ && !Timer1->isActive()) Timer1->start();
    emit submitFinished();
}

void ClusterData::cancelSubmit() {
    spots::AbandonRequest(submit_, this);
}
