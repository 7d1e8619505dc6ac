#pragma once
// The line syntax shared by every description file (Struct.txt, Dialog.txt,
// About.txt, ...) and the small text helpers the index readers use.
//
// Lines are Windows-1251 bytes. A key is found by plain substring search, so
// callers pass the position where they found it; positions here are 0-based
// byte offsets. The end of a line (or a NUL byte) stops every reader.

#include "comprstream.h"
#include "types.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace carmanual {

// The next line of a description file: ends at CR, drops LF wherever it
// stands. False only when the stream is already at its end, so an
// unterminated last line comes with true.
bool ReadTextLine(TComprStream& stream, std::string& line);

// The next line of an index file: true for a line that ended with CR; false at
// the end of the stream, with whatever followed the last CR (possibly empty).
bool ReadIndexLine(TComprStream& stream, std::string& line);

// Every line of a description file, lines of Struct.txt lowered (Latin only).
TDynamicStringArray ReadDescriptionLines(TComprStream& stream, bool lowerLatin);

// The first run of '-' and digits at or after pos as a 32-bit integer; -1 for
// no run, a '-' inside the run, or an overflow.
std::int32_t IntAt(std::string_view line, std::size_t pos);

// The text from pos up to ';' or the end of the line, trimmed.
std::string StringAt(std::string_view line, std::size_t pos);

// "r,g,b" at or after pos as red + green*256 + blue*65536; 0 when no digit
// follows pos.
std::uint32_t ColorAt(std::string_view line, std::size_t pos);

// Removes every byte of value 0x20 or below from both ends.
std::string Trim(std::string_view text);

// The items of a "[a;b;...]" list that starts on lines[index] and may continue
// over the following lines, each passed through ResolveValuePath. index is
// left on the line holding the closing ']'. A list with no closing ']' ends
// with the last line.
TDynamicStringArray BracketList(const TDynamicStringArray& lines, std::size_t& index);

struct TPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool operator==(const TPoint&) const = default;
};

// The window shape of a "[x,y;x,y;...]" list: a polygon of at most 2000
// points in list order, filled with the winding rule. Throws EConvertError for
// an item that is not two integers.
struct TWindowRegion {
    std::vector<TPoint> points;
};
TWindowRegion WindowRegionFromList(const TDynamicStringArray& lines, std::size_t& index);
// The same from the list's items ("x,y" each), as a description element
// keeps them.
TWindowRegion RegionFromPoints(const TDynamicStringArray& items);
constexpr std::size_t kMaxRegionPoints = 2000;

// "<cd>" becomes the program's drive; a relative path (no ":\", but a '.' or
// '\') is joined to the program's folder, after the last '=' when there is
// one. Anything else is returned as it is.
std::string ResolveValuePath(std::string_view value);

// Joins a relative path to a base folder and removes "..\" steps, never
// climbing above the base's first folder level.
std::string JoinRelativePath(std::string_view base, std::string_view relative);

// For "name=argument=second": argument (or everything after the only '=').
std::string ValueAfterFirstEq(std::string_view text);
// For "name=argument=second": second; empty with fewer than two '='.
std::string ValueAfterLastEq(std::string_view text);

// Splits at every full match of the separator; pieces are trimmed and empty
// ones dropped, except that "word~" gives "word" and an empty piece.
MyArray SplitBySeparator(std::string_view separator, std::string_view text);

// The first index holding value, or -1.
int IndexOfInteger(const TDynamicIntegerArray& array, std::int32_t value);

// True when an item equals the text, ignoring the case of Latin letters.
bool ListHasText(const TDynamicStringArray& array, std::string_view text);

// Full names of the files matching the masks (lowered in place) in a folder,
// and with recurse in every folder below it, folders before their contents;
// with includeDirectories the folders themselves too. Folder and file names
// are manual names ("c:\fonts\a.ttf"). A missing folder gives nothing.
void ScanDirectory(std::string_view directory, TDynamicStringArray& masks, bool recurse,
                   TDynamicStringArray& out, bool includeDirectories);

// Matches a file name against a "*.ttf"-style mask, ignoring letter case.
bool MatchesMask(std::string_view name, std::string_view mask);

} // namespace carmanual
