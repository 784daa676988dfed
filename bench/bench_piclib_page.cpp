// The picture library on a folder of 5,000 pictures, offscreen: the folder
// listed and the first page of eight 640x496 JPEG thumbnails drawn from the
// files. The goal is a median under 300 ms.
#include "ProgramBench.h"
#include "core/Globals.h"
#include "platform/sstvengine/SstvEngine.h"
#include "sstv/library/PiclibForm.h"
#include "sstv/window/SSTVForm.h"
#include "sstv/window/SstvGlobals.h"

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int Pictures = 5000;

// One photo-like JPEG, written under 5,000 names.
void fillFolder(const QString& folder) {
    QImage picture(640, 496, QImage::Format_RGB32);
    QPainter p(&picture);
    QLinearGradient gradient(0, 0, 640, 496);
    gradient.setColorAt(0, Qt::darkBlue);
    gradient.setColorAt(1, Qt::yellow);
    p.fillRect(picture.rect(), gradient);
    p.setPen(Qt::white);
    p.drawText(picture.rect(), Qt::AlignCenter, QStringLiteral("QQ1TST 595"));
    p.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "JPG", 90);
    for (int n = 0; n < Pictures; ++n) {
        QFile file(folder + QStringLiteral("/pic%1.jpg").arg(n, 5, 10, QLatin1Char('0')));
        if (file.open(QIODevice::WriteOnly)) file.write(bytes);
    }
}

PiclibForm& library(const QString& folder) {
    static PiclibForm* lib = [&] {
        sstveng::lib().hooks().lineIntervalMs = 1'000'000;
        sstveng::lib().hooks().pictureIntervalMs = 1'000'000;
        core::g.OpMode = core::ModeSstv;
        SSTVForm& f = forms::SSTVForm();
        f.show();
        fillFolder(folder);
        sstv::g.TxBmpFolder = folder;
        f.PicLibShow_Click();
        return &forms::PiclibForm();
    }();
    return *lib;
}

void BM_PiclibFirstPage(benchmark::State& state, const QString& folder) {
    PiclibForm& lib = library(folder);
    int start = 0;
    for (auto _ : state) {
        lib.ListPictureFiles(folder);
        lib.DrawTxPage(start);
    }
    state.SetLabel(QStringLiteral("%1 files").arg(lib.FileCount).toStdString());
}

} // namespace

int main(int argc, char** argv) {
    ProgramBench bench(argc, argv);
    QTemporaryDir pictures;
    benchmark::RegisterBenchmark("BM_PiclibFirstPage", BM_PiclibFirstPage, pictures.path())
        ->Repetitions(9)
        ->ReportAggregatesOnly(true)
        ->Unit(benchmark::kMillisecond);
    return bench.run({{"BM_PiclibFirstPage", "time", 300, "the first page of the picture library"}});
}
