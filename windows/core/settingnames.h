#pragma once
// The names of every value in the settings store, spelled as earlier versions
// of the program wrote them, so settings carry over. Numbered names are the
// prefix followed by the decimal numbers with no separator: screen 1, switch
// 2 is "SwOne12"; screen 11, switch 2 is "SwOne112".

#include <cstdint>
#include <string>

namespace carmanual::settingname {

// The general settings of the options dialog.
inline constexpr char Clip[] = "Clip";
inline constexpr char Wav[] = "Wav";
inline constexpr char BGSound[] = "BGSound";
inline constexpr char Animation[] = "Animation";
inline constexpr char Hint[] = "Hint";
inline constexpr char SizeInterface[] = "SizeInterface";
inline constexpr char RunSlideShow[] = "RunSlideShow";
inline constexpr char SlideShowTime[] = "SlideShowTime";
inline constexpr char ImageSequence[] = "ImageSequence";

// The default page font and colours.
inline constexpr char FontName[] = "FontName";
inline constexpr char FontColor[] = "FontColor";
inline constexpr char FontSize[] = "FontSize";
inline constexpr char HotSpotColor[] = "HotSpotColor";
inline constexpr char Background[] = "Background";

// Where the background music stopped.
inline constexpr char BGSoundSong[] = "BGSoundSong";
inline constexpr char BGSoundPos[] = "BGSoundPos";

// Favourites are kept in "Favorite0" to "Favorite16".
inline constexpr std::int32_t FavoriteCount = 17;
std::string Favorite(std::int32_t index);

// A single switch and a switch-group member of the main window.
std::string SwOne(std::int32_t screen, std::int32_t index);
std::string SwGrp(std::int32_t screen, std::int32_t index);
// A switch of the dialog window, by page.
std::string SwGrpD(std::int32_t page, std::int32_t index);
// The path typed into a path input box.
std::string PathInstall(std::int32_t index);

} // namespace carmanual::settingname
