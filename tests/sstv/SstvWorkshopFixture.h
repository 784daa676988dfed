#pragma once
// The SSTV window with its workshop at hand: picture files to load, the tabs
// clicked, files dropped and the canvas worked with the mouse.
#include "sstv/SstvFixture.h"
#include "support/Mouse.h"
#include "support/Popups.h"
#include "support/ProgramFolder.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPainter>
#include <QTabBar>
#include <QTest>
#include <QUrl>

namespace zvtest {

class SstvWorkshopTest : public SstvWindowTest {
  protected:
    // A shown window with the tab of the transmit side chosen by a click.
    SSTVForm& shown(int tab = 1) {
        SSTVForm& f = window();
        EXPECT_TRUE(zvtest::waitExposed(&f));
        clickTab(tab);
        return f;
    }
    void clickTab(int tab) {
        QTabBar* bar = window().SSTab2->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
    }
    // A picture file of one colour with a band of another over its bottom rows.
    QString pictureFile(const QString& name, QSize size, QColor colour, QColor bottom = {},
                        int bottomRows = 0) {
        QImage picture(size, QImage::Format_RGB32);
        picture.fill(colour);
        if (bottom.isValid()) {
            QPainter p(&picture);
            p.fillRect(0, size.height() - bottomRows, size.width(), bottomRows, bottom);
        }
        QDir().mkpath(QFileInfo(path(name)).absolutePath());
        const bool saved =
            picture.save(path(name), name.endsWith(QLatin1String(".bmp")) ? "BMP" : "JPG", 100);
        EXPECT_TRUE(saved) << name.toStdString();
        return path(name);
    }
    // The canvas background loaded with "画読込".
    void loadBackground(const QString& file) {
        ui::script::push(file);
        QTest::mouseClick(window().Command6, Qt::LeftButton);
    }
    // Files dragged onto a control and let go there.
    static bool drop(QWidget* onto, const QStringList& files, bool release = true) {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& f : files)
            urls << QUrl::fromLocalFile(f);
        data.setUrls(urls);
        const QPoint at = onto->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(onto, &enter);
        if (!release || !enter.isAccepted()) return enter.isAccepted();
        QDropEvent dropped(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(onto, &dropped);
        return true;
    }
    // A drag of the left button on a control from one point to another.
    static void drag(QWidget* on, QPointF from, QPointF to) {
        moveMouseTo(on, from);
        pressAt(on, Qt::LeftButton, from);
        moveMouseTo(on, to, Qt::LeftButton);
        releaseAt(on, Qt::LeftButton, to);
    }
    static QColor at(const QImage* picture, int x, int y) {
        return picture ? QColor(picture->pixel(x, y)) : QColor();
    }
    static QColor at(PictureBox* box, int x, int y) { return QColor(box->canvas().pixel(x, y)); }
    // Near enough for JPEG and smooth stretching.
    static bool near(QColor a, QColor b, int tolerance = 24) {
        return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
               std::abs(a.blue() - b.blue()) <= tolerance;
    }
};

} // namespace zvtest
