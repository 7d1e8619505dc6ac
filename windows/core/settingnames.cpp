#include "settingnames.h"

namespace carmanual::settingname {

std::string Favorite(std::int32_t index) {
    return "Favorite" + std::to_string(index);
}

std::string SwOne(std::int32_t screen, std::int32_t index) {
    return "SwOne" + std::to_string(screen) + std::to_string(index);
}

std::string SwGrp(std::int32_t screen, std::int32_t index) {
    return "SwGrp" + std::to_string(screen) + std::to_string(index);
}

std::string SwGrpD(std::int32_t page, std::int32_t index) {
    return "SwGrpD" + std::to_string(page) + std::to_string(index);
}

std::string PathInstall(std::int32_t index) {
    return "PathInstall" + std::to_string(index);
}

} // namespace carmanual::settingname
