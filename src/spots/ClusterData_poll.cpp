// The spot window's polling: one request at a time, 20 seconds at most in
// all (a server that trickles its page is cut off too), the next tick counted
// from the end of each fetch.
#include "spots/ClusterData.h"
#include "spots/SpotAlert.h"
#include "spots/SpotGlobals.h"
#include "spots/SpotGrid.h"
#include "spots/SpotSource.h"

#include <QGuiApplication>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QStyleHints>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace {

constexpr int PollIntervalMsecs = 60'000;

} // namespace

namespace spots {

void LimitRequest(QNetworkReply* reply) {
    auto* limit = new QTimer(reply);
    limit->setSingleShot(true);
    QObject::connect(limit, &QTimer::timeout, reply, &QNetworkReply::abort);
    limit->start(RequestLimitMsecs);
}

void AbandonRequest(QPointer<QNetworkReply>& slot, QObject* receiver) {
    if (!slot) return;
    QNetworkReply* reply = slot;
    slot = nullptr;
    reply->disconnect(receiver);
    reply->abort();
    forms::destroyLater(reply);
}

} // namespace spots

void ClusterData::Timer1_Timer() {
    Label4->hide();
    if (spots::g.AlertWavLoop == QLatin1String("True")) spots::StopAlertSound();
    spots::g.ClusterPolled = 1;
    PollSpotPage();
}

void ClusterData::PollSpotPage() {
    Timer1->stop();
    startFetch();
}

void ClusterData::startFetch() {
    cancelFetch();
    QNetworkRequest request{QUrl(SpotPageUrl)};
    received_.clear();
    receiving_ = false;
    reply_ = net_.get(request);
    spots::LimitRequest(reply_);
    setWindowTitle(spots::stateCaption(spots::FetchState::Requesting, SpotFallbackOn == 1));
    connect(reply_, &QNetworkReply::readyRead, this, &ClusterData::onReadyRead);
    connect(reply_, &QNetworkReply::finished, this, &ClusterData::onFetchDone);
}

// What has arrived of the page, up to its limit. Asked for the whole rest of
// the limit, a read would set aside a mebibyte for the page and hold it until
// the next fetch, however short the page.
void ClusterData::takeArrived(QNetworkReply* reply) {
    received_ +=
        reply->read(std::min<qint64>(reply->bytesAvailable(), spots::SpotPageLimit - received_.size()));
}

// Keeps at most the first mebibyte of a page; a longer one is cut there.
void ClusterData::onReadyRead() {
    if (!reply_) return;
    if (!receiving_) {
        receiving_ = true;
        setWindowTitle(spots::stateCaption(spots::FetchState::Receiving, SpotFallbackOn == 1));
    }
    takeArrived(reply_);
    if (received_.size() >= spots::SpotPageLimit) {
        QNetworkReply* reply = reply_;
        reply_ = nullptr;
        reply->disconnect(this);
        reply->abort();
        forms::destroyLater(reply);
        setWindowTitle(spots::stateCaption(spots::FetchState::Received, SpotFallbackOn == 1));
        FetchSpotPage(received_, reply->header(QNetworkRequest::ContentTypeHeader).toByteArray());
    }
}

void ClusterData::onFetchDone() {
    QNetworkReply* reply = reply_;
    if (!reply) return;
    reply_ = nullptr;
    reply->disconnect(this);
    forms::destroyLater(reply);
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->error() != QNetworkReply::NoError || status < 200 || status > 299) {
        setWindowTitle(spots::stateCaption(spots::FetchState::Failed, SpotFallbackOn == 1));
        SpotFallbackOn = 1;
        SpotPageUrl = spots::fallbackPageUrl();
        // A failed fetch reads as an empty page: no head, no alert, no rows.
        FetchSpotPage({}, {}, false);
        return;
    }
    takeArrived(reply);
    // An empty page is a page all the same: the caption says it came.
    setWindowTitle(spots::stateCaption(spots::FetchState::Received, SpotFallbackOn == 1));
    FetchSpotPage(received_, reply->header(QNetworkRequest::ContentTypeHeader).toByteArray());
}

