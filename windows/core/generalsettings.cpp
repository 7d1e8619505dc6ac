#include "generalsettings.h"

#include "ansi.h"
#include "settingnames.h"

#include <algorithm>
#include <cstdint>

namespace carmanual {

TGeneralSettings LoadGeneralSettings(ISettingsStore& store, bool hasPictures) {
    TGeneralSettings settings;
    settings.HasPictures = hasPictures;
    settings.Clip = ReadBoolDefault(store, settingname::Clip, settings.Clip);
    settings.Wav = ReadBoolDefault(store, settingname::Wav, settings.Wav);
    settings.BGSound = ReadBoolDefault(store, settingname::BGSound, settings.BGSound);
    settings.Animation = ReadBoolDefault(store, settingname::Animation, settings.Animation);
    settings.Hint = ReadBoolDefault(store, settingname::Hint, settings.Hint);
    if (!hasPictures)
        return settings;

    settings.RunSlideShow =
        ReadBoolDefault(store, settingname::RunSlideShow, settings.RunSlideShow);
    const std::optional<std::int32_t> time = store.ReadInteger(settingname::SlideShowTime);
    if (time && *time >= MinSlideShowTime && *time <= MaxSlideShowTime)
        settings.SlideShowTime = *time;
    else
        store.WriteInteger(settingname::SlideShowTime, settings.SlideShowTime);
    settings.ImageSequence =
        ReadIntegerDefault(store, settingname::ImageSequence, settings.ImageSequence);
    return settings;
}

TOptionsOutcome StoreOptions(TGeneralSettings& settings, const TOptionsChoice& choice,
                             ISettingsStore& store) {
    TOptionsOutcome outcome;
    if (choice.Clip != settings.Clip) {
        settings.Clip = choice.Clip;
        store.WriteBool(settingname::Clip, settings.Clip);
    }
    if (choice.Wav != settings.Wav) {
        settings.Wav = choice.Wav;
        store.WriteBool(settingname::Wav, settings.Wav);
    }
    settings.SizeInterface = choice.SizeInterface;
    store.WriteInteger(settingname::SizeInterface, settings.SizeInterface);
    if (!settings.HasPictures)
        return outcome;

    if (choice.RunSlideShow != settings.RunSlideShow) {
        settings.RunSlideShow = choice.RunSlideShow;
        store.WriteBool(settingname::RunSlideShow, settings.RunSlideShow);
        outcome.SlideShowSwitched = true;
    }
    const std::int32_t time = std::clamp(choice.SlideShowTime, MinSlideShowTime, MaxSlideShowTime);
    if (time != settings.SlideShowTime) {
        settings.SlideShowTime = time;
        store.WriteInteger(settingname::SlideShowTime, settings.SlideShowTime);
        outcome.SlideShowTimeChanged = true;
    }
    if (choice.ImageSequence && *choice.ImageSequence != settings.ImageSequence) {
        settings.ImageSequence = *choice.ImageSequence;
        store.WriteInteger(settingname::ImageSequence, settings.ImageSequence);
    }
    return outcome;
}

std::int32_t SlideIntervalMs(std::int32_t seconds) {
    const std::int64_t ms = std::int64_t{seconds} * 1000 + 1;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(ms, 1, INT32_MAX));
}

std::string SlideShowTimeCaption(std::int32_t seconds) {
    const char* unit = " секунд";
    if (seconds == 1)
        unit = " секунда";
    else if (seconds >= 2 && seconds <= 4)
        unit = " секунды";
    return std::to_string(seconds) + Utf8ToAnsi(unit);
}

} // namespace carmanual
