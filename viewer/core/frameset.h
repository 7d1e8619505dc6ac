#pragma once
// Frame set documents: <frameset rows=... cols=...> with <frame> and nested
// <frameset> children, and the sizes of the frames for a given space, as
// browsers compute them (pixels first, then percentages, then '*' shares of
// what is left).

#include "htmlcharset.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace carmanual {

struct TFrameLength {
    enum Kind { Pixels, Percent, Relative };
    Kind kind = Relative;
    int value = 1; // pixels, percent, or the share of a relative length
    bool operator==(const TFrameLength&) const = default;
};

// "100, 20%, *, 2*" -> lengths; an empty or unreadable list gives one "*".
std::vector<TFrameLength> ParseFrameLengths(std::string_view list);

// Pixel sizes of the lengths in total pixels: pixel lengths first (scaled
// down when they do not fit), then percentages of total (scaled down to what
// is left), then the rest shared by the relative lengths; when there is no
// relative length the rest is shared in proportion by all. The sizes add up
// to total.
std::vector<int> FrameSizes(const std::vector<TFrameLength>& lengths, int total);

struct TFrameSetSpec;

struct TFrameSpec {
    std::string Name;               // Windows-1251
    std::string Source;             // src as written, Windows-1251
    std::string Scrolling = "auto"; // "auto", "yes", "no" (lower case)
    bool NoResize = false;
    int MarginWidth = -1; // -1: not given
    int MarginHeight = -1;
    std::shared_ptr<TFrameSetSpec> Nested; // a <frameset> written in place of a frame
};

struct TFrameSetSpec {
    bool Rows = true; // rows: children stacked top to bottom; else side by side
    std::vector<TFrameLength> Lengths;
    std::vector<TFrameSpec> Frames; // as many as Lengths (missing ones are empty frames)
    int Border = -1;                // border/framespacing in pixels; -1: not given
    bool FrameBorder = true;        // frameborder="0" or "no" turns it off
};

struct TFrameDocument {
    TFrameSetSpec Root;
    std::string Title;      // Windows-1251
    std::string BaseTarget; // <base target>
};

// The frame set of a page, or nothing when the page is not a frame set (a
// <body> with content comes before any <frameset>, or there is none). A
// frameset with both rows and cols becomes rows of column sets, row by row.
std::optional<TFrameDocument> ParseFrameSet(std::string_view page, THtmlCharset charset);

} // namespace carmanual
