// The electronic-QSL button, which writes the export range of the log (or the
// QSO on the window) for the chosen service and hands it on, and the
// services' web pages, opened through the shortcut files that start-up writes
// into the program folder.
#include "core/StartupFiles.h"
#include "log/ExportSelection.h"
#include "log/LogGlobals.h"
#include "logwindows/entry/EntryExport.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "logwindows/viewer/EqslExport.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/windows/WindowFilter.h"
#include "platform/os/Paths.h"
#include "platform/os/Shortcut.h"

#include <QMouseEvent>

namespace {

void openServicePage(const QString& shortcutFile) {
    if (!shortcut::open(paths::join(paths::programFolder(), shortcutFile)))
        ui::msgBox(QStringLiteral("ＵＲＬが開けませんでした"), ui::OkOnly);
}

void showExportError() {
    ui::msgBox(logwindows::exportErrorMessage(), ui::OkOnly);
}

// A mouse button let go over the button.
class EqslButtonRelease : public forms::WindowFilter {
  public:
    explicit EqslButtonRelease(TEMP_LOG& w) : WindowFilter(&w), w_(w) {}

  protected:
    bool filter(QObject*, QEvent* e) override {
        if (e->type() != QEvent::MouseButtonRelease) return false;
        const auto* m = static_cast<QMouseEvent*>(e);
        if (!w_.Command7->rect().contains(m->position().toPoint())) return false;
        const int button = m->button() == Qt::LeftButton ? 1 : m->button() == Qt::RightButton ? 2 : 0;
        // The export asks and writes after the release has reached the button.
        QMetaObject::invokeMethod(
            &w_, [w = &w_, button] { w->Command7_MouseUp(button); }, Qt::QueuedConnection);
        return false;
    }

  private:
    TEMP_LOG& w_;
};

} // namespace

void TEMP_LOG::connectEqslButton() {
    (new EqslButtonRelease(*this))->watch(Command7);
}

void TEMP_LOG::Command7_MouseUp(int button) {
    logbook::Globals& g = logbook::g;
    if (button == 2) {
        g.EqslType = g.EqslType != QLatin1String("1") ? QStringLiteral("1") : QStringLiteral("0");
        Command7->setText(g.EqslType == QLatin1String("1") ? QStringLiteral("QSOBank")
                                                           : QStringLiteral("eQSL"));
        return;
    }
    if (button != 1) return;
    if (!entryCanBeStored()) return;
    const std::optional<logbook::EqslKind> chosen = logwindows::chosenEqslKind();
    if (!chosen) return;
    const logbook::EqslKind kind = *chosen;
    const QString path = logwindows::askEqslFile(kind);
    if (path.isEmpty()) return;
    g.ExportFilePath = path;
    if (kind == logbook::EqslKind::QsoBank) {
        if (logwindows::WriteQsoBankXml() && !logwindows::startQsoBankSender(path)) showExportError();
        return;
    }
    if (logwindows::WriteEqslAdif() && logwindows::askToOpenEqslPage(path) == logwindows::PageChoice::Failed)
        showExportError();
}

void TEMP_LOG::GOEQSL_Click() {
    openServicePage(core::kEqslShortcutFile);
}

void TEMP_LOG::GOQSOBANK_Click() {
    openServicePage(core::kQsoBankShortcutFile);
}
