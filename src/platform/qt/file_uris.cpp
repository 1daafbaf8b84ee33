#include "platform/qt/file_uris.h"

#include <QByteArray>

namespace vollo::qt {

std::optional<std::string> localFileOf(const QUrl& uri) {
    if (!uri.isValid() || uri.scheme().compare(QLatin1String("file"), Qt::CaseInsensitive) != 0) {
        return std::nullopt;
    }
    const QString host = uri.host();
    if (!host.isEmpty() && host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) != 0) {
        return std::nullopt;
    }
    // The encoded path keeps bytes that are not UTF-8 as %XX; decode them ourselves.
    const QByteArray path = QByteArray::fromPercentEncoding(uri.path(QUrl::FullyEncoded).toLatin1());
    if (!path.startsWith('/')) {
        return std::nullopt;
    }
    return path.toStdString();
}

QString fileUriOf(const std::string& path) {
    const QByteArray bytes = QByteArray::fromStdString(path).toPercentEncoding("/");
    return QLatin1String("file://") + QString::fromLatin1(bytes);
}

}  // namespace vollo::qt
