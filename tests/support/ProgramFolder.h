#pragma once
// A fresh, empty program folder for one test: ZORVATEK_HOME points at it, the
// dialogs are scripted, the clock is real, the shared state and the engine
// libraries are reset and every window is unloaded again at the end.
#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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

  private:
    QTemporaryDir dir_;
    QByteArray previousHome_;
};

// Runs pending events for the given time.
void pumpEvents(int msecs);
// Runs pending events until the predicate holds or the time runs out; returns the predicate.
bool waitUntil(const std::function<bool()>& done, int timeoutMsecs = 5000);

} // namespace zvtest
