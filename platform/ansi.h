#pragma once
// Windows-1251 text, the byte encoding of every description file, page name and
// archive entry. The core keeps such text as std::string bytes; conversion to
// Unicode happens once, at the edge of the Qt layer or of the file system.

#include <cstdint>
#include <string>
#include <string_view>

namespace carmanual {

// The Unicode character of one Windows-1251 byte. The one byte the code page
// leaves undefined (0x98) maps to U+0098 so that every byte round-trips.
char32_t AnsiToUnicode(unsigned char byte);

// The Windows-1251 byte of a character, or -1 when the code page has none.
int UnicodeToAnsi(char32_t ch);

std::string AnsiToUtf8(std::string_view ansi);

// Converts UTF-8 to Windows-1251. Characters without a Windows-1251 form (and
// malformed UTF-8) become '?', and *exact is set to false when given.
std::string Utf8ToAnsi(std::string_view utf8, bool* exact = nullptr);

// Decodes UTF-8 into code points; malformed sequences yield U+FFFD.
std::u32string Utf8ToUtf32(std::string_view utf8);
std::string Utf32ToUtf8(std::u32string_view text);

// Latin a-z to A-Z and Windows-1251 а-я to А-Я, the letter case the
// description readers and the archive ignore. ё (0xB8) keeps its case.
unsigned char AnsiUpper(unsigned char byte);
// Latin A-Z to a-z only: how Struct.txt lines are lowered before parsing.
std::string LowerLatin(std::string_view text);
// Case-insensitive comparison of Windows-1251 text (Latin and Cyrillic).
bool AnsiSameText(std::string_view a, std::string_view b);

} // namespace carmanual
