#include "syntax.h"

#include "ansi.h"
#include "paths.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>

namespace carmanual {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The byte at pos, with the end of the line reading as NUL.
char At(std::string_view s, std::size_t pos) {
    return pos < s.size() ? s[pos] : '\0';
}

// Strict decimal conversion of a whole (trimmed) text, as for region points.
bool ToInt32(std::string_view text, std::int32_t& value) {
    const std::string t = Trim(text);
    std::size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '-' || t[i] == '+')) {
        negative = t[i] == '-';
        ++i;
    }
    if (i >= t.size())
        return false;
    std::int64_t v = 0;
    for (; i < t.size(); ++i) {
        if (!IsDigit(t[i]))
            return false;
        v = v * 10 + (t[i] - '0');
        if (v > std::int64_t(INT32_MAX) + 1)
            return false;
    }
    if (negative)
        v = -v;
    if (v > INT32_MAX || v < INT32_MIN)
        return false;
    value = static_cast<std::int32_t>(v);
    return true;
}

char LowerAnsi(char c) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 'A' && b <= 'Z')
        return static_cast<char>(b + 0x20);
    if (b >= 0xC0 && b <= 0xDF)
        return static_cast<char>(b + 0x20);
    return c;
}

} // namespace

bool ReadTextLine(TComprStream& stream, std::string& line) {
    line.clear();
    if (stream.Position() >= stream.Size())
        return false;
    char c;
    while (stream.ReadByte(c)) {
        if (c == '\r')
            return true;
        if (c != '\n')
            line += c;
    }
    return true;
}

bool ReadIndexLine(TComprStream& stream, std::string& line) {
    line.clear();
    char c;
    while (stream.ReadByte(c)) {
        if (c == '\r')
            return true;
        if (c != '\n')
            line += c;
    }
    return false;
}

TDynamicStringArray ReadDescriptionLines(TComprStream& stream, bool lowerLatin) {
    TDynamicStringArray lines;
    std::string line;
    while (ReadTextLine(stream, line))
        lines.push_back(lowerLatin ? LowerLatin(line) : line);
    return lines;
}

std::int32_t IntAt(std::string_view line, std::size_t pos) {
    std::size_t i = pos;
    while (i < line.size() && line[i] != '\0' && line[i] != '-' && !IsDigit(line[i]))
        ++i;
    std::size_t j = i;
    while (j < line.size() && (line[j] == '-' || IsDigit(line[j])))
        ++j;
    const std::string_view run = i < line.size() ? line.substr(i, j - i) : std::string_view();
    if (run.empty() || run.find('-', 1) != std::string_view::npos)
        return -1;
    std::int32_t value = -1;
    return ToInt32(run, value) ? value : -1;
}

std::string Trim(std::string_view text) {
    std::size_t b = 0;
    std::size_t e = text.size();
    while (b < e && static_cast<unsigned char>(text[b]) <= 0x20)
        ++b;
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= 0x20)
        --e;
    return std::string(text.substr(b, e - b));
}

std::string StringAt(std::string_view line, std::size_t pos) {
    std::size_t e = pos;
    while (e < line.size() && line[e] != '\0' && line[e] != ';')
        ++e;
    return pos < line.size() ? Trim(line.substr(pos, e - pos)) : std::string();
}

std::uint32_t ColorAt(std::string_view line, std::size_t pos) {
    std::size_t p = pos;
    while (p < line.size() && line[p] != '\0' && !IsDigit(line[p]))
        ++p;
    if (!IsDigit(At(line, p)))
        return 0;
    const std::int32_t red = IntAt(line, p);
    const std::size_t redLen = std::to_string(red).size();
    const std::int32_t green = IntAt(line, p + redLen + 1);
    const std::size_t greenLen = std::to_string(green).size();
    const std::int32_t blue = IntAt(line, p + redLen + greenLen + 2);
    return (static_cast<std::uint32_t>(red) & 255u) +
           ((static_cast<std::uint32_t>(green) & 255u) << 8) +
           ((static_cast<std::uint32_t>(blue) & 255u) << 16);
}