void ClusterData::FetchSpotPage(const QByteArray& bytes, const QByteArray& contentType, bool answered) {
    const QString page = spots::decodeSpotPage(bytes, contentType);
    const spots::SpotLayout layout =
        SpotFallbackOn == 1 ? spots::SpotLayout::Fallback : spots::SpotLayout::Primary;
    const spots::SpotRows rows = spots::parseSpotRows(page, layout, DispJST == QLatin1String("1"));
    // A page without a spot line (an error page, random bytes) is told; the
    // grid keeps the spots it shows, and the next page is compared with them.
    if (answered && !spots::holdsSpots(rows))
        setWindowTitle(spots::stateCaption(spots::FetchState::NoSpots, SpotFallbackOn == 1));
    else
        showSpots(spots::spotHead(page), rows);
    Timer1->setInterval(PollIntervalMsecs);
    Timer1->start();
    emit fetchFinished();
}

void ClusterData::showSpots(const QString& head, const spots::SpotRows& rows) {
    if (clickHold_.isActive() || inDoubleClick_) {
        heldPage_ = HeldPage{head, rows};
        return;
    }
    const int pickedRow = rowOfPick();
    SpotTable = rows;
    spots::FillSpotGrid(*MSFlexGrid1, SpotTable);
    const bool followed = selectionFollowsPick(pickedRow);
    const bool changed = head != LastSpotHead && SpotHeadSeen == 1;
    if (changed && !head.isEmpty() && !LastSpotHead.isEmpty()) {
        if (!followed) {
            MSFlexGrid1->clearSelection();
            MSFlexGrid1->setRangeSelected(
                QTableWidgetSelectionRange(0, spots::ColTime, 0, spots::ColPostedBy), true);
        }
        spots::SoundAlert([w = QPointer<ClusterData>(this)](const QString& message) {
            if (w) w->tellAlertFault(message);
        });
        Label4->show();
    }
    LastSpotHead = head;
    SpotHeadSeen = 1;
}

void ClusterData::cancelFetch() {
    spots::AbandonRequest(reply_, this);
}

void ClusterData::holdRowsForClick(int row) {
    if (row >= 0 && row < spots::SpotRowCount && !SpotTable[std::size_t(row)].call.trimmed().isEmpty())
        pickedSpot_ = SpotTable[std::size_t(row)];
    else
        pickedSpot_.reset();
    clickHold_.start(QGuiApplication::styleHints()->mouseDoubleClickInterval());
}

void ClusterData::doubleClicked(int row) {
    const QPointer<ClusterData> self(this);
    inDoubleClick_ = true;
    MSFlexGrid1_DblClick(row);
    if (!self) return;
    inDoubleClick_ = false;
    clickHold_.stop();
    showHeldRows();
}

void ClusterData::showHeldRows() {
    if (inDoubleClick_ || !heldPage_) return;
    const HeldPage page = *std::exchange(heldPage_, std::nullopt);
    showSpots(page.head, page.rows);
}

void ClusterData::forgetPick() {
    clickHold_.stop();
    heldPage_.reset();
    pickedSpot_.reset();
}

int ClusterData::rowOfPick() const {
    if (!pickedSpot_) return -1;
    const auto it = std::find(SpotTable.begin(), SpotTable.end(), *pickedSpot_);
    return it == SpotTable.end() ? -1 : int(it - SpotTable.begin());
}

// The operator's spot moved by the refresh: its selection moves with it.
bool ClusterData::selectionFollowsPick(int fromRow) {
    const int toRow = rowOfPick();
    if (toRow < 0) {
        pickedSpot_.reset();
        return false;
    }
    if (toRow == fromRow || fromRow < 0) return true;
    const QList<QTableWidgetSelectionRange> ranges = MSFlexGrid1->selectedRanges();
    const int column = MSFlexGrid1->currentColumn();
    MSFlexGrid1->clearSelection();
    MSFlexGrid1->setCurrentCell(toRow, std::max(column, 0), QItemSelectionModel::NoUpdate);
    for (const QTableWidgetSelectionRange& r : ranges) {
        const int top = r.topRow() - fromRow + toRow, bottom = r.bottomRow() - fromRow + toRow;
        MSFlexGrid1->setRangeSelected(QTableWidgetSelectionRange(std::max(top, 0), r.leftColumn(),
                                                                 std::min(bottom, spots::SpotRowCount - 1),
                                                                 r.rightColumn()),
                                      true);
    }
    return true;
}
