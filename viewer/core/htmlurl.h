#pragma once
// URLs of pages and their pictures as the engine reads them: the parts of a
// URL, and links resolved against the document that holds them to manual
// names (Windows-1251, backslashes, drive letter; see platform/paths.h).

#include <string>
#include <string_view>
#include <utility>

namespace carmanual {

struct TUrlParts {
    std::string Protocol;
    std::string User;
    std::string Password;
    std::string Host;
    std::string Port;
    std::string Path;
    bool operator==(const TUrlParts&) const = default;
};

// The text before "://" is the protocol; a URL beginning with "/" or "http:"
// has the protocol "http", one beginning with "mailto:" has "mailto" (any
// letter case). After the protocol come user and password ("user:password@"),
// host, port (after the host's last ':') and, from the first '/', the path.
// Without a protocol the text before the last ':' is the host and the text
// after it the port ("copy:setup.exe": host "copy", port "setup.exe"); a
// text without protocol and without ':' is all path.
TUrlParts SplitUrl(std::string_view url);

// True for a link that names a protocol of its own ("http:", "mailto:",
// "copy:", ...): two or more letters, digits, '+', '-' or '.' before the
// first ':'. A drive letter ("c:") is not a protocol, and neither is "file:".
bool HasUrlProtocol(std::string_view link);

// "name#anchor" -> {"name", "anchor"}; no '#': {"name", ""}.
std::pair<std::string, std::string> SplitAnchor(std::string_view name);

// The folder part of a manual name, with its trailing backslash ("" for none).
std::string FolderOf(std::string_view name);

// The link as a full manual name, resolved against the document that holds it
// (base: a manual name of a document, or of a folder when it ends with '\';
// empty: the program folder):
// - "#x" is the base document with "#x";
// - a link with a protocol comes back unchanged (trimmed);
// - "file:" and the slashes after it are dropped, "%xx" escapes decoded,
//   '/' becomes '\', a query ("?...") is dropped;
// - a name with a drive letter stands as it is, one beginning with '\' takes
//   the base's drive, any other is relative to the base's folder;
// - "." and ".." steps are removed; ".." never climbs above the drive.
// An anchor of the link stays on the result.
std::string ResolveLink(std::string_view base, std::string_view link);

} // namespace carmanual
