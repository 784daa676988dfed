#pragma once
// The multi-mode control's spectrum view (XMMVView) and level meter (XMMVLvl):
// widgets reached by dispatch id like the control. Their draw members take the
// control's display-data handle (id 24) and draw what the control simulates:
// the view a spectrum or a scrolling waterfall (id 8) between its left-edge
// frequency (id 3) and span (id 4); the meter the signal level and the squelch.
#include "platform/mmvari/Dispatch.h"

#include <QImage>
#include <QPointer>
#include <QWidget>
#include <array>

namespace mmvari {

class MmvariControl;

class XMMVView : public QWidget, public dispatch::Target {
    Q_OBJECT
  public:
    explicit XMMVView(QWidget* parent = nullptr);
    // The audio frequency under a horizontal position of the widget.
    int freqAt(int x) const;
    bool waterfall() const { return waterfall_; }

  signals:
    // A left click (not the end of a drag) has tuned the control's main
    // receive channel to the clicked frequency first, as the view is the control's own.
    void leftClicked(int freqHz);  // event 10
    void dragged();                // event 11
    void rightClicked(int freqHz); // event 12

  protected:
    bool readMember(int id, std::optional<int> index, QVariant& value) override;
    bool writeMember(int id, std::optional<int> index, const QVariant& value) override;
    bool callMethod(int id, const QVariantList& args, QVariant& result) override;
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

  private:
    bool draw(int handle);
    void addWaterfallLine(const QVector<float>& spectrum);
    int xOf(int freqHz) const;

    QPointer<MmvariControl> control_;
    int leftFreq_ = 0;
    int span_ = 3000;
    bool waterfall_ = false;
    std::array<int, 8> colours_{0x000000, 0x00FF00, 0xFFFFFF, 0x808080,
                                0x00FFFF, 0x00FFFF, 0x404040, 0x0000FF};
    std::array<QString, 4> texts_;
    QVector<float> spectrum_;
    QImage waterfallImage_;
    int rxFreq_ = 0;
    int txFreq_ = 0;
    bool dragging_ = false;
    QPoint pressAt_;
};

class XMMVLvl : public QWidget, public dispatch::Target {
    Q_OBJECT
  public:
    explicit XMMVLvl(QWidget* parent = nullptr);
    int level() const { return level_; }
    // Squelch units of the control per step of the meter's 0..100 scale.
    static constexpr int SquelchPerStep = 20;

  signals:
    void clicked(); // event 10

  protected:
    bool readMember(int id, std::optional<int> index, QVariant& value) override;
    bool writeMember(int id, std::optional<int> index, const QVariant& value) override;
    bool callMethod(int id, const QVariantList& args, QVariant& result) override;
    void paintEvent(QPaintEvent*) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

  private:
    QPointer<MmvariControl> control_;
    int level_ = 0;
    int squelch_ = 0;
};

} // namespace mmvari
