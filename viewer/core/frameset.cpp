#include "frameset.h"

#include "htmltags.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>

namespace carmanual {

namespace {

std::string LowerAscii(std::string s) {
    for (char& c : s) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return s;
}

std::string Trimmed(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ')
        s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ')
        s.remove_suffix(1);
    return std::string(s);
}

class TFrameSetParser {
public:
    TFrameSetParser(std::string_view page, THtmlCharset charset)
        : m_page(page), m_charset(charset), m_scanner(page) {}

    std::optional<TFrameDocument> Run() {
        TFrameDocument doc;
        THtmlTag tag;
        bool inTitle = false;
        std::size_t titleStart = 0;
        while (m_scanner.Next(tag)) {
            if (tag.Name == "title") {
                if (!tag.Closing) {
                    inTitle = true;
                    titleStart = tag.End;
                } else if (inTitle) {
                    inTitle = false;
                    if (doc.Title.empty())
                        doc.Title = DecodeToAnsi(
                            PlainText(DecodeToUtf8(
                                m_page.substr(titleStart, tag.Begin - titleStart), m_charset)),
                            THtmlCharset::Utf8);
                }
                continue;
            }
            if (tag.Name == "base" && !tag.Closing) {
                doc.BaseTarget = DecodeToAnsi(tag.Value("target"), m_charset);
                continue;
            }
            if (tag.Name == "body" && !tag.Closing) {
                // A body before the frame set: only white space may follow
                // it up to the frame set for the page to be a frame set.
                if (!OnlySpaceUntilFrameset(tag.End))
                    return std::nullopt;
                continue;
            }
            if (tag.Name == "frameset" && !tag.Closing) {
                doc.Root = ParseSet(tag);
                return doc;
            }
        }
        return std::nullopt;
    }

private:
    bool OnlySpaceUntilFrameset(std::size_t from) const {
        THtmlTagScanner probe(m_page, from);
        THtmlTag tag;
        std::size_t pos = from;
        while (probe.Next(tag)) {
            for (std::size_t i = pos; i < tag.Begin; ++i) {
                if (static_cast<unsigned char>(m_page[i]) > ' ')
                    return false;
            }
            if (tag.Name == "frameset")
                return true;
            pos = tag.End;
        }
        return false;
    }

    TFrameSpec ParseFrame(const THtmlTag& tag) const {
        TFrameSpec f;
        f.Name = DecodeToAnsi(tag.Value("name"), m_charset);
        f.Source = DecodeToAnsi(tag.Value("src"), m_charset);
        f.Scrolling = LowerAscii(Trimmed(tag.Value("scrolling", "auto")));
        if (f.Scrolling != "yes" && f.Scrolling != "no")
            f.Scrolling = "auto";
        f.NoResize = tag.Has("noresize");
        if (tag.Has("marginwidth"))
            f.MarginWidth = std::max(0, std::atoi(tag.Value("marginwidth").c_str()));
        if (tag.Has("marginheight"))
            f.MarginHeight = std::max(0, std::atoi(tag.Value("marginheight").c_str()));
        return f;
    }

    // Reads the children of an open <frameset> up to its closing tag.
    TFrameSetSpec ParseSet(const THtmlTag& open) {
        const bool hasRows = open.Has("rows");
        const bool hasCols = open.Has("cols");
        std::vector<TFrameLength> rows = ParseFrameLengths(open.Value("rows"));
        std::vector<TFrameLength> cols = ParseFrameLengths(open.Value("cols"));
        int border = -1;
        if (open.Has("border"))
            border = std::max(0, std::atoi(open.Value("border").c_str()));
        else if (open.Has("framespacing"))
            border = std::max(0, std::atoi(open.Value("framespacing").c_str()));
        const std::string fb = LowerAscii(Trimmed(open.Value("frameborder", "1")));
        const bool frameBorder = !(fb == "0" || fb == "no");

        std::vector<TFrameSpec> children;
        THtmlTag tag;
        while (m_scanner.Next(tag)) {
            if (tag.Name == "frameset") {
                if (tag.Closing)
                    break;
                TFrameSpec holder;
                holder.Nested = std::make_shared<TFrameSetSpec>(ParseSet(tag));
                children.push_back(std::move(holder));
            } else if (tag.Name == "frame" && !tag.Closing) {
                children.push_back(ParseFrame(tag));
            } else if (tag.Name == "noframes" && !tag.Closing) {
                // Content for browsers without frames: skip it.
                while (m_scanner.Next(tag)) {
                    if (tag.Name == "noframes" && tag.Closing)
                        break;
                }
            }
        }

        TFrameSetSpec set;
        set.Border = border;
        set.FrameBorder = frameBorder;
        if (hasRows && hasCols && cols.size() > 1) {
            // A grid: rows of column sets, filled row by row.
            set.Rows = true;
            set.Lengths = rows;
            std::size_t next = 0;
            for (std::size_t r = 0; r < rows.size(); ++r) {
                TFrameSpec rowHolder;
                auto row = std::make_shared<TFrameSetSpec>();
                row->Rows = false;
                row->Lengths = cols;
                row->Border = border;
                row->FrameBorder = frameBorder;
                for (std::size_t c = 0; c < cols.size(); ++c)
                    row->Frames.push_back(next < children.size() ? children[next++] : TFrameSpec{});
                rowHolder.Nested = row;
                set.Frames.push_back(std::move(rowHolder));
            }
            return set;
        }
        set.Rows = hasRows || !hasCols;
        set.Lengths = set.Rows ? rows : cols;
        children.resize(set.Lengths.size());
        set.Frames = std::move(children);
        return set;
    }

