#pragma once
// A fresh, empty program folder for one test: ZORVATEK_HOME points at it, the
// dialogs are scripted, the clock is real, the shared state is reset, the test
// has an application context of its own (fresh engines and rig link) and every
// window is unloaded again at the end.
#include "app/AppContext.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

namespace zvtest {

class ProgramFolderTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    QString folder() const { return dir_.path(); }
    QString path(const QString& name) const;
    // Writes raw bytes (already in the file's encoding) into the program folder.
    void writeFile(const QString& name, const QByteArray& bytes) const;
    QByteArray readFile(const QString& name) const;
    // Writes ZORVATEK.INI from UTF-8 text, converted to Shift-JIS with CR LF.
    void writeIni(const QString& text) const;

    app::AppContext& context() { return *context_; }
    // Fresh engines and rig link, as at the start of a run.
    void renewContext();

  private:
    QTemporaryDir dir_;
    // Made with the fixture, so that the test's own members can use the engines.
    std::unique_ptr<app::AppContext> context_ = std::make_unique<app::AppContext>();
    QByteArray previousHome_;
};

// The limit of a wait for what must come: a safety net only, never the time
// the event is expected to take (a busy machine takes many times that).
inline constexpr int kSafetyNetMsecs = 60'000;
// Runs pending events until the predicate holds or the time runs out; returns the predicate.
bool waitUntil(const std::function<bool()>& done, int timeoutMsecs = kSafetyNetMsecs);
// Posts a marker event and waits until it has run. Posted events run in the
// order posted, so every queued call and posted event from before has run by
// then: "nothing arrives" checks wait for this rather than for a time.
bool waitForPostedEvents(int timeoutMsecs = kSafetyNetMsecs);
// A window shown is drawn on the screen, or made the active one, within the
// safety net: Qt's own waits give up after 5 s, which a busy machine passes.
// The only ways the tests wait for a window (the test-macro check refuses Qt's).
bool waitExposed(QWidget* window);
bool waitActive(QWidget* window);

} // namespace zvtest
