#include "closing.h"

#include "ansi.h"
#include "windowdirectory.h"
#include "windowfinder.h"

namespace carmanual {

namespace {

// A window that refuses to close must not keep the closing step going.
constexpr int kMaxCloseRounds = 5;

void CloseByTitle(const char* utf8Title, bool repeat) {
    const std::string title = Utf8ToAnsi(utf8Title);
    for (int round = 0; round < (repeat ? kMaxCloseRounds : 1); ++round) {
        WindowHandle handle;
        if (!FindTopWindowByTitle(title, handle) || !TWindowDirectory::CloseWindow(handle))
            break;
    }
}

} // namespace

void CloseOtherWindows(const std::string& ownTitle, bool startedWithParameters) {
    CloseByTitle("Помощь", false);
    CloseByTitle("Тезаурус", false);
    for (const char* title :
         {"Электросхема", "Help System: Руководство по ремонту и эксплуатации автомобиля",
          "Справка: Руководство по ремонту и эксплуатации автомобиля",
          "Help Topics: Руководство по ремонту и эксплуатации автомобиля",
          "Руководство по ремонту и эксплуатации автомобиля"}) {
        // This window may carry that caption itself; it closes by its animation.
        if (Utf8ToAnsi(title) != ownTitle)
            CloseByTitle(title, true);
    }
    if (!startedWithParameters)
        CloseByTitle("Увеличенная картинка", true);
}

} // namespace carmanual
