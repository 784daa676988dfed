#include "support/OpenedUrls.h"

#include <QDesktopServices>

namespace zvtest {

OpenedUrls::OpenedUrls(const QStringList& schemes) : schemes_(schemes) {
    for (const QString& scheme : schemes_)
        QDesktopServices::setUrlHandler(scheme, this, "open");
}

OpenedUrls::~OpenedUrls() {
    for (const QString& scheme : schemes_)
        QDesktopServices::unsetUrlHandler(scheme);
}

void OpenedUrls::open(const QUrl& url) {
    opened.append(url);
}

} // namespace zvtest
