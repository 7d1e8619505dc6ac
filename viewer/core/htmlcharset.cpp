#include "htmlcharset.h"

#include "ansi.h"

#include <array>
#include <cctype>

namespace carmanual {

namespace {

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// KOI8-R above 0x7F: box drawing and symbols, then the Cyrillic alphabet in
// the order of the Latin letters it transliterates.
constexpr std::array<char16_t, 128> kKoi8rHigh = {
    0x2500, 0x2502, 0x250C, 0x2510, 0x2514, 0x2518, 0x251C, 0x2524, 0x252C, 0x2534, 0x253C, 0x2580,
    0x2584, 0x2588, 0x258C, 0x2590, 0x2591, 0x2592, 0x2593, 0x2320, 0x25A0, 0x2219, 0x221A, 0x2248,
    0x2264, 0x2265, 0x00A0, 0x2321, 0x00B0, 0x00B2, 0x00B7, 0x00F7, 0x2550, 0x2551, 0x2552, 0x0451,
    0x2553, 0x2554, 0x2555, 0x2556, 0x2557, 0x2558, 0x2559, 0x255A, 0x255B, 0x255C, 0x255D, 0x255E,
    0x255F, 0x2560, 0x2561, 0x0401, 0x2562, 0x2563, 0x2564, 0x2565, 0x2566, 0x2567, 0x2568, 0x2569,
    0x256A, 0x256B, 0x256C, 0x00A9, 0x044E, 0x0430, 0x0431, 0x0446, 0x0434, 0x0435, 0x0444, 0x0433,
    0x0445, 0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, 0x044F, 0x0440, 0x0441,
    0x0442, 0x0443, 0x0436, 0x0432, 0x044C, 0x044B, 0x0437, 0x0448, 0x044D, 0x0449, 0x0447, 0x044A,
    0x042E, 0x0410, 0x0411, 0x0426, 0x0414, 0x0415, 0x0424, 0x0413, 0x0425, 0x0418, 0x0419, 0x041A,
    0x041B, 0x041C, 0x041D, 0x041E, 0x041F, 0x042F, 0x0420, 0x0421, 0x0422, 0x0423, 0x0416, 0x0412,
    0x042C, 0x042B, 0x0417, 0x0428, 0x042D, 0x0429, 0x0427, 0x042A};

struct Tables {
    std::array<char16_t, 256> cp1251{};
    std::array<char16_t, 256> koi8r{};
    Tables() {
        for (int b = 0; b < 256; ++b) {
            cp1251[static_cast<std::size_t>(b)] =
                static_cast<char16_t>(AnsiToUnicode(static_cast<unsigned char>(b)));
            koi8r[static_cast<std::size_t>(b)] =
                b < 128 ? static_cast<char16_t>(b) : kKoi8rHigh[static_cast<std::size_t>(b - 128)];
        }
    }
};

const Tables& TheTables() {
    static const Tables tables;
    return tables;
}

// The value of "charset=" at pos: up to a quote, space, ';', '/' or '>'.
std::string CharsetValue(std::string_view head, std::size_t pos) {
    while (pos < head.size() && (head[pos] == ' ' || head[pos] == '"' || head[pos] == '\''))
        ++pos;
    std::size_t end = pos;
    while (end < head.size() && head[end] != '"' && head[end] != '\'' && head[end] != ' ' &&
           head[end] != ';' && head[end] != '>' && head[end] != '/' &&
           static_cast<unsigned char>(head[end]) > ' ')
        ++end;
    return std::string(head.substr(pos, end - pos));
}

} // namespace

THtmlCharset CharsetFromName(std::string_view name) {
    std::string n = Lower(name);
    std::string compact;
    for (char c : n) {
        if (c != '-' && c != '_' && c != ' ')
            compact += c;
    }
    if (compact.empty() || compact == "windows1251" || compact == "cp1251" ||
        compact == "win1251" || compact == "xcp1251" || compact == "1251")
        return THtmlCharset::Windows1251;
    if (compact == "koi8r" || compact == "koi8" || compact == "cskoi8r")
        return THtmlCharset::Koi8R;
    if (compact == "utf8")
        return THtmlCharset::Utf8;
    if (compact == "utf16le" || compact == "utf16")
        return THtmlCharset::Utf16LE;
    if (compact == "utf16be")
        return THtmlCharset::Utf16BE;
    return THtmlCharset::Other;
}

THtmlCharsetInfo DetectCharset(std::string_view page) {
    THtmlCharsetInfo info;
    if (page.substr(0, 3) == "\xEF\xBB\xBF") {
        info.Charset = THtmlCharset::Utf8;
        info.Name = "utf-8";
        info.BomBytes = 3;
        return info;
    }
    if (page.substr(0, 2) == "\xFF\xFE") {
        info.Charset = THtmlCharset::Utf16LE;
        info.Name = "utf-16le";
        info.BomBytes = 2;
        return info;
    }
    if (page.substr(0, 2) == "\xFE\xFF") {
        info.Charset = THtmlCharset::Utf16BE;
        info.Name = "utf-16be";
        info.BomBytes = 2;
        return info;
    }
    const std::string head = Lower(page.substr(0, 8192));
    std::size_t meta = 0;
    while ((meta = head.find("<meta", meta)) != std::string::npos) {
        const std::size_t end = head.find('>', meta);
        const std::string_view tag = std::string_view(head).substr(
            meta, end == std::string::npos ? std::string::npos : end - meta);
        const std::size_t cs = tag.find("charset");
        if (cs != std::string_view::npos) {
            std::size_t pos = cs + 7;
            while (pos < tag.size() && tag[pos] == ' ')
                ++pos;
            if (pos < tag.size() && tag[pos] == '=') {
                info.Name = CharsetValue(tag, pos + 1);
                info.Charset = CharsetFromName(info.Name);
                // A page that claims to be UTF-16 but has no mark is read as
                // bytes: the claim cannot be true of text we could scan.
                if (info.Charset == THtmlCharset::Utf16LE || info.Charset == THtmlCharset::Utf16BE)
                    info.Charset = THtmlCharset::Windows1251;
                return info;
            }
        }
        if (end == std::string::npos)
            break;
        meta = end;
    }
    return info;
}

const char16_t* SingleByteTable(THtmlCharset charset) {
    return charset == THtmlCharset::Koi8R ? TheTables().koi8r.data() : TheTables().cp1251.data();
}

std::string DecodeToUtf8(std::string_view text, THtmlCharset charset) {
    switch (charset) {
    case THtmlCharset::Utf8:
        if (text.substr(0, 3) == "\xEF\xBB\xBF")
            text.remove_prefix(3);
        return std::string(text);
    case THtmlCharset::Utf16LE:
    case THtmlCharset::Utf16BE: {
        const bool le = charset == THtmlCharset::Utf16LE;
        if (text.size() >= 2 &&
            ((le && text.substr(0, 2) == "\xFF\xFE") || (!le && text.substr(0, 2) == "\xFE\xFF")))
            text.remove_prefix(2);
        std::u32string out;
        for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
            const auto b0 = static_cast<unsigned char>(text[i]);
            const auto b1 = static_cast<unsigned char>(text[i + 1]);
            char32_t unit = le ? (b0 | (b1 << 8)) : ((b0 << 8) | b1);
            if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < text.size()) {
                const auto c0 = static_cast<unsigned char>(text[i + 2]);
                const auto c1 = static_cast<unsigned char>(text[i + 3]);
                const char32_t low = le ? (c0 | (c1 << 8)) : ((c0 << 8) | c1);
                if (low >= 0xDC00 && low < 0xE000) {
                    unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                    i += 2;
                }
            }
            out += unit;
        }
        return Utf32ToUtf8(out);
    }
    case THtmlCharset::Koi8R: {
        const char16_t* table = SingleByteTable(charset);
        std::u32string out;
        out.reserve(text.size());
        for (char c : text)
            out += table[static_cast<unsigned char>(c)];
        return Utf32ToUtf8(out);
    }
    case THtmlCharset::Windows1251:
    case THtmlCharset::Other:
        break;
    }
    return AnsiToUtf8(text);
}

std::string DecodeToAnsi(std::string_view text, THtmlCharset charset) {
    if (charset == THtmlCharset::Windows1251 || charset == THtmlCharset::Other)
        return std::string(text);
    return Utf8ToAnsi(DecodeToUtf8(text, charset));
}

} // namespace carmanual
