#pragma once
// The general settings that the options dialog owns and the rest of the
// program reads: whether to play the start clip and the click sounds, the
// background music, window animations, tool tips, the interface variant and
// the slide show. They are loaded once at start-up and changed by the dialog's
// OK; a few are switched off for the run without being stored.

#include "settingsstore.h"

#include <cstdint>
#include <optional>
#include <string>

namespace carmanual {

struct TGeneralSettings {
    bool Clip = true;
    bool Wav = true;
    bool BGSound = true;
    bool Animation = true;
    bool Hint = true;
    // 0 "automatic", 1 800x600, 2 1024x768, 3 "any size". Stored, never read
    // back: every run starts with 0.
    std::int32_t SizeInterface = 0;
    bool RunSlideShow = false;
    // Seconds per slide, MinSlideShowTime to MaxSlideShowTime.
    std::int32_t SlideShowTime = 5;
    // 0 forward, 1 backward; any other value (never offered by the dialog)
    // shows random slides.
    std::int32_t ImageSequence = 0;
    // The interface has image elements: only then do the slide-show settings
    // exist.
    bool HasPictures = false;
};

inline constexpr std::int32_t MinSlideShowTime = 1;
inline constexpr std::int32_t MaxSlideShowTime = 10;

// Reads the settings with their defaults, writing back every default it had
// to use. Without pictures the slide-show values are neither read nor
// written. A slide time outside MinSlideShowTime..MaxSlideShowTime counts as
// damaged like an unreadable one: a zero or negative time would make the slide
// timer spin.
TGeneralSettings LoadGeneralSettings(ISettingsStore& store, bool hasPictures);

// What the options dialog shows when OK is pressed.
struct TOptionsChoice {
    bool Clip = false; // the start-clip box; a disabled box is unchecked
    bool Wav = false;  // the button-sound box; likewise
    std::int32_t SizeInterface = 0;
    bool RunSlideShow = false;
    std::int32_t SlideShowTime = 5;
    // Nothing when neither order is selected (the stored order was one the
    // dialog does not offer): the order then stays as it was.
    std::optional<std::int32_t> ImageSequence;
};

// What the slide show must follow after StoreOptions.
struct TOptionsOutcome {
    // RunSlideShow changed: the slide timer is switched to match it.
    bool SlideShowSwitched = false;
    // SlideShowTime changed: the slide timer takes SlideIntervalMs of it.
    bool SlideShowTimeChanged = false;
};

// Takes the choice into the settings and stores what changed. "Clip", "Wav"
// and the slide-show values are written only when they changed (the latter
// only with pictures); "SizeInterface" is written every time. A failing write
// leaves the new value in memory.
TOptionsOutcome StoreOptions(TGeneralSettings& settings, const TOptionsChoice& choice,
                             ISettingsStore& store);

// The slide timer's interval for a slide time chosen in the dialog.
std::int32_t SlideIntervalMs(std::int32_t seconds);

// "1 секунда", "3 секунды", "5 секунд": the slide time under the track bar,
// in Windows-1251.
std::string SlideShowTimeCaption(std::int32_t seconds);

} // namespace carmanual
