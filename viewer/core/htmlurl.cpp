#include "htmlurl.h"

#include "paths.h"

#include <cctype>
#include <vector>

namespace carmanual {

namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) !=
            std::tolower(static_cast<unsigned char>(prefix[i])))
            return false;
    }
    return true;
}

std::string_view TrimSpaces(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ')
        s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ')
        s.remove_suffix(1);
    return s;
}

bool IsDrive(std::string_view s) {
    return s.size() >= 2 && s[1] == ':' && std::isalpha(static_cast<unsigned char>(s[0]));
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string PercentDecode(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size()) {
            const int hi = HexValue(s[i + 1]);
            const int lo = HexValue(s[i + 2]);
            if (hi >= 0 && lo >= 0) {
                out += static_cast<char>(hi * 16 + lo);
                i += 2;
                continue;
            }
        }
        out += s[i];
    }
    return out;
}

// Host and port from "host:port"; the port follows the last ':'.
void SplitHostPort(std::string_view text, TUrlParts& parts) {
    const std::size_t colon = text.rfind(':');
    if (colon == std::string_view::npos) {
        parts.Host = std::string(text);
    } else {
        parts.Host = std::string(text.substr(0, colon));
        parts.Port = std::string(text.substr(colon + 1));
    }
}

// "user:password@host:port/path" after the protocol.
void SplitAuthority(std::string_view rest, TUrlParts& parts) {
    const std::size_t slash = rest.find('/');
    std::string_view authority = rest.substr(0, slash);
    if (slash != std::string_view::npos)
        parts.Path = std::string(rest.substr(slash));
    const std::size_t at = authority.rfind('@');
    if (at != std::string_view::npos) {
        const std::string_view user = authority.substr(0, at);
        const std::size_t colon = user.find(':');
        parts.User = std::string(user.substr(0, colon));
        if (colon != std::string_view::npos)
            parts.Password = std::string(user.substr(colon + 1));
        authority.remove_prefix(at + 1);
    }
    SplitHostPort(authority, parts);
}

} // namespace

TUrlParts SplitUrl(std::string_view url) {
    TUrlParts parts;
    const std::size_t scheme = url.find("://");
    if (scheme != std::string_view::npos) {
        parts.Protocol = std::string(url.substr(0, scheme));
        SplitAuthority(url.substr(scheme + 3), parts);
    } else if (!url.empty() && url.front() == '/') {
        parts.Protocol = "http";
        parts.Path = std::string(url);
    } else if (StartsWithNoCase(url, "http:")) {
        parts.Protocol = "http";
        SplitAuthority(url.substr(5), parts);
    } else if (StartsWithNoCase(url, "mailto:")) {
        parts.Protocol = "mailto";
        SplitAuthority(url.substr(7), parts);
    } else if (url.find(':') != std::string_view::npos) {
        SplitHostPort(url, parts);
    } else {
        parts.Path = std::string(url);
    }
    return parts;
}

bool HasUrlProtocol(std::string_view link) {
    link = TrimSpaces(link);
    const std::size_t colon = link.find(':');
    if (colon == std::string_view::npos || colon < 2)
        return false;
    for (std::size_t i = 0; i < colon; ++i) {
        const unsigned char c = static_cast<unsigned char>(link[i]);
        if (!(std::isalnum(c) || c == '+' || c == '-' || c == '.'))
            return false;
    }
    return !StartsWithNoCase(link, "file:");
}

std::pair<std::string, std::string> SplitAnchor(std::string_view name) {
    const std::size_t hash = name.find('#');
    if (hash == std::string_view::npos)
        return {std::string(name), {}};
    return {std::string(name.substr(0, hash)), std::string(name.substr(hash + 1))};
}

std::string FolderOf(std::string_view name) {
    const std::size_t sep = name.find_last_of("\\/");
    if (sep == std::string_view::npos)
        return IsDrive(name) ? std::string(name.substr(0, 2)) + "\\" : std::string();
    return std::string(name.substr(0, sep + 1));
}

std::string ResolveLink(std::string_view base, std::string_view link) {
    link = TrimSpaces(link);
    std::string baseName = SplitAnchor(base).first;
    if (baseName.empty())
        baseName = ProgramDir();
    if (link.empty())
        return baseName;
    if (link.front() == '#')
        return baseName + std::string(link);
    if (HasUrlProtocol(link))
        return std::string(link);

    std::string fileLink;
    if (StartsWithNoCase(link, "file:")) {
        link.remove_prefix(5);
        while (!link.empty() && (link.front() == '/' || link.front() == '\\'))
            link.remove_prefix(1);
        // "file:///c:/x" names a drive; "file:///dir/x" the root of the base's drive.
        fileLink = IsDrive(link) ? std::string(link) : "\\" + std::string(link);
        link = fileLink;
    }

    auto [path, anchor] = SplitAnchor(link);
    const std::size_t query = path.find('?');
    if (query != std::string::npos)
        path.erase(query);
    path = PercentDecode(path);
    for (char& c : path) {
        if (c == '/')
            c = '\\';
    }

    std::string full;
    if (IsDrive(path)) {
        full = path;
    } else if (!path.empty() && path.front() == '\\') {
        const std::string drive =
            IsDrive(baseName) ? baseName.substr(0, 2) : ProgramDrive().substr(0, 2);
        full = drive + path;
    } else {
        std::string folder = FolderOf(baseName);
        if (folder.empty())
            folder = ProgramDir();
        full = folder + path;
    }

    // Remove "." and ".." steps below the drive.
    std::string drive;
    std::string_view rest = full;
    if (IsDrive(rest)) {
        drive = std::string(rest.substr(0, 2));
        rest.remove_prefix(2);
    }
    const bool trailing = !rest.empty() && rest.back() == '\\';
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= rest.size()) {
        const std::size_t sep = rest.find('\\', start);
        const std::string_view part = rest.substr(
            start, sep == std::string_view::npos ? std::string_view::npos : sep - start);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.emplace_back(part);
        }
        if (sep == std::string_view::npos)
            break;
        start = sep + 1;
    }
    std::string out = drive;
    for (const std::string& p : parts)
        out += "\\" + p;
    if (out.empty() || (trailing && !parts.empty()) || out == drive)
        out += "\\";
    // A base without drive (a bare relative name) keeps the result relative.
    if (drive.empty() && !full.empty() && full.front() != '\\' && out.front() == '\\')
        out.erase(0, 1);
    if (!anchor.empty() || link.find('#') != std::string_view::npos)
        out += "#" + anchor;
    return out;
}

} // namespace carmanual
