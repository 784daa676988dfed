#include "settings/dialogs/CFG_MMTTY.h"

#include "core/engines/MmttyCommand.h"
#include "core/engines/MmttyState.h"
#include "core/ini/IniValues.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/controls/PictureBox.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/mmtty/MmttyProtocol.h"
#include "settings/dialogs/DialogPlace.h"
#include "settings/dialogs/EmergencyKey.h"
#include "settings/dialogs/MmttyDialogValues.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QGridLayout>
#include <QStyle>

#include <algorithm>

namespace {

const QString kSection = QStringLiteral("Mmtty");
constexpr int kWidth = 3030;
constexpr int kHeight = 4800;

// Changes reach the program only while the dialog may send them.
bool maySend() {
    return core::mm.MmttyCfgFlag != 0;
}

void postView(settings::ViewField field, int choice) {
    // Before the program has reported its view word there is nothing to build on.
    if (const auto word = settings::viewWordWith(core::mm.MmttyStatusBits, field, choice))
        core::PostMmttyCommand(mmtty::CmdSetView, *word);
}

// A list as tall as all its rows, so that no row hides under what follows.
// A row is at least a line of its font with the style's margins, which holds
// also before the view has laid its items out.
class AllRowsList : public QListWidget {
  public:
    AllRowsList() { setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed); }
    QSize sizeHint() const override {
        const int line =
            fontMetrics().lineSpacing() + 2 * style()->pixelMetric(QStyle::PM_FocusFrameVMargin) + 2;
        int height = 2 * frameWidth();
        for (int row = 0; row < count(); ++row)
            height += std::max(sizeHintForRow(row), line);
        return {QListWidget::sizeHint().width(), height};
    }
    QSize minimumSizeHint() const override {
        return {QListWidget::minimumSizeHint().width(), sizeHint().height()};
    }
};

} // namespace

CFG_MMTTY::CFG_MMTTY()
    : Label37(new QLabel(QStringLiteral("ＦＦＴ感度"))), List2(new AllRowsList),
      Label38(new QLabel(QStringLiteral("ＦＦＴ応答速度"))), List3(new AllRowsList),
      Label42(new QLabel(QStringLiteral("X-Y Scope"))),
      Option8{new QRadioButton(QStringLiteral("Lower(512ﾃﾞｰﾀ)")),
              new QRadioButton(QStringLiteral("Midium(1024ﾃﾞｰﾀ)")),
              new QRadioButton(QStringLiteral("Higher(2048ﾃﾞｰﾀ)")),
              new QRadioButton(QStringLiteral("Highest(4096ﾃﾞｰﾀ)")),
              new QRadioButton(QStringLiteral("None(表示しない)"))},
      Label41(new QLabel(QStringLiteral("Tx Delay"))), Text2(new QLineEdit),
      Command25(new QPushButton(QStringLiteral("Set"))),
      Command19(new QPushButton(QStringLiteral("ProFile Load"))),
      Command20(new QPushButton(QStringLiteral("ProFile Save"))),
      Command23(new QPushButton(QStringLiteral("MMTTY設定画面"))),
      Label40(new QLabel(QStringLiteral("注！他のアプリが動いていると開けない場合があります。"))),
      menus(new QMenuBar) {
    setWindowTitle(QStringLiteral("RTTY 動作設定"));
    setWindowFlags(Qt::Window | Qt::WindowStaysOnTopHint);
    CLOSE_CFG = menus->addAction(QStringLiteral("閉じる"));
    List2->addItems({QStringLiteral("Lower"), QStringLiteral("Midium"), QStringLiteral("Higher"),
                     QStringLiteral("Highest")});
    List3->addItems({QStringLiteral("Slow"), QStringLiteral("Midium"), QStringLiteral("Fast")});
    // Each list shows all its choices without scrolling.
    for (QListWidget* list : {List2, List3})
        list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Label40->setWordWrap(true);
    auto* scope = new QButtonGroup(this);
    auto* grid = new QGridLayout(this);
    grid->setMenuBar(menus);
    grid->addWidget(Label37, 0, 0);
    grid->addWidget(List2, 1, 0);
    grid->addWidget(Label38, 0, 1);
    grid->addWidget(List3, 1, 1);
    grid->addWidget(Label42, 2, 0, 1, 2);
    for (int i = 0; i < 5; ++i) {
        scope->addButton(Option8[std::size_t(i)], i);
        grid->addWidget(Option8[std::size_t(i)], 3 + i, 0, 1, 2);
    }
    grid->addWidget(Label41, 8, 0);
    grid->addWidget(Text2, 9, 0);
    grid->addWidget(Command25, 9, 1);
    grid->addWidget(Command19, 10, 0);
    grid->addWidget(Command20, 10, 1);
    grid->addWidget(Command23, 11, 0, 1, 2);
    grid->addWidget(Label40, 12, 0, 1, 2);

    connect(List2, &QListWidget::currentRowChanged, this, &CFG_MMTTY::List2_Click);
    connect(List3, &QListWidget::currentRowChanged, this, &CFG_MMTTY::List3_Click);
    connect(scope, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on) Option8_Click(id);
    });
    connect(Command25, &QPushButton::clicked, this, &CFG_MMTTY::Command25_Click);
    connect(Command19, &QPushButton::clicked, this, &CFG_MMTTY::Command19_Click);
    connect(Command20, &QPushButton::clicked, this, &CFG_MMTTY::Command20_Click);
    connect(Command23, &QPushButton::clicked, this, &CFG_MMTTY::Command23_Click);
    connect(CLOSE_CFG, &QAction::triggered, this, &CFG_MMTTY::CloseMmttyDialog);
    new settings::EmergencyKey(this);
}

