// Every window is reached through the registry: a touch loads it hidden, an
// unload destroys it and the next touch loads a fresh one.
#include "logwindows/entry/TEMP_LOG.h"
#include "settings/sheet/CFGSHEET.h"
#include "spots/ClusterData.h"
#include "spots/SpotSource.h"
#include "sstv/window/SSTVForm.h"
#include "startup/AboutZORVATEK.h"
#include "support/ProgramFolder.h"
#include "terminal/displays/multi_ch.h"

#include <QCoreApplication>
#include <QPointer>

namespace {

class WindowShells : public zvtest::ProgramFolderTest {};

// One window through its lifetime in the registry: the first touch loads it
// hidden with its caption, every touch gives the same instance, unloading
// destroys it and the next touch builds and loads a new one.
template <class W> void checkLifecycle(W& (*touch)(), const QString& caption) {
    SCOPED_TRACE(caption.toStdString());
    ASSERT_FALSE(forms::isLoaded<W>()) << "not loaded before its first touch";
    QPointer<W> first = &touch();
    EXPECT_TRUE(forms::isLoaded<W>());
    EXPECT_TRUE(first->isHidden()) << "a touch loads it hidden";
    EXPECT_EQ(first->windowTitle(), caption);
    EXPECT_EQ(&touch(), first.data()) << "one instance while loaded";

    // Marked, so that a new instance can be told from the old one.
    first->setWindowTitle(QStringLiteral("changed"));
    forms::unload<W>();
    EXPECT_FALSE(forms::isLoaded<W>());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull()) << "unloading destroys it";

    W& second = touch();
    EXPECT_TRUE(forms::isLoaded<W>());
    EXPECT_TRUE(second.isHidden());
    EXPECT_EQ(second.windowTitle(), caption) << "built and loaded anew";
    EXPECT_EQ(&touch(), &second);
}

TEST_F(WindowShells, LoadHiddenUnloadAndLoadAgain) {
    checkLifecycle<CFGSHEET>(&forms::CFGSHEET, QStringLiteral("環境設定"));
    checkLifecycle<SSTVForm>(&forms::SSTVForm,
                             QStringLiteral("ZORVATEK SSTV-mode (With SSTV Engine by QQ9BBB Ver 1.13A)"));
    checkLifecycle<ClusterData>(&forms::ClusterData, spots::stateCaption(spots::FetchState::Waiting, false));
    checkLifecycle<multi_ch>(&forms::multi_ch, QStringLiteral("Multi Channel Display"));
    checkLifecycle<TEMP_LOG>(&forms::TEMP_LOG, QStringLiteral("PSKログ LogData=>") + folder() +
                                                   QStringLiteral("\\PSK31_TMPLOG.TXT"));
    checkLifecycle<AboutZORVATEK>(&forms::AboutZORVATEK, QStringLiteral("Version"));
}

TEST_F(WindowShells, SettingsSheetReadsTheOwnCall) {
    EXPECT_EQ(forms::CFGSHEET().Text1->text(), QStringLiteral("NO CALL"));
    forms::unload<CFGSHEET>();
    writeIni("[PSKCFG]\nUSERCALL=QQ9ABC\nCOMCONT=0\n");
    EXPECT_EQ(forms::CFGSHEET().Text1->text(), QStringLiteral("QQ9ABC"));
    QStringList tabs;
    for (int i = 0; i < forms::CFGSHEET().SSTab1->count(); ++i)
        tabs << forms::CFGSHEET().SSTab1->tabText(i);
    EXPECT_EQ(tabs, QStringList(
                        {"画面要素の設定", "サウンド要素の設定", "ＬＯＧ 関係の設定", "リグ制御関係の設定"}));
}

} // namespace
