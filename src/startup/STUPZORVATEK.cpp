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
    Label6 = core::AddVersionLabel(grid, 0);
    grid->addWidget(Label6, 0, 2);
    core::AddCaption(grid, QStringLiteral("ZORVATEK"), 1, 0);
    core::AddCaption(grid, QStringLiteral("PSKCore.DLL"), 2, 0);
    Label2 = core::AddVersionLabel(grid, 2);
    core::AddCaption(grid, QStringLiteral("by QQ9CC"), 2, 2);
    core::AddCaption(grid, QStringLiteral("HAMLOG.DLL"), 3, 0);
    Label9 = core::AddVersionLabel(grid, 3);
    core::AddCaption(grid, QStringLiteral("by QQ9DDD"), 3, 2);
    core::AddCaption(grid, QStringLiteral("BobMako.DLL"), 4, 0);
    Label11 = core::AddVersionLabel(grid, 4);
    // The designer's caption doubles the "&" so that one shows.
    core::AddCaption(grid, QStringLiteral("by QQ9BBB&QQ9E"), 4, 2);
    core::AddCaption(grid, QStringLiteral("SSTVeng.DLL"), 5, 0);
    Label16 = core::AddVersionLabel(grid, 5);
    core::AddCaption(grid, QStringLiteral("by QQ9BBB"), 5, 2);
    core::AddCaption(grid, QStringLiteral("MMVARI.OCX"), 6, 0);
    core::AddCaption(grid, QStringLiteral("by QQ9BBB"), 6, 2);
}

void STUPZORVATEK::closeEvent(QCloseEvent* e) {
    e->accept();
    forms::unloadAllExcept(this);
    forms::unload<STUPZORVATEK>();
}