TDynamicStringArray BracketList(const TDynamicStringArray& lines, std::size_t& index) {
    TDynamicStringArray items;
    if (index >= lines.size())
        return items;
    const std::size_t open = lines[index].find('[');
    if (open == std::string::npos)
        return items;
    std::size_t li = index;
    std::size_t p = open + 1;
    while (At(lines[li], p) != ']') {
        std::size_t start = p;
        char c;
        while ((c = At(lines[li], p)) != '\0' && c != ';' && c != ']')
            ++p;
        items.push_back(Trim(std::string_view(lines[li]).substr(start, p - start)));
        if (c == '\0') {
            if (li + 1 >= lines.size())
                break; // no closing bracket: the list ends with the last line
            ++li;
            p = 0;
        } else if (c == ';') {
            ++p;
        }
    }
    index = li;
    for (std::string& item : items)
        item = ResolveValuePath(item);
    return items;
}

TWindowRegion RegionFromPoints(const TDynamicStringArray& items) {
    TWindowRegion region;
    for (const std::string& item : items) {
        if (region.points.size() >= kMaxRegionPoints)
            break;
        const std::size_t comma = item.find(',');
        TPoint pt;
        if (comma == std::string::npos || !ToInt32(std::string_view(item).substr(0, comma), pt.x) ||
            !ToInt32(std::string_view(item).substr(comma + 1), pt.y))
            throw EConvertError("'" + AnsiToUtf8(item) + "' is not a valid point");
        region.points.push_back(pt);
    }
    return region;
}

TWindowRegion WindowRegionFromList(const TDynamicStringArray& lines, std::size_t& index) {
    return RegionFromPoints(BracketList(lines, index));
}

std::string ResolveValuePath(std::string_view value) {
    std::string v(value);
    const std::size_t cd = v.find("<cd>");
    if (cd != std::string::npos) {
        v.replace(cd, 4, ProgramDrive());
        return v;
    }
    if (v.find(":\\") == std::string::npos &&
        (v.find('.') != std::string::npos || v.find('\\') != std::string::npos)) {
        const std::size_t eq = v.rfind('=');
        if (eq != std::string::npos)
            return v.substr(0, eq + 1) + JoinRelativePath(ProgramDir(), v.substr(eq + 1));
        return JoinRelativePath(ProgramDir(), v);
    }
    return v;
}

std::string JoinRelativePath(std::string_view base, std::string_view relative) {
    std::string b(base);
    std::size_t floor;
    const std::size_t drive = b.find(":\\");
    if (drive != std::string::npos) {
        const std::size_t first = drive + 1;
        const std::size_t next = b.find('\\', first + 1);
        floor = next != std::string::npos ? next : first;
        if (b.back() != '\\')
            b += '\\';
    } else {
        floor = b.find('\\');
        if (floor != std::string::npos) {
            if (b.back() != '\\')
                b += '\\';
        } else {
            b += '\\';
            floor = b.size() - 1;
        }
    }
    const std::string rel = Trim(relative);
    std::string result;
    if (!rel.empty() && rel[0] == '\\')
        result = b.substr(0, floor + 1) + rel.substr(1);
    else
        result = b + rel;
    for (;;) {
        const std::size_t p = result.find("\\..\\");
        if (p == std::string::npos)
            break;
        if (p > floor) {
            const std::size_t q = result.rfind('\\', p - 1);
            if (q == std::string::npos)
                break;
            result.erase(q + 1, p + 4 - (q + 1));
        } else {
            result.erase(p + 1, 3);
        }
    }
    return result;
}

std::string ValueAfterFirstEq(std::string_view text) {
    const std::size_t first = text.find('=');
    if (first == std::string_view::npos)
        return {};
    const std::size_t last = text.rfind('=');
    if (first == last)
        return ResolveValuePath(text.substr(first + 1));
    return ResolveValuePath(text.substr(first + 1, last - first - 1));
}

