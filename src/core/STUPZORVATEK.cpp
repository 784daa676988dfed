#include "core/STUPZORVATEK.h"

#include <QCloseEvent>
#include <QGridLayout>

namespace {

void fixed(QGridLayout* grid, const QString& caption, int row, int column) {
    grid->addWidget(new QLabel(caption), row, column);
}

QLabel* version(QGridLayout* grid, int row) {
    auto* l = new QLabel;
    l->setMinimumWidth(60);
    grid->addWidget(l, row, 1);
    return l;
}

} // namespace

STUPZORVATEK::STUPZORVATEK() {
    setWindowTitle(QStringLiteral("ZORVATEK"));
    setWindowFlag(Qt::SplashScreen);
    auto* grid = new QGridLayout(this);
    auto* title = new QLabel(QStringLiteral("ZORVATEK"));
    title->setStyleSheet(QStringLiteral("font-size: 20pt; font-weight: bold; color: #004080"));
    grid->addWidget(title, 0, 0, 1, 2);
    Label6 = version(grid, 0);
    grid->addWidget(Label6, 0, 2);
    fixed(grid, QStringLiteral("ZORVATEK"), 1, 0);
    fixed(grid, QStringLiteral("PSKCore.DLL"), 2, 0);
    Label2 = version(grid, 2);
    fixed(grid, QStringLiteral("by QQ9CC"), 2, 2);
    fixed(grid, QStringLiteral("HAMLOG.DLL"), 3, 0);
    Label9 = version(grid, 3);
    fixed(grid, QStringLiteral("by QQ9DDD"), 3, 2);
    fixed(grid, QStringLiteral("BobMako.DLL"), 4, 0);
    Label11 = version(grid, 4);
    // The designer's caption doubles the "&" so that one shows.
    fixed(grid, QStringLiteral("by QQ9BBB&QQ9E"), 4, 2);
    fixed(grid, QStringLiteral("SSTVeng.DLL"), 5, 0);
    Label16 = version(grid, 5);
    fixed(grid, QStringLiteral("by QQ9BBB"), 5, 2);
    fixed(grid, QStringLiteral("MMVARI.OCX"), 6, 0);
    fixed(grid, QStringLiteral("by QQ9BBB"), 6, 2);
}

void STUPZORVATEK::closeEvent(QCloseEvent* e) {
    e->accept();
    forms::unloadAllExcept(this);
    forms::unload<STUPZORVATEK>();
}
