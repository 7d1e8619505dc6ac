// Arbitrary bytes as a description or index file: every line and value reader
// must stay inside its line and its list of lines and always come to an end.

#include "syntax.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

using namespace carmanual;

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

void ValueReaders(const std::string& line, std::uint8_t salt) {
    const std::size_t positions[] = {0,
                                     1,
                                     line.find('='),
                                     line.find('['),
                                     line.find(';'),
                                     line.size() / 2,
                                     line.size() ? line.size() - 1 : 0,
                                     line.size(),
                                     line.size() + 1 + salt,
                                     salt};
    for (std::size_t pos : positions) {
        if (pos == std::string::npos)
            pos = line.size() + 3;
        IntAt(line, pos);
        const std::string s = StringAt(line, pos);
        Check(s.size() <= line.size());
        ColorAt(line, pos);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::uint8_t salt = size ? data[0] : 0;

    // The stream readers: each true result consumes at least one byte.
    {
        TComprStream stream = TComprStream::FromBytes(text);
        std::string line;
        std::size_t lines = 0;
        while (ReadTextLine(stream, line)) {
            Check(line.size() <= size);
            Check(++lines <= size);
        }
        TComprStream index = TComprStream::FromBytes(text);
        lines = 0;
        while (ReadIndexLine(index, line))
            Check(++lines <= size);
    }

    TComprStream stream = TComprStream::FromBytes(text);
    const TDynamicStringArray lines = ReadDescriptionLines(stream, (salt & 1) != 0);

    for (std::size_t i = 0; i < lines.size() && i < 64; ++i) {
        const std::string& line = lines[i];
        ValueReaders(line, salt);

        std::size_t index = i;
        BracketList(lines, index);
        Check(index >= i && index < lines.size());

        index = i;
        try {
            const TWindowRegion region = WindowRegionFromList(lines, index);
            Check(region.points.size() <= kMaxRegionPoints);
        } catch (const EConvertError&) {
        }
        Check(index >= i && index < lines.size());

        ResolveValuePath(line);
        ValueAfterFirstEq(line);
        ValueAfterLastEq(line);
        const std::string& other = lines[(i + 1) % lines.size()];
        JoinRelativePath(line, other);
        if (line.size() < 256 && other.size() < 256) // the glob backtracks: O(n*m)
            MatchesMask(line, other);
        const std::string separator = other.substr(0, 1 + salt % 3);
        if (!separator.empty()) {
            const MyArray pieces = SplitBySeparator(separator, line);
            Check(pieces.size() <= line.size() + 1);
        }
        SplitBySeparator("~", line);
    }
    std::size_t past = lines.size() + 1;
    Check(BracketList(lines, past).empty() && past == lines.size() + 1);
    return 0;
}
