#include "spots/ClusterData.h"
#include "platform/forms/windows/WindowFrame.h"

#include "core/Globals.h"
#include "core/ini/IniStore.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/text/TextRule.h"
#include "rig/RigCommands.h"
#include "rig/RigGlobals.h"
#include "spots/SpotAlert.h"
#include "spots/SpotGlobals.h"
#include "spots/SpotGrid.h"
#include "spots/SpotSource.h"
#include "sstv/window/SSTVForm.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <utility>

namespace {

const QString Section = QStringLiteral("CLSTRCFG");

QString stored(const QString& key, const QString& fallback) {
    return core::IniValueOr(Section, key, fallback);
}

void store(const core::IniKey& key, const QString& value) {
    core::g.IniSection = Section;
    core::PutIniString(key, value);
}

} // namespace

ClusterData::ClusterData()
    : menuBar(new QMenuBar(this)), Frame1(new QGroupBox(QStringLiteral("Window(Digital Mode)"))),
      Label4(new QLabel(QStringLiteral("新着情報がありました。"))), MSFlexGrid1(new QTableWidget),
      Timer1(new QTimer(this)), Frame3(new QGroupBox(this)), Text4(new QLineEdit), Text5(new QLineEdit),
      Text6(new QLineEdit), Text7(new QLineEdit), Command2(new QPushButton(QStringLiteral("Send"))) {
    setWindowTitle(QStringLiteral("DX Information"));
    buildMenus();
    buildLayout();
    // The window sees every key before its controls do (Esc closes the
    // submission frame wherever the focus is); its menus keep their own keys.
    for (QWidget* child : findChildren<QWidget*>())
        if (!qobject_cast<QMenu*>(child)) child->installEventFilter(this);
    connect(Timer1, &QTimer::timeout, this, &ClusterData::Timer1_Timer);
}

void ClusterData::buildLayout() {
    auto* options = new QHBoxLayout(Frame1);
    static const char* const captions[] = {"WW", "JA", "US", "ALL"};
    for (int i = 0; i < 4; ++i) {
        Option1[i] = new QRadioButton(QString::fromLatin1(captions[i]));
        options->addWidget(Option1[i]);
        connect(Option1[i], &QRadioButton::clicked, this, [this, i] { Option1_Click(i); });
    }
    spots::InitSpotGrid(*MSFlexGrid1);
    connect(MSFlexGrid1, &QTableWidget::cellClicked, this, &ClusterData::MSFlexGrid1_Click);
    connect(MSFlexGrid1, &QTableWidget::cellPressed, this, &ClusterData::MSFlexGrid1_MouseDown);
    connect(MSFlexGrid1, &QTableWidget::cellPressed, this, &ClusterData::holdRowsForClick);
    connect(MSFlexGrid1, &QTableWidget::cellDoubleClicked, this, &ClusterData::doubleClicked);
    clickHold_.setSingleShot(true);
    connect(&clickHold_, &QTimer::timeout, this, &ClusterData::showHeldRows);
    Label4->setStyleSheet(QStringLiteral("color: red"));
    Label4->hide();

    Frame3->setTitle(
        QStringLiteral("-- DX Call ---- Freq(Khz) ----- Remarks --------- <<Send Information   hit Esc = "
                       "Close >> ---------MyCall ----"));
    auto* boxes = new QHBoxLayout(Frame3);
    for (QWidget* w :
         {static_cast<QWidget*>(Text5), static_cast<QWidget*>(Text6), static_cast<QWidget*>(Text7),
          static_cast<QWidget*>(Command2), static_cast<QWidget*>(Text4)})
        boxes->addWidget(w);
    connect(Command2, &QPushButton::clicked, this, &ClusterData::Command2_Click);
    // The calls are as long as the log's call field, the remarks as a spot line's.
    const std::pair<QLineEdit*, int> limits[] = {{Text5, 20}, {Text6, 12}, {Text7, 32}, {Text4, 20}};
    for (const auto& [box, limit] : limits)
        ui::setTextLimit(box, limit);
    Frame3->hide();

    auto* top = new QHBoxLayout;
    top->addWidget(Frame1);
    top->addWidget(Label4);
    top->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->addWidget(Frame3);
    layout->addLayout(top);
    layout->addWidget(MSFlexGrid1);
    resize(twips::toPx(9600), twips::toPx(5200));
}

void ClusterData::Form_Load() {
    spots::g.ClusterPolled = 0;
    SpotHeadSeen = 0;
    setWindowTitle(spots::stateCaption(spots::FetchState::Waiting, false));
    Text4->setText(core::g.UserCall == QLatin1String("No Call") ? QString() : core::g.UserCall);
    Text5->clear();
    Text6->clear();
    Text7->clear();
    CLSTR_SOUND->setEnabled(core::g.SoundCardNumber == QLatin1String("1"));
    rig::RigLoadModeCodes();
    placeWindow();
    loadSoundChecks();
    Option1[spots::pageIndexOf(stored(QStringLiteral("DXWindow"), QStringLiteral("0")))]->click();
    loadMenuChecks();
    Timer1->setInterval(500);
    Timer1->start();
}

// A stored place off the screen's size moves to the edge; without one the
// window opens centred on the window in use. Either way it opens whole on the screen.
void ClusterData::placeWindow() {
    const QString top = stored(QStringLiteral("CDLSTPOSTop"), QString());
    if (!top.isEmpty()) {
        winframe::placeOnScreen(this, stored(QStringLiteral("CDLSTPOSLeft"), QStringLiteral("0")).toInt(),
                                top.toInt());
        return;
    }
    QWidget* other = nullptr;
    if (core::g.OpMode == core::ModeSstv && forms::isLoaded<SSTVForm>())
        other = &forms::SSTVForm();
    else if (forms::isLoaded<PSK31MAIN>())
        other = &forms::PSK31MAIN();
    const QRect around = other ? other->frameGeometry() : winframe::screenPx();
    const QPoint centred = QPoint(around.left() + around.width() / 2 - width() / 2,
                                  around.top() + around.height() / 2 - height() / 2) -
                           winframe::screenPx().topLeft();
    winframe::placeOnScreen(this, twips::fromPx(centred.x()), twips::fromPx(centred.y()));
}

void ClusterData::Form_Unload() {
    Timer1->stop();
    forgetPick();
    cancelFetch();
    cancelSubmit();
    // A looping alert would otherwise go on with nothing left to stop it.
    spots::StopAlertSound();
    spots::g.ClusterPolled = 0;
    store("CDLSTPOSTop", QString::number(twips::fromPx(y())));
    store("CDLSTPOSLeft", QString::number(twips::fromPx(x())));
}

void ClusterData::closeEvent(QCloseEvent* event) {
    event->ignore();
    forms::unload<ClusterData>();
}

void ClusterData::Option1_Click(int index) {
    cancelFetch();
    setWindowTitle(spots::stateCaption(spots::FetchState::Waiting, false));
    SpotHeadSeen = 0;
    SpotFallbackOn = 0;
    SpotPageUrl = spots::primaryPageUrl(index);
    forgetPick();
    MSFlexGrid1->setCurrentCell(0, spots::ColTime);
    MSFlexGrid1->setRangeSelected(QTableWidgetSelectionRange(0, spots::ColTime, 0, spots::ColPostedBy), true);
    // Polling always goes on from a page choice, also one made before the
    // first tick; only a choice after it is stored.
    Timer1->setInterval(1000);
    Timer1->start();
    if (spots::g.ClusterPolled != 0) store("DXWindow", QString::number(index));
}