void CFG_MMTTY::Form_Load() {
    settings::placeBesideOwner(*this, forms::PSK31MAIN());
    resize(twips::toPx(kWidth), twips::toPx(kHeight));
}

void CFG_MMTTY::Form_Unload() {
    closing_ = true;
}

void CFG_MMTTY::List2_Click() {
    const int choice = List2->currentRow();
    if (!maySend() || choice < 0) return;
    postView(settings::ViewField::Gain, choice);
    core::mm.MmttyFftGain = choice;
    core::PutIniText(kSection, "FFTGain", QString::number(choice));
}

void CFG_MMTTY::List3_Click() {
    const int choice = List3->currentRow();
    if (!maySend() || choice < 0) return;
    postView(settings::ViewField::Response, choice);
    core::mm.MmttyFftResp = choice;
    core::PutIniText(kSection, "FFTResp", QString::number(choice));
}

void CFG_MMTTY::Option8_Click(int Index) {
    if (!maySend()) return;
    postView(settings::ViewField::Scope, Index);
    const settings::ScopeChoice scope = settings::scopeChoice(Index);
    core::mm.MmttyXyScope = scope.stored;
    core::mm.XyScopeQuality = scope.quality;
    core::mm.XyScopeMask = scope.mask;
    if (Index == 4) forms::PSK31MAIN().Picture2->clear();
    core::PutIniText(kSection, "XY_Scope", scope.stored);
}

void CFG_MMTTY::Command25_Click() {
    if (!maySend()) return;
    const std::optional<int> delay = settings::txDelayValue(Text2->text());
    if (!delay) {
        ui::msgBox(QStringLiteral("Tx Delay は 0 以上の整数で入力して下さい"), ui::OkOnly);
        return;
    }
    // A delay beyond the longest is set and shown as the longest.
    if (delay != core::WholeNumber(Text2->text())) Text2->setText(QString::number(*delay));
    core::mm.MmttyTxDelay = *delay;
    core::PostMmttyCommand(mmtty::CmdSetTxDelay, *delay);
    core::PutIniText(kSection, "TXDelay", Text2->text());
}

void CFG_MMTTY::Command19_Click() {
    core::PostMmttyCommand(mmtty::CmdProfile, settings::profileLoadWord());
}

void CFG_MMTTY::Command20_Click() {
    core::PostMmttyCommand(mmtty::CmdProfile, settings::profileSaveWord());
}

void CFG_MMTTY::Command23_Click() {
    core::PostMmttyCommand(mmtty::CmdShowSetup, 0);
}

void CFG_MMTTY::CloseMmttyDialog() {
    forms::unload<CFG_MMTTY>();
    forms::PSK31MAIN().Text1->setFocus();
}

void CFG_MMTTY::closeEvent(QCloseEvent* e) {
    e->accept();
    if (!closing_) CloseMmttyDialog();
}

namespace settings {

void OpenMmttyDialog() {
    core::MmttyGlobals& mm = core::mm;
    mm.MmttyCfgFlag = 0;
    CFG_MMTTY& d = forms::CFG_MMTTY();
    d.Option8[std::size_t(scopeChoice(mm.MmttyXyScope.toInt()).quality)]->setChecked(true);
    d.List2->setCurrentRow(mm.MmttyFftGain);
    d.List3->setCurrentRow(mm.MmttyFftResp);
    d.Text2->setText(QString::number(mm.MmttyTxDelay));
    mm.MmttyCfgFlag = 1;
    d.show();
}

} // namespace settings
