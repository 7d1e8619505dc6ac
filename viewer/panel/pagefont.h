#pragma once
// The reader's default page font and colours, kept in the settings store
// under FontName, FontColor, FontSize, HotSpotColor and Background, and
// handed to every page viewer.

#include "htmlviewer.h"

#include <string>

namespace carmanual {

class ISettingsStore;
class TFrameViewer;

struct TPageFont {
    static constexpr char kDefaultName[] = "Arial";
    static constexpr TColor kDefaultColor = 0;             // black
    static constexpr int kDefaultSize = 8;                 // points
    static constexpr TColor kDefaultHotSpotColor = 13158;  // red 102, green 51, blue 0
    static constexpr TColor kDefaultBackground = 16777215; // white

    std::string Name = kDefaultName;
    TColor Color = kDefaultColor;
    int Size = kDefaultSize;
    TColor HotSpotColor = kDefaultHotSpotColor;
    TColor Background = kDefaultBackground;

    bool operator==(const TPageFont&) const = default;
};

// Each value that is missing or of another type gives its default; an empty
// font name gives "Arial".
TPageFont ReadPageFont(const ISettingsStore& store);
// Writes all five values; a value the store refuses does not stop the others.
void WritePageFont(ISettingsStore& store, const TPageFont& font);

// The viewer's defaults, and the defaults given to a viewer (they apply from
// its next load).
TPageFont PageFontOf(const TFrameViewer& viewer);
void ApplyPageFont(TFrameViewer& viewer, const TPageFont& font);

} // namespace carmanual
