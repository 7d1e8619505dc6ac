#include "pagenames.h"

#include "ansi.h"
#include "archive.h"
#include "syntax.h"

#include <array>

namespace carmanual {

namespace {

bool IsSlash(char c) {
    return c == '\\' || c == '/';
}

bool HasDrive(std::string_view path) {
    return path.size() >= 2 && path[1] == ':' &&
           ((path[0] >= 'a' && path[0] <= 'z') || (path[0] >= 'A' && path[0] <= 'Z'));
}

} // namespace

std::string_view StripAnchor(std::string_view path) {
    const std::size_t hash = path.find('#');
    return hash == std::string_view::npos ? path : path.substr(0, hash);
}

namespace {

bool IsFolderMark(char c) {
    return c == '\\' || c == '/' || c == ':';
}

} // namespace

std::string_view FileNameOf(std::string_view path) {
    std::size_t start = path.size();
    while (start > 0 && !IsFolderMark(path[start - 1]))
        --start;
    return path.substr(start);
}

bool HasFolderPart(std::string_view path) {
    for (const char c : path) {
        if (IsFolderMark(c))
            return true;
    }
    return false;
}

bool IsAbsolutePage(std::string_view path) {
    return HasDrive(path) || (path.size() >= 2 && IsSlash(path[0]) && IsSlash(path[1]));
}

std::string ResolvePagePath(std::string_view file, std::string_view programDir) {
    std::string name = Trim(file);
    for (char& c : name) {
        if (c == '/')
            c = '\\';
    }
    if (name.empty() || IsAbsolutePage(name))
        return name;
    return JoinRelativePath(programDir, name);
}

void FoldPathFrom(std::string& text, std::size_t from) {
    // A table, since keys are folded for every item of a large tree.
    static const auto table = [] {
        std::array<char, 256> t{};
        for (int b = 0; b < 256; ++b)
            t[static_cast<std::size_t>(b)] =
                b == '/' ? '\\' : static_cast<char>(AnsiUpper(static_cast<unsigned char>(b)));
        return t;
    }();
    for (std::size_t i = from; i < text.size(); ++i)
        text[i] = table[static_cast<unsigned char>(text[i])];
}

std::string PageKey(std::string_view path) {
    std::string key = Trim(StripAnchor(path));
    FoldPath(key);
    if (HasDrive(key) && key[0] != 'Z')
        key.erase(0, 2);
    return key;
}

bool SamePage(std::string_view a, std::string_view b) {
    const std::string ka = PageKey(a);
    return !ka.empty() && ka == PageKey(b);
}

std::string FileNameKey(std::string_view path) {
    std::string key = Trim(FileNameOf(StripAnchor(path)));
    FoldPath(key);
    return key;
}

bool IsArchiveListingPage(std::string_view document, std::string_view tempDir) {
    std::string folder = PageKey(tempDir);
    if (folder.empty())
        return false;
    if (folder.back() != '\\')
        folder += '\\';
    const std::string page = PageKey(document);
    if (page.size() <= folder.size() || page.compare(0, folder.size(), folder) != 0)
        return false;
    return page.compare(folder.size(), 3, "AS_") == 0;
}

namespace {

char FoldCaptionChar(char c) {
    const auto b = static_cast<unsigned char>(c);
    return static_cast<char>(b == 0xB8 ? 0xA8 : AnsiUpper(b));
}

} // namespace

std::string FoldCaption(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = FoldCaptionChar(c);
    return out;
}

bool CaptionContains(std::string_view caption, std::string_view foldedText) {
    if (foldedText.size() > caption.size())
        return false;
    for (std::size_t start = 0; start + foldedText.size() <= caption.size(); ++start) {
        std::size_t i = 0;
        while (i < foldedText.size() && FoldCaptionChar(caption[start + i]) == foldedText[i])
            ++i;
        if (i == foldedText.size())
            return true;
    }
    return false;
}

} // namespace carmanual
