#include "ansi.h"

#include <array>

namespace carmanual {

namespace {

// Upper half of the code page, 0x80..0xBF; 0xC0..0xFF are U+0410..U+044F.
constexpr std::array<char16_t, 64> kHigh = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F, // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, // B8
};

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

} // namespace

char32_t AnsiToUnicode(unsigned char byte) {
    if (byte < 0x80)
        return byte;
    if (byte >= 0xC0)
        return 0x0410 + (byte - 0xC0);
    return kHigh[byte - 0x80];
}

int UnicodeToAnsi(char32_t ch) {
    if (ch < 0x80)
        return static_cast<int>(ch);
    if (ch >= 0x0410 && ch <= 0x044F)
        return static_cast<int>(0xC0 + (ch - 0x0410));
    for (size_t i = 0; i < kHigh.size(); ++i) {
        if (kHigh[i] == ch)
            return static_cast<int>(0x80 + i);
    }
    return -1;
}

std::string AnsiToUtf8(std::string_view ansi) {
    std::string out;
    out.reserve(ansi.size() * 2);
    for (unsigned char b : ansi)
        AppendUtf8(out, AnsiToUnicode(b));
    return out;
}

std::u32string Utf8ToUtf32(std::string_view s) {
    std::u32string out;
    out.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        const unsigned char b = static_cast<unsigned char>(s[i]);
        int extra = 0;
        char32_t c = 0;
        if (b < 0x80) {
            c = b;
        } else if ((b & 0xE0) == 0xC0) {
            c = b & 0x1F;
            extra = 1;
        } else if ((b & 0xF0) == 0xE0) {
            c = b & 0x0F;
            extra = 2;
        } else if ((b & 0xF8) == 0xF0) {
            c = b & 0x07;
            extra = 3;
        } else {
            out += U'\uFFFD';
            ++i;
            continue;
        }
        bool ok = true;
        for (int k = 1; k <= extra; ++k) {
            if (i + k >= s.size() || (static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            c = (c << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        }
        // Overlong forms ("\xC0\xAF" for '/'), surrogates and code points
        // beyond U+10FFFF are malformed too: they must not smuggle in a
        // separator or a NUL.
        constexpr char32_t kShortest[] = {0, 0x80, 0x800, 0x10000};
        if (!ok || c < kShortest[extra] || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) {
            out += U'\uFFFD';
            ++i;
            continue;
        }
        out += c;
        i += 1 + extra;
    }
    return out;
}

std::string Utf32ToUtf8(std::u32string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char32_t c : text)
        AppendUtf8(out, c);
    return out;
}

std::string Utf8ToAnsi(std::string_view utf8, bool* exact) {
    if (exact)
        *exact = true;
    std::string out;
    out.reserve(utf8.size());
    for (char32_t c : Utf8ToUtf32(utf8)) {
        const int b = UnicodeToAnsi(c);
        if (b < 0) {
            out += '?';
            if (exact)
                *exact = false;
        } else {
            out += static_cast<char>(b);
        }
    }
    return out;
}

unsigned char AnsiUpper(unsigned char b) {
    if (b >= 'a' && b <= 'z')
        return static_cast<unsigned char>(b - 0x20);
    if (b >= 0xE0)
        return static_cast<unsigned char>(b - 0x20);
    return b;
}

std::string LowerLatin(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 0x20);
    }
    return out;
}

bool AnsiSameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (AnsiUpper(static_cast<unsigned char>(a[i])) != AnsiUpper(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

} // namespace carmanual
