#include "linkrules.h"

#include "htmlurl.h"

#include "ansi.h"

#include <algorithm>
#include <array>
#include <vector>

namespace carmanual {

namespace {

bool Contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool HasDrive(std::string_view name) {
    const auto c = static_cast<unsigned char>(name.size() >= 2 ? name[0] : 0);
    return ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) && name[1] == ':';
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= 0x20)
        text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= 0x20)
        text.remove_suffix(1);
    return text;
}

} // namespace

std::string LowerAnsiText(std::string_view text) {
    std::string out(text);
    for (char& ch : out) {
        const auto c = static_cast<unsigned char>(ch);
        if (c >= 'A' && c <= 'Z')
            ch = static_cast<char>(c + 32);
        else if (c >= 0xC0 && c <= 0xDF) // А-Я
            ch = static_cast<char>(c + 32);
        else if (c == 0xA8) // Ё
            ch = static_cast<char>(0xB8);
    }
    return out;
}

std::string LinkExtension(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string() : std::string(name.substr(dot));
}

std::string ManualFileName(std::string_view name) {
    const std::size_t slash = name.find_last_of("\\/");
    return std::string(slash == std::string_view::npos ? name : name.substr(slash + 1));
}

std::string WithoutAnchor(std::string_view name) {
    return std::string(name.substr(0, name.find('#')));
}

bool IsWebUrl(std::string_view url) {
    // Schemes a desktop hands to a program of its own (a browser, a mail or
    // a file-transfer client). Others ("javascript:", CHM links) mean
    // nothing outside the page and are left to the rules below.
    static constexpr std::array<std::string_view, 18> kSchemes = {
        "http", "https", "ftp",  "ftps", "sftp",   "mailto", "news",   "nntp", "tel",
        "irc",  "ircs",  "xmpp", "sip",  "magnet", "webcal", "gopher", "ssh",  "telnet"};
    url = Trimmed(url);
    const std::size_t colon = url.find(':');
    if (colon == std::string_view::npos || !HasUrlProtocol(url))
        return false;
    const std::string scheme = LowerAnsiText(url.substr(0, colon));
    return std::find(kSchemes.begin(), kSchemes.end(), scheme) != kSchemes.end();
}

TLinkAction ChooseLinkAction(std::string_view target, std::string_view url,
                             std::string_view expanded, bool rarListing) {
    if (AnsiSameText(target, "_blank"))
        return TLinkAction::EnlargedPicture;
    const std::string lowerUrl = LowerAnsiText(url);
    if (Contains(lowerUrl, "http:") || Contains(lowerUrl, "mailto:") || IsWebUrl(url))
        return TLinkAction::ShellUrl;
    if (Contains(lowerUrl, "printhtml:"))
        return TLinkAction::PrintLinked;
    if (Contains(lowerUrl, "copy:"))
        return TLinkAction::CopyFile;
    if (Contains(lowerUrl, "copylist:"))
        return TLinkAction::CopyFormText;

    const bool anchor = !url.empty() && url.front() == '#';
    static constexpr std::array<std::string_view, 8> kShown = {".htm", ".txt", ".inf", ".diz",
                                                               ".bmp", ".gif", ".jpg", ".jpeg"};
    const std::string ext = LinkExtension(expanded);
    const bool shown = std::any_of(kShown.begin(), kShown.end(),
                                   [&](std::string_view e) { return Contains(ext, e); });
    if (!shown && !anchor)
        return TLinkAction::OtherFile;
    // The listing's own pages ("as_...") are followed by the engine; a file of
    // the listed archive is opened as a page of its own.
    if (rarListing && !anchor && !Contains(ManualFileName(expanded), "as_"))
        return TLinkAction::PageInListing;
    return TLinkAction::FollowLink;
}

TFileAction ChooseFileAction(std::string_view expanded) {
    const std::string ext = LowerAnsiText(LinkExtension(expanded));
    if (Contains(ext, ".zip"))
        return TFileAction::SaveZip;
    if (Contains(ext, ".rar"))
        return TFileAction::ListRar;
    if (Contains(ext, ".wav"))
        return TFileAction::PlayWav;
    if (Contains(ext, ".exe") || Contains(ext, ".com"))
        return TFileAction::RunProgram;
    return TFileAction::ShellOpen;
}

std::string ReplaceForeignDrive(std::string_view name, std::string_view programDrive) {
    if (name.size() < 3 || !HasDrive(name) || name[2] != '\\' || programDrive.size() < 3)
        return std::string(name);
    const std::string drive = LowerAnsiText(name.substr(0, 3));
    if (drive == LowerAnsiText(programDrive.substr(0, 3)) || drive == "z:\\")
        return std::string(name);
    return std::string(programDrive.substr(0, 3)) + std::string(name.substr(3));
}

std::optional<std::string> TargetInFolder(std::string_view folder, std::string_view relative) {
    if (relative.empty() || IsSeparator(relative.front()) ||
        relative.find(':') != std::string_view::npos)
        return std::nullopt;
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= relative.size(); ++i) {
        if (i < relative.size() && !IsSeparator(relative[i]))
            continue;
        const std::string_view part = relative.substr(start, i - start);
        start = i + 1;
        if (part.empty() || part == ".")
            continue;
        // "..", and names Windows reads as "..", such as "..." or ".. ".
        if (part.find_first_not_of(". ") == std::string_view::npos)
            return std::nullopt;
        parts.push_back(part);
    }
    if (parts.empty())
        return std::nullopt;
    std::string out(folder);
    if (out.empty() || out.back() != '\\')
        out += '\\';
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0)
            out += '\\';
        out += parts[i];
    }
    if (IsSeparator(relative.back()))
        out += '\\';
    return out;
}

std::optional<std::string> RelativeToFolder(std::string_view folder, std::string_view path) {
    std::string base(folder);
    if (base.empty() || base.back() != '\\')
        base += '\\';
    if (path.size() < base.size() || !AnsiSameText(path.substr(0, base.size()), base))
        return std::nullopt;
    return std::string(path.substr(base.size()));
}

} // namespace carmanual
