#include "logwindows/lookups/AreaCodes.h"

#include "log/LogGlobals.h"
#include "logwindows/entry/LogEntry.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "logwindows/lookups/CODE_LIST.h"
#include "logwindows/lookups/EarlierQsoLookup.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/text/TextRule.h"
#include "platform/forms/windows/WindowFrame.h"
#include "platform/hamlog/Hamlog.h"
#include "platform/hamlog/HamlogMaster.h"

#include <QFile>
#include <QKeyEvent>
#include <QLayout>

namespace logwindows {

namespace {

// The search frame's label: the area first ("3ｴﾘｱの郡名"), or the DX entities.
QString searchLabel(int kind, const QString& area) {
    static const char* const kNames[] = {"市", "郡", "区", "町", "村"};
    if (kind == 3) return QStringLiteral("DXｴﾝﾃｨﾃｨ");
    return area + QStringLiteral("ｴﾘｱの") + QString::fromUtf8(kNames[kind - 4]) + QStringLiteral("名");
}

QString masterPath(const char* extension) {
    return hamlog::masterFile(logbook::g.HamlogDataPath, extension);
}

// A master record's own initial key, with its area when the call has one.
QString initialKeyOf(const hamlog::MasterRecord& r, bool withArea) {
    return r.Kind + r.Prefix.left(1) + (withArea ? r.Area : QString());
}

void showList() {
    forms::CODE_LIST().show();
}

} // namespace

AreaCodes::AreaCodes(TEMP_LOG& w)
    : WindowFilter(&w), w_(w), codeBox_(w.Text9), codeLabel_(w.Label9), searchBox_(w.Text18) {
    for (QObject* o : {codeBox_, codeLabel_, searchBox_})
        watch(o);
    const std::pair<QAction*, int> kinds[] = {{w.CCTY, 4}, {w.CGUN, 5}, {w.CKU, 6},
                                              {w.CTWN, 7}, {w.CVLI, 8}, {w.CDX, 3}};
    for (auto [item, kind] : kinds)
        connect(item, &QAction::triggered, this, [this, kind] { startSearch(kind); });
    connect(w.Command1, &QPushButton::clicked, this, [this] {
        endSearch();
        logbook::g.CodeListExtended = 0;
    });
}

void AreaCodes::takeCallArea() {
    callArea = logbook::callAreaOf(w_.Text2->text(), w_.Text1->text());
}

bool AreaCodes::filter(QObject* watched, QEvent* e) {
    const bool release =
        e->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton;
    if ((watched == codeLabel_ && release) ||
        (watched == codeBox_ && e->type() == QEvent::MouseButtonDblClick)) {
        offerKinds();
        return true;
    }
    if (e->type() != QEvent::KeyPress) return false;
    const int key = static_cast<QKeyEvent*>(e)->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (watched == searchBox_) {
        if (enter)
            searchEntered();
        else if (key == Qt::Key_Escape)
            endSearch();
        else
            return false;
        return true;
    }
    if (watched != codeBox_) return false;
    logbook::g.CodeListExtended = enter ? 0 : 1;
    takeCallArea();
    if (key == Qt::Key_Down) {
        lookUpCode();
    } else if (key >= Qt::Key_F4 && key <= Qt::Key_F9) {
        // The window's own keys come first, as the window sees every key before its boxes.
        w_.Form_KeyDown(key);
        startSearch(key == Qt::Key_F4 ? 3 : 4 + (key - Qt::Key_F5));
        return true;
    }
    return false;
}

void AreaCodes::offerKinds() {
    takeCallArea();
    logbook::g.CodeListExtended = 1;
    w_.JCCG->popup(QCursor::pos());
}

void AreaCodes::lookUpCode() {
    forms::unload<CODE_LIST>();
    CloseLog();
    const QString code = w_.Text9->text().trimmed();
    if (code.size() < 4) return;
    hamlog::MasterIndex index;
    if (hamlog::idx_open(masterPath("dx2"), index) != hamlog::Done) return;
    const int recNo = hamlog::idx_search(index, code, static_cast<int>(code.size()));
    hamlog::idx_close(index);
    if (recNo == 0) {
        ui::msgBox(QStringLiteral("このコードはマスタデータに存在しません"), ui::OkOnly);
        return;
    }
    const auto r = hamlog::readMasterRecord(masterPath("mst"), recNo);
    if (!r) return;
    w_.Text9->setText(r->Code.trimmed());
    w_.Text13->setText(r->Name.trimmed());
    FillMasterRow(1, *r);
    showList();
}

void AreaCodes::startSearch(int kind) {
    forms::unload<CODE_LIST>();
    CodeSearchKind = kind;
    w_.Label16->setText(searchLabel(kind, callArea.area));
    // The DX entities are typed in letters, the areas' initials in hiragana.
    w_.Text18->setAttribute(Qt::WA_InputMethodEnabled, kind != 3);
    ui::setTextLimit(w_.Text18, kind == 3 ? 3 : 1);
    showSearchFrame();
    w_.Text18->setFocus();
}

void AreaCodes::searchEntered() {
    const QString initial = w_.Text18->text();
    if (initial.isEmpty()) {
        hideSearchFrame();
        return;
    }
    CodeSearchKey =
        QString::number(CodeSearchKind) + initial + (callArea.pos > 0 ? callArea.area : QString());
    w_.Text9->setFocus();
    hideSearchFrame();
    if (CodeSearchKind == 3)
        LookupPrefix(initial.toUpper());
    else
        SearchCodeByInitial(CodeSearchKey);
    w_.Text18->clear();
}

void AreaCodes::endSearch() {
    w_.Text18->clear();
    w_.Text9->setFocus();
    hideSearchFrame();
}

void AreaCodes::showSearchFrame() {
    if (w_.Frame2->isHidden()) heightBeforeSearch_ = w_.height();
    w_.Frame2->show();
    winframe::keepOnScreen(w_.window());
}

void AreaCodes::hideSearchFrame() {
    w_.Frame2->hide();
    if (heightBeforeSearch_ <= 0) return;
    w_.layout()->activate();
    w_.resize(w_.width(), heightBeforeSearch_);
    heightBeforeSearch_ = 0;
}

void AreaCodes::SearchCodeByInitial(const QString& key) {
    CloseLog();
    hamlog::MasterIndex index;
    if (hamlog::idx_open(masterPath("dx4"), index) != hamlog::Done) return;
    int recNo = hamlog::idx_search(index, key, 0);
    if (recNo == 0) {
        hamlog::idx_close(index);
        ui::msgBox(QStringLiteral("その頭文字は見つかりません。"), ui::OkOnly);
        return;
    }
    QFile mst(masterPath("mst"));
    const auto first = mst.open(QIODevice::ReadOnly) ? hamlog::readMasterRecord(mst, recNo) : std::nullopt;
    if (!first) {
        hamlog::idx_close(index);
        return;
    }
    forms::CODE_LIST().clearRows();
    FillMasterRow(1, *first);
    // The matches follow in index order as long as their own key is the one asked.
    int row = 1;
    while ((recNo = hamlog::idx_next(index)) > 0) {
        const auto r = hamlog::readMasterRecord(mst, recNo);
        if (!r || initialKeyOf(*r, callArea.pos > 0) != key) break;
        logwindows::FlexGrid& grid = *forms::CODE_LIST().MSFlexGrid1;
        grid.addRow(QString::number(++row));
        FillMasterRow(row, *r);
    }
    hamlog::idx_close(index);
    w_.Text9->setText(first->Code.trimmed());
    w_.Text13->setText(first->Name.trimmed());
    showList();
}

} // namespace logwindows
