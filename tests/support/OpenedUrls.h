#pragma once
// What the program hands to the desktop to open (help pages, web pages),
// caught for as long as the catcher lives instead of starting a browser.
#include <QList>
#include <QObject>
#include <QStringList>
#include <QUrl>

namespace zvtest {

class OpenedUrls : public QObject {
    Q_OBJECT
  public:
    explicit OpenedUrls(const QStringList& schemes = {QStringLiteral("file")});
    ~OpenedUrls() override;
    QList<QUrl> opened;

  public slots:
    void open(const QUrl& url);

  private:
    QStringList schemes_;
};

} // namespace zvtest
