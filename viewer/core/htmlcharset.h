#pragma once
// The character sets pages are written in. A page declares its set with a
// meta tag (<meta charset=...> or content="text/html; charset=...") or starts
// with a byte-order mark; a page that declares nothing is windows-1251, as
// the manuals were written on Russian Windows.

#include <string>
#include <string_view>

namespace carmanual {

enum class THtmlCharset {
    Windows1251,
    Koi8R,
    Utf8,
    Utf16LE, // only with a byte-order mark
    Utf16BE,
    Other, // declared, but none of the above: see THtmlCharsetInfo::Name
};

struct THtmlCharsetInfo {
    THtmlCharset Charset = THtmlCharset::Windows1251;
    std::string Name;         // the declared name, lower case; empty when none
    std::size_t BomBytes = 0; // bytes of the byte-order mark to skip
};

// The character set of a page: its byte-order mark, else the first meta
// declaration in its head (the first 8 KB are searched), else windows-1251.
THtmlCharsetInfo DetectCharset(std::string_view page);

// The set a declared name stands for (case and the usual aliases ignored:
// "cp1251", "win-1251", "koi8r", "utf8", ...).
THtmlCharset CharsetFromName(std::string_view name);

// The Unicode character of every byte of a single-byte set (windows-1251 or
// koi8-r; any other set gives the windows-1251 table).
const char16_t* SingleByteTable(THtmlCharset charset);

// Page text to UTF-8 (byte-order mark skipped; a set the core does not know
// is read as windows-1251).
std::string DecodeToUtf8(std::string_view text, THtmlCharset charset);
// Page text to Windows-1251, the program's own encoding for names and titles;
// characters without a Windows-1251 form become '?'.
std::string DecodeToAnsi(std::string_view text, THtmlCharset charset);

} // namespace carmanual
