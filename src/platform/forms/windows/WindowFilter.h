#pragma once
// An event filter that belongs to one window. Unloading the window detaches
// it at once (forms::unload), so that a window on its way out never handles
// another event beside a fresh instance of itself.
#include <QList>
#include <QObject>
#include <QPointer>

class QWidget;

namespace forms {

class WindowFilter : public QObject {
    Q_OBJECT
  public:
    explicit WindowFilter(QWidget* window);
    ~WindowFilter() override;

    // Sees the events of this object.
    void watch(QObject* object);
    // Sees the events of every object of the application.
    void watchApplication();
    // Sees nothing any more.
    void detach();

  protected:
    // The filter proper: true when the event is taken.
    virtual bool filter(QObject* watched, QEvent* e) = 0;

  private:
    bool eventFilter(QObject* watched, QEvent* e) final;

    QList<QPointer<QObject>> watched_;
    bool application_ = false;
};

// Stops the window's timers and detaches its filters.
void quiesce(QWidget* window);

} // namespace forms
