#include "pagefont.h"

#include "frameviewer.h"
#include "settingnames.h"
#include "settingsstore.h"

namespace carmanual {

namespace {

TColor ReadColor(const ISettingsStore& store, const char* name, TColor fallback) {
    const std::optional<std::int32_t> value = store.ReadInteger(name);
    return value ? static_cast<TColor>(*value) : fallback;
}

} // namespace

TPageFont ReadPageFont(const ISettingsStore& store) {
    TPageFont font;
    const std::optional<std::string> name = store.ReadString(settingname::FontName);
    if (name && !name->empty())
        font.Name = *name;
    font.Color = ReadColor(store, settingname::FontColor, TPageFont::kDefaultColor);
    font.Size = store.ReadInteger(settingname::FontSize).value_or(TPageFont::kDefaultSize);
    font.HotSpotColor =
        ReadColor(store, settingname::HotSpotColor, TPageFont::kDefaultHotSpotColor);
    font.Background = ReadColor(store, settingname::Background, TPageFont::kDefaultBackground);
    return font;
}

void WritePageFont(ISettingsStore& store, const TPageFont& font) {
    store.WriteString(settingname::FontName, font.Name);
    store.WriteInteger(settingname::FontColor, static_cast<std::int32_t>(font.Color));
    store.WriteInteger(settingname::FontSize, font.Size);
    store.WriteInteger(settingname::HotSpotColor, static_cast<std::int32_t>(font.HotSpotColor));
    store.WriteInteger(settingname::Background, static_cast<std::int32_t>(font.Background));
}

TPageFont PageFontOf(const TFrameViewer& viewer) {
    TPageFont font;
    font.Name = viewer.DefFontName();
    font.Color = viewer.DefFontColor();
    font.Size = viewer.DefFontSize();
    font.HotSpotColor = viewer.DefHotSpotColor();
    font.Background = viewer.DefBackground();
    return font;
}

void ApplyPageFont(TFrameViewer& viewer, const TPageFont& font) {
    viewer.SetDefFontName(font.Name);
    viewer.SetDefFontColor(font.Color);
    viewer.SetDefFontSize(font.Size);
    viewer.SetDefHotSpotColor(font.HotSpotColor);
    viewer.SetDefBackground(font.Background);
}

} // namespace carmanual
