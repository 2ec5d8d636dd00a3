#pragma once

#include <optional>
#include <string>

// file: URIs of local paths, as the desktop's records and its file managers use them. Paths are
// bytes (a Linux file name need not be UTF-8), so both directions work on bytes.
namespace MFileUri {

// "file:///home/ann/My%20Report.odt" for "/home/ann/My Report.odt": every byte other than the
// unreserved characters and "/" is percent-encoded. sPath must be absolute.
std::string FromPath(const std::string& sPath);

// The local path of a file: URI ("file:///p", "file://localhost/p", "file:/p"), percent-decoded;
// nullopt for another scheme, another host, a malformed escape or a decoded NUL.
std::optional<std::string> ToPath(const std::string& sUri);

// sText with every "%XX" decoded; nullopt for a malformed escape or a decoded NUL.
std::optional<std::string> PercentDecode(const std::string& sText);

} // namespace MFileUri
