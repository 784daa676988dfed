#pragma once
// A status bar made of numbered panels (1-based, as the system counts them);
// a click on a panel is reported with its number.
#include <QLabel>
#include <QList>
#include <QStatusBar>

class StatusPanels : public QStatusBar {
    Q_OBJECT
  public:
    // widths in pixels; a width of 0 stretches.
    explicit StatusPanels(const QList<int>& widths, QWidget* parent = nullptr);
    int count() const { return static_cast<int>(panels_.size()); }
    // Panel i, 1..count().
    QLabel* panel(int i) const { return panels_.at(i - 1); }
    QString text(int i) const { return panel(i)->text(); }
    void setText(int i, const QString& t) { panel(i)->setText(t); }

  signals:
    void panelClicked(int index, int button);

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    QList<QLabel*> panels_;
};
