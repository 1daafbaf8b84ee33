// file:// URIs and the local file names they stand for, byte for byte (a name
// that is not valid UTF-8 survives both ways).
#pragma once

#include <QString>
#include <QUrl>
#include <optional>
#include <string>

namespace vollo::qt {

// The local file a file:// URI names (host "" or "localhost"), percent-decoded
// to its bytes; nothing for another scheme or host.
std::optional<std::string> localFileOf(const QUrl& uri);

// The file:// URI of an absolute local path, every byte outside the unreserved
// set and "/" percent-encoded.
QString fileUriOf(const std::string& path);

}  // namespace vollo::qt
