#include "htmltags.h"

#include "ansi.h"

#include <cctype>
#include <cstdlib>
#include <unordered_map>

namespace carmanual {

namespace {

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

bool IsNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == ':' ||
           c == '!';
}

// Position of needle (lower-case ASCII) in haystack from pos, ignoring case.
std::size_t FindNoCase(std::string_view haystack, std::string_view needle, std::size_t pos) {
    if (needle.empty())
        return pos;
    for (std::size_t i = pos; i + needle.size() <= haystack.size(); ++i) {
        if (LowerAscii(haystack[i]) != needle[0])
            continue;
        std::size_t k = 1;
        while (k < needle.size() && LowerAscii(haystack[i + k]) == needle[k])
            ++k;
        if (k == needle.size())
            return i;
    }
    return std::string_view::npos;
}

} // namespace

const THtmlAttribute* THtmlTag::Find(std::string_view name) const {
    for (const THtmlAttribute& a : Attributes) {
        if (a.Name == name)
            return &a;
    }
    return nullptr;
}

std::string THtmlTag::Value(std::string_view name, std::string_view fallback) const {
    const THtmlAttribute* a = Find(name);
    if (!a)
        return std::string(fallback);
    // Entities in names are plain ASCII (&amp; mostly), so decoding as UTF-8
    // leaves the bytes of any other set alone.
    if (a->Value.find('&') == std::string::npos)
        return a->Value;
    return DecodeEntitiesUtf8(a->Value);
}

bool THtmlTagScanner::Next(THtmlTag& tag) {
    const std::string_view h = m_html;
    while (m_pos < h.size()) {
        const std::size_t lt = h.find('<', m_pos);
        if (lt == std::string_view::npos || lt + 1 >= h.size()) {
            m_pos = h.size();
            return false;
        }
        if (h.compare(lt, 4, "<!--") == 0) {
            const std::size_t end = h.find("-->", lt + 4);
            m_pos = end == std::string_view::npos ? h.size() : end + 3;
            continue;
        }
        std::size_t p = lt + 1;
        bool closing = false;
        if (h[p] == '/') {
            closing = true;
            ++p;
        }
        if (!(std::isalpha(static_cast<unsigned char>(h[p])) || h[p] == '!' || h[p] == '?')) {
            // A lone '<' in text.
            m_pos = lt + 1;
            continue;
        }
        if (h[p] == '!' || h[p] == '?') {
            const std::size_t end = h.find('>', p);
            m_pos = end == std::string_view::npos ? h.size() : end + 1;
            continue;
        }
        tag = THtmlTag{};
        tag.Closing = closing;
        tag.Begin = lt;
        while (p < h.size() && IsNameChar(h[p]))
            tag.Name += LowerAscii(h[p++]);
        // Attributes up to '>' (a '>' inside quotes does not end the tag).
        while (p < h.size() && h[p] != '>') {
            if (IsSpace(h[p]) || h[p] == '/') {
                ++p;
                continue;
            }
            THtmlAttribute attr;
            while (p < h.size() && !IsSpace(h[p]) && h[p] != '=' && h[p] != '>' &&
                   !(h[p] == '/' && p + 1 < h.size() && h[p + 1] == '>'))
                attr.Name += LowerAscii(h[p++]);
            while (p < h.size() && IsSpace(h[p]))
                ++p;
            if (p < h.size() && h[p] == '=') {
                ++p;
                while (p < h.size() && IsSpace(h[p]))
                    ++p;
                if (p < h.size() && (h[p] == '"' || h[p] == '\'')) {
                    const char quote = h[p++];
                    std::size_t end = h.find(quote, p);
                    if (end == std::string_view::npos)
                        end = h.size();
                    attr.ValueBegin = p;
                    attr.ValueEnd = end;
                    p = end < h.size() ? end + 1 : end;
                } else {
                    attr.ValueBegin = p;
                    while (p < h.size() && !IsSpace(h[p]) && h[p] != '>')
                        ++p;
                    attr.ValueEnd = p;
                }
                attr.Value =
                    std::string(h.substr(attr.ValueBegin, attr.ValueEnd - attr.ValueBegin));
            }
            if (!attr.Name.empty())
                tag.Attributes.push_back(std::move(attr));
            else if (p < h.size() && h[p] != '>')
                ++p;
        }
        tag.End = p < h.size() ? p + 1 : h.size();
        m_pos = tag.End;
        // The contents of script and style are not markup.
        if (!closing && (tag.Name == "script" || tag.Name == "style")) {
            const std::string endTag = "</" + tag.Name;
            const std::size_t end = FindNoCase(h, endTag, m_pos);
            m_pos = end == std::string_view::npos ? h.size() : end;
        }
        return true;
    }
    return false;
}

std::string DecodeEntitiesUtf8(std::string_view text) {
    static const std::unordered_map<std::string, char32_t> named = {
        {"amp", U'&'},     {"lt", U'<'},      {"gt", U'>'},       {"quot", U'"'},
        {"apos", U'\''},   {"nbsp", 0xA0},    {"copy", 0xA9},     {"reg", 0xAE},
        {"laquo", 0xAB},   {"raquo", 0xBB},   {"deg", 0xB0},      {"plusmn", 0xB1},
        {"times", 0xD7},   {"divide", 0xF7},  {"middot", 0xB7},   {"sect", 0xA7},
        {"ndash", 0x2013}, {"mdash", 0x2014}, {"hellip", 0x2026}, {"bull", 0x2022},
        {"ldquo", 0x201C}, {"rdquo", 0x201D}, {"bdquo", 0x201E},  {"lsquo", 0x2018},
        {"rsquo", 0x2019}, {"trade", 0x2122}, {"euro", 0x20AC},   {"micro", 0xB5},
        {"frac12", 0xBD},  {"sup2", 0xB2},    {"sup3", 0xB3},     {"shy", 0xAD},
    };
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            out += text[i];
            continue;
        }
        const std::size_t semi = text.find(';', i + 1);
        if (semi == std::string_view::npos || semi - i > 10) {
            out += '&';
            continue;
        }
        const std::string_view ref = text.substr(i + 1, semi - i - 1);
        char32_t ch = 0;
        if (ref.size() > 1 && ref[0] == '#') {
            const bool hex = ref[1] == 'x' || ref[1] == 'X';
            const std::string digits(ref.substr(hex ? 2 : 1));
            char* end = nullptr;
            const unsigned long v = std::strtoul(digits.c_str(), &end, hex ? 16 : 10);
            if (!digits.empty() && end && *end == '\0' && v > 0 && v < 0x110000)
                ch = static_cast<char32_t>(v);
        } else {
            const auto it = named.find(std::string(ref));
            if (it != named.end())
                ch = it->second;
        }
        if (ch == 0) {
            out += '&';
            continue;
        }
        out += Utf32ToUtf8(std::u32string(1, ch));
        i = semi;
    }
    return out;
}

std::string PlainText(std::string_view html) {
    std::string text;
    std::size_t pos = 0;
    THtmlTagScanner scanner(html);
    THtmlTag tag;
    while (scanner.Next(tag)) {
        text.append(html.substr(pos, tag.Begin - pos));
        text += ' ';
        pos = tag.End;
    }
    if (pos < html.size())
        text.append(html.substr(pos));
    const std::string decoded = DecodeEntitiesUtf8(text);
    std::string out;
    bool space = false;
    for (char c : decoded) {
        if (IsSpace(c)) {
            space = true;
            continue;
        }
        if (space && !out.empty())
            out += ' ';
        space = false;
        out += c;
    }
    return out;
}

} // namespace carmanual
