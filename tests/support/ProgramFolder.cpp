#include "support/ProgramFolder.h"

#include "app/AppContext.h"
#include "core/Globals.h"
#include "log/LogGlobals.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/windows/Forms.h"
#include "platform/os/Clock.h"
#include "platform/os/Cp932.h"
#include "platform/os/Paths.h"
#include "rig/RigGlobals.h"
#include "support/RigSimulator.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <QThread>
#include <QtTest/qtestmouse.h>
#include <memory>

namespace zvtest {

void ProgramFolderTest::SetUp() {
    ASSERT_TRUE(dir_.isValid());
    previousHome_ = qgetenv("ZORVATEK_HOME");
    qputenv("ZORVATEK_HOME", dir_.path().toUtf8());
    core::g = {};
    logbook::g = {};
    // A rig set up by an earlier test is no rig of this one's.
    zvtest::freshRigGlobals();
    sysclock::resetForTest();
    ui::script::begin();
    // A button an earlier test pressed and never let go would still be held
    // for this one's clicks, and a scroll bar takes no press while another
    // button is down.
    QTestPrivate::qtestMouseButtons = Qt::NoButton;
}

void ProgramFolderTest::renewContext() {
    context_.reset();
    context_ = std::make_unique<app::AppContext>();
}

void ProgramFolderTest::TearDown() {
    context_->engines().psk.fnStopSoundCard();
    forms::unloadAllExcept();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ui::script::end();
    ui::answerAtOnce(false); // an end by a signal in this test is no end of the next one
    sysclock::resetForTest();
    qputenv("ZORVATEK_HOME", previousHome_);
}

QString ProgramFolderTest::path(const QString& name) const {
    return paths::join(dir_.path(), name);
}

void ProgramFolderTest::writeFile(const QString& name, const QByteArray& bytes) const {
    QFile f(path(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray ProgramFolderTest::readFile(const QString& name) const {
    QFile f(path(name));
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

void ProgramFolderTest::writeIni(const QString& text) const {
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    writeFile(QStringLiteral("ZORVATEK.INI"), cp932::encode(t));
}

bool waitUntil(const std::function<bool()>& done, int timeoutMsecs) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > timeoutMsecs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

bool waitExposed(QWidget* window) {
    return QTest::qWaitForWindowExposed(window, kSafetyNetMsecs);
}

bool waitActive(QWidget* window) {
    return QTest::qWaitForWindowActive(window, kSafetyNetMsecs);
}

bool waitForPostedEvents(int timeoutMsecs) {
    // Shared with the marker, which may outlive a wait that timed out.
    auto ran = std::make_shared<bool>(false);
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [ran] { *ran = true; }, Qt::QueuedConnection);
    return waitUntil([ran] { return *ran; }, timeoutMsecs);
}

} // namespace zvtest
