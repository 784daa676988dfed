#include "startup/STUPZORVATEK.h"

#include "startup/VersionLabels.h"

#include <QCloseEvent>
#include <QGridLayout>

STUPZORVATEK::STUPZORVATEK() {
    setWindowTitle(QStringLiteral("ZORVATEK"));
    setWindowFlag(Qt::SplashScreen);
    auto* grid = new QGridLayout(this);
    auto* title = new QLabel(QStringLiteral("ZORVATEK"));
    title->setStyleSheet(QStringLiteral("font-size: 20pt; font-weight: bold; color: #004080"));
    grid->addWidget(title, 0, 0, 1, 2);
    Label6 = startup::AddVersionLabel(grid, 0);
    grid->addWidget(Label6, 0, 2);
    startup::AddCaption(grid, QStringLiteral("ZORVATEK"), 1, 0);
    // The designer's caption doubles the "&" so that one shows.
    startup::AddVersionRows(grid, 2,
                            {
                                {QStringLiteral("PSKCore.DLL"), QStringLiteral("by QQ9CC"), &Label2},
                                {QStringLiteral("HAMLOG.DLL"), QStringLiteral("by QQ9DDD"), &Label9},
                                {QStringLiteral("BobMako.DLL"), QStringLiteral("by QQ9BBB&QQ9E"), &Label11},
                                {QStringLiteral("SSTVeng.DLL"), QStringLiteral("by QQ9BBB"), &Label16},
                                {QStringLiteral("MMVARI.OCX"), QStringLiteral("by QQ9BBB")},
                            });
}

void STUPZORVATEK::closeEvent(QCloseEvent* e) {
    e->accept();
    forms::unloadAllExcept(this);
    forms::unload<STUPZORVATEK>();
}