    std::string_view m_page;
    THtmlCharset m_charset;
    THtmlTagScanner m_scanner;
};

} // namespace

std::vector<TFrameLength> ParseFrameLengths(std::string_view list) {
    std::vector<TFrameLength> lengths;
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t comma = list.find(',', start);
        if (comma == std::string_view::npos)
            comma = list.size();
        const std::string item = Trimmed(list.substr(start, comma - start));
        start = comma + 1;
        if (item.empty()) {
            if (comma >= list.size())
                break;
            continue;
        }
        TFrameLength len;
        const int number = std::atoi(item.c_str());
        if (item.back() == '*') {
            len.kind = TFrameLength::Relative;
            len.value = item.size() == 1 ? 1 : std::max(0, number);
        } else if (item.back() == '%') {
            len.kind = TFrameLength::Percent;
            len.value = std::max(0, number);
        } else {
            len.kind = TFrameLength::Pixels;
            len.value = std::max(0, number);
        }
        lengths.push_back(len);
        if (comma >= list.size())
            break;
    }
    if (lengths.empty())
        lengths.push_back(TFrameLength{});
    return lengths;
}

std::vector<int> FrameSizes(const std::vector<TFrameLength>& lengths, int total) {
    const std::size_t n = lengths.size();
    std::vector<double> size(n, 0.0);
    total = std::max(0, total);
    double left = total;

    auto share = [&](TFrameLength::Kind kind, double want) {
        // Scales the lengths of one kind to fit into what is left.
        double sum = 0;
        for (std::size_t i = 0; i < n; ++i) {
            if (lengths[i].kind == kind)
                sum += kind == TFrameLength::Percent ? want * lengths[i].value / 100.0
                                                     : lengths[i].value;
        }
        const double scale = sum > left && sum > 0 ? left / sum : 1.0;
        for (std::size_t i = 0; i < n; ++i) {
            if (lengths[i].kind != kind)
                continue;
            const double v =
                kind == TFrameLength::Percent ? want * lengths[i].value / 100.0 : lengths[i].value;
            size[i] = v * scale;
        }
        left -= std::min(sum, left);
    };
    share(TFrameLength::Pixels, 0);
    share(TFrameLength::Percent, total);

    double relativeShares = 0;
    for (const TFrameLength& l : lengths) {
        if (l.kind == TFrameLength::Relative)
            relativeShares += l.value;
    }
    if (relativeShares > 0) {
        for (std::size_t i = 0; i < n; ++i) {
            if (lengths[i].kind == TFrameLength::Relative)
                size[i] = left * lengths[i].value / relativeShares;
        }
    } else if (left > 0) {
        const double sum = std::accumulate(size.begin(), size.end(), 0.0);
        for (std::size_t i = 0; i < n; ++i)
            size[i] += sum > 0 ? left * size[i] / sum : left / static_cast<double>(n);
    }

    // Round so that the sizes add up to total exactly.
    std::vector<int> out(n, 0);
    double acc = 0;
    int given = 0;
    for (std::size_t i = 0; i < n; ++i) {
        acc += size[i];
        const int edge = static_cast<int>(acc + 0.5);
        out[i] = std::max(0, edge - given);
        given += out[i];
    }
    if (n > 0 && given != total)
        out[n - 1] = std::max(0, out[n - 1] + total - given);
    return out;
}

std::optional<TFrameDocument> ParseFrameSet(std::string_view page, THtmlCharset charset) {
    return TFrameSetParser(page, charset).Run();
}

} // namespace carmanual