std::string ValueAfterLastEq(std::string_view text) {
    if (std::count(text.begin(), text.end(), '=') < 2)
        return {};
    return ResolveValuePath(text.substr(text.rfind('=') + 1));
}

MyArray SplitBySeparator(std::string_view separator, std::string_view text) {
    MyArray pieces;
    if (separator.empty()) {
        if (!text.empty())
            pieces.emplace_back(text);
        return pieces;
    }
    std::string cur;
    bool seen = false;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text.compare(i, separator.size(), separator) == 0) {
            std::string piece = Trim(cur);
            if (!piece.empty())
                pieces.push_back(std::move(piece));
            cur.clear();
            i += separator.size();
            seen = true;
        } else {
            cur += text[i++];
        }
    }
    if ((seen && pieces.size() == 1) || !cur.empty())
        pieces.push_back(cur);
    return pieces;
}

int IndexOfInteger(const TDynamicIntegerArray& array, std::int32_t value) {
    const auto it = std::find(array.begin(), array.end(), value);
    return it == array.end() ? -1 : static_cast<int>(it - array.begin());
}

bool ListHasText(const TDynamicStringArray& array, std::string_view text) {
    const std::string want = LowerLatin(text);
    return std::any_of(array.begin(), array.end(),
                       [&](const std::string& item) { return LowerLatin(item) == want; });
}

bool MatchesMask(std::string_view name, std::string_view mask) {
    if (mask == "*.*" || mask == "*")
        return true;
    // Iterative glob with backtracking over the last '*'.
    std::size_t n = 0, m = 0, star = std::string_view::npos, mark = 0;
    auto same = [](char a, char b) {
        return AnsiUpper(static_cast<unsigned char>(a)) == AnsiUpper(static_cast<unsigned char>(b));
    };
    while (n < name.size()) {
        if (m < mask.size() && (mask[m] == '?' || (mask[m] != '*' && same(mask[m], name[n])))) {
            ++n;
            ++m;
        } else if (m < mask.size() && mask[m] == '*') {
            star = m++;
            mark = n;
        } else if (star != std::string_view::npos) {
            m = star + 1;
            n = ++mark;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*')
        ++m;
    return m == mask.size();
}

void ScanDirectory(std::string_view directory, TDynamicStringArray& masks, bool recurse,
                   TDynamicStringArray& out, bool includeDirectories) {
    namespace fs = std::filesystem;
    for (std::string& mask : masks)
        std::transform(mask.begin(), mask.end(), mask.begin(), LowerAnsi);
    std::string start(directory);
    if (start.empty() || start.back() != '\\')
        start += '\\';
    TDynamicStringArray toVisit{start};
    std::set<fs::path> seen; // a link back up the tree is walked once
    for (std::size_t d = 0; d < toVisit.size(); ++d) {
        const std::string dir = toVisit[d];
        const auto native = FindOnDisk(dir, DiskKind::Directory);
        if (!native)
            continue;
        if (includeDirectories)
            out.push_back(dir);
        std::error_code ec;
        if (!seen.insert(fs::canonical(*native, ec)).second)
            continue;
        std::vector<std::string> files, folders;
        for (fs::directory_iterator it(*native, ec), end; !ec && it != end; it.increment(ec)) {
            const std::string name = Utf8ToAnsi(it->path().filename().string());
            std::error_code sec;
            if (it->is_directory(sec))
                folders.push_back(name);
            else if (it->is_regular_file(sec))
                files.push_back(name);
        }
        std::sort(files.begin(), files.end());
        std::sort(folders.begin(), folders.end());
        for (const std::string& mask : masks) {
            for (const std::string& file : files) {
                if (MatchesMask(file, mask))
                    out.push_back(dir + file);
            }
        }
        if (recurse) {
            for (const std::string& folder : folders)
                toVisit.push_back(dir + folder + '\\');
        }
    }
}

} // namespace carmanual
