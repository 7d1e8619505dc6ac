#include "manualgenerator.h"

#include "ansi.h"
#include "benchrandom.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>

namespace carmanual::bench {

namespace {

// A size range and how often it is drawn, in parts of the table's total.
struct SizeBucket {
    std::uint32_t lo;
    std::uint32_t hi;
    std::uint32_t weight;
};

template <std::size_t N>
std::uint32_t PickSize(BenchRandom& rng, const std::array<SizeBucket, N>& table) {
    std::uint32_t total = 0;
    for (const SizeBucket& b : table)
        total += b.weight;
    std::uint32_t r = rng.Below(total);
    for (const SizeBucket& b : table) {
        if (r < b.weight)
            return rng.Between(b.lo, b.hi);
        r -= b.weight;
    }
    return table.back().hi;
}

// Pages average about 8.5 KB, JPEGs 14 KB, GIFs 8 KB, drawings 25 KB.
constexpr std::array<SizeBucket, 5> kPageSizes{
    {{1000, 3000, 20}, {3000, 6000, 35}, {6000, 12000, 30}, {12000, 30000, 13}, {30000, 80000, 2}}};
constexpr std::array<SizeBucket, 4> kJpegSizes{
    {{3000, 8000, 30}, {8000, 16000, 40}, {16000, 32000, 25}, {32000, 60000, 5}}};
constexpr std::array<SizeBucket, 3> kGifSizes{
    {{500, 4000, 40}, {4000, 12000, 45}, {12000, 30000, 15}}};
constexpr std::array<SizeBucket, 3> kBitmapSizes{
    {{8000, 20000, 45}, {20000, 40000, 45}, {40000, 80000, 10}}};

const char* const kChapters[] = {"01_Общие_сведения",
                                 "02_Двигатель",
                                 "03_Система_охлаждения",
                                 "04_Система_питания",
                                 "05_Система_выпуска",
                                 "06_Сцепление",
                                 "07_Коробка_передач",
                                 "08_Приводы_колёс",
                                 "09_Ходовая_часть",
                                 "10_Рулевое_управление",
                                 "11_Тормозная_система",
                                 "12_Электрооборудование",
                                 "13_Кузов",
                                 "14_Приложения"};
constexpr std::uint32_t kSectionsPerChapter = 20;

const char* const kWords[] = {"двигатель",
                              "автомобиль",
                              "болт",
                              "гайка",
                              "момент",
                              "затяжки",
                              "снимите",
                              "установите",
                              "проверьте",
                              "подшипник",
                              "ремень",
                              "шкив",
                              "насос",
                              "крышка",
                              "прокладка",
                              "клапан",
                              "цилиндр",
                              "поршень",
                              "кольцо",
                              "вал",
                              "коленчатый",
                              "распределительный",
                              "масло",
                              "фильтр",
                              "жидкость",
                              "охлаждающая",
                              "тормозной",
                              "колодки",
                              "диск",
                              "суппорт",
                              "рычаг",
                              "подвеска",
                              "амортизатор",
                              "пружина",
                              "стойка",
                              "рулевой",
                              "наконечник",
                              "тяга",
                              "провод",
                              "разъём",
                              "датчик",
                              "реле",
                              "предохранитель",
                              "лампа",
                              "фара",
                              "кузов",
                              "дверь",
                              "стекло",
                              "замок",
                              "сиденье",
                              "ключ",
                              "отвёртка",
                              "съёмник",
                              "давление",
                              "температура",
                              "зазор",
                              "регулировка",
                              "порядок",
                              "выполнения",
                              "работ",
                              "необходимо",
                              "следует",
                              "после",
                              "перед",
                              "чтобы",
                              "если",
                              "затем",
                              "при",
                              "для",
                              "на",
                              "в",
                              "и",
                              "с",
                              "по",
                              "от",
                              "до",
                              "не",
                              "или",
                              "его",
                              "её",
                              "их",
                              "этого",
                              "всех",
                              "нового",
                              "правильно",
                              "осторожно",
                              "вновь",
                              "рисунок",
                              "таблица",
                              "мм"};

const char* const kUnits[] = {"Н·м", "мм", "л", "об/мин", "кгс/см²", "В", "А", "Ом"};

// Lower-case Windows-1251 letters to upper case (а-я only; ё stays).
void Capitalise(std::string& word) {
    if (!word.empty())
        word[0] = static_cast<char>(AnsiUpper(static_cast<unsigned char>(word[0])));
}

class PageWriter final {
public:
    PageWriter(BenchRandom& rng, const std::vector<std::string>& common,
               const std::vector<std::string>& rare)
        : m_rng(rng), m_common(common), m_rare(rare) {}

    std::string Page(std::uint32_t size, std::uint32_t pageNo, std::uint32_t sectionCount) {
        std::string title = Words(3, 7);
        Capitalise(title);
        std::string out;
        out.reserve(size + 2048);
        out += "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">\r\n<html>\r\n"
               "<head>\r\n<meta http-equiv=\"Content-Type\" content=\"text/html; "
               "charset=windows-1251\">\r\n<title>";
        out += title;
        out += "</title>\r\n<link rel=\"stylesheet\" type=\"text/css\" "
               "href=\"../../style.css\">\r\n</head>\r\n<body bgcolor=\"#FFFFFF\" "
               "text=\"#000000\" link=\"#0000FF\">\r\n<h2 class=\"title\">";
        out += title;
        out += "</h2>\r\n";
        std::uint32_t figure = 1;
        while (out.size() < size) {
            const std::uint32_t kind = m_rng.Below(100);
            if (kind < 45) {
                out += "<p class=\"text\">";
                for (std::uint32_t n = m_rng.Between(2, 6); n > 0; --n)
                    out += Sentence() + ' ';
                out += "</p>\r\n";
            } else if (kind < 60) {
                out += "<ol>\r\n";
                for (std::uint32_t n = m_rng.Between(3, 7); n > 0; --n)
                    out += "<li>" + Sentence() + "</li>\r\n";
                out += "</ol>\r\n";
            } else if (kind < 75) {
                out += "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" "
                       "width=\"100%\">\r\n<tr><th>" +
                       Words(1, 3) + "</th><th>" + Words(1, 2) + "</th></tr>\r\n";
                for (std::uint32_t n = m_rng.Between(3, 12); n > 0; --n) {
                    char value[48];
                    std::snprintf(value, sizeof value, "%u,%u ", m_rng.Between(1, 250),
                                  m_rng.Below(10));
                    out +=
                        "<tr><td class=\"cell\">" + Words(2, 5) +
                        "</td><td class=\"cell\" align=\"center\">" + value +
                        Ansi(kUnits[m_rng.Below(static_cast<std::uint32_t>(std::size(kUnits)))]) +
                        "</td></tr>\r\n";
                }
                out += "</table>\r\n";
            } else if (kind < 87) {
                char img[160];
                std::snprintf(img, sizeof img,
                              "<p align=\"center\"><img src=\"ris%04u.jpg\" width=\"%u\" "
                              "height=\"%u\" border=\"0\"><br>\r\n",
                              m_rng.Between(1, 60), m_rng.Between(200, 640),
                              m_rng.Between(150, 480));
                out += img;
                out += "<span class=\"caption\">" + Ansi("Рис. ") + std::to_string(pageNo) + '.' +
                       std::to_string(figure++) + ". " + Words(2, 8) + "</span></p>\r\n";
            } else if (kind < 95) {
                char href[64];
                std::snprintf(href, sizeof href, "../SECT%02u/page%04u.htm",
                              m_rng.Between(1, sectionCount), m_rng.Between(1, 70));
                out += "<p>" + Ansi("См. ") + "<a href=\"" + href + "\">" + Words(2, 6) +
                       "</a>.</p>\r\n";
            } else {
                out += "<p class=\"warning\"><b>" + Ansi("Внимание!") + "</b> " + Sentence() +
                       "</p>\r\n";
            }
        }
        out += "</body>\r\n</html>\r\n";
        return out;
    }

private:
    static std::string Ansi(const char* utf8) { return Utf8ToAnsi(utf8); }

    // Common words come often; the long tail of rare ones thins out quickly.
    const std::string& Word() {
        if (m_rng.Percent(45))
            return m_common[m_rng.Below(static_cast<std::uint32_t>(m_common.size()))];
        const std::uint64_t r = m_rng.Below(4096);
        return m_rare[static_cast<std::size_t>((r * r * r * m_rare.size()) >> 36)];
    }

    std::string Words(std::uint32_t lo, std::uint32_t hi) {
        std::string s;
        for (std::uint32_t n = m_rng.Between(lo, hi); n > 0; --n) {
            if (!s.empty())
                s += ' ';
            s += Word();
        }
        return s;
    }

    std::string Sentence() {
        std::string s = Words(6, 18);
        Capitalise(s);
        s += m_rng.Percent(85) ? '.' : ':';
        return s;
    }

    BenchRandom& m_rng;
    const std::vector<std::string>& m_common;
    const std::vector<std::string>& m_rare;
};

std::vector<std::string> RareWords(BenchRandom& rng) {
    const std::string consonants = Utf8ToAnsi("бвгджзклмнпрстфхцчшщ");
    const std::string vowels = Utf8ToAnsi("аеиоуыэюя");
    const char* const endings[] = {"ый", "ого", "ение", "ать", "ки", "ная", "ов", "ом"};
    std::vector<std::string> words;
    words.reserve(2500);
    for (int i = 0; i < 2500; ++i) {
        std::string w;
        for (std::uint32_t n = rng.Between(2, 4); n > 0; --n) {
            w += consonants[rng.Below(static_cast<std::uint32_t>(consonants.size()))];
            w += vowels[rng.Below(static_cast<std::uint32_t>(vowels.size()))];
        }
        if (rng.Percent(60))
            w += Utf8ToAnsi(endings[rng.Below(static_cast<std::uint32_t>(std::size(endings)))]);
        words.push_back(std::move(w));
    }
    return words;
}

void Put16(std::string& s, std::uint32_t v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& s, std::uint32_t v) {
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}
void PutBig16(std::string& s, std::uint32_t v) {
    s += static_cast<char>((v >> 8) & 0xFF);
    s += static_cast<char>(v & 0xFF);
}

// A baseline JPEG's layout: its tables compress a little, its entropy-coded
// data (with 0xFF bytes stuffed) not at all.
std::string Jpeg(BenchRandom& rng, std::uint32_t size) {
    std::string s;
    s.reserve(size + 16);
    s += "\xFF\xD8\xFF\xE0";
    PutBig16(s, 16);
    s.append("JFIF\0\x01\x01\x00\x00\x48\x00\x48\x00\x00", 14);
    const std::uint32_t quality = rng.Between(1, 8);
    for (int table = 0; table < 2; ++table) {
        s += "\xFF\xDB";
        PutBig16(s, 67);
        s += static_cast<char>(table);
        for (std::uint32_t i = 0; i < 64; ++i)
            s += static_cast<char>(std::min<std::uint32_t>(255, (2 + i / 4 + table * 3) * quality));
    }
    s += "\xFF\xC0";
    PutBig16(s, 17);
    s += '\x08';
    PutBig16(s, rng.Between(120, 900));
    PutBig16(s, rng.Between(160, 1200));
    s.append("\x03\x01\x22\x00\x02\x11\x01\x03\x11\x01", 10);
    for (int table = 0; table < 4; ++table) {
        s += "\xFF\xC4";
        PutBig16(s, 3 + 16 + 80);
        s += static_cast<char>((table / 2) << 4 | (table % 2));
        for (int i = 0; i < 16; ++i)
            s += static_cast<char>(i < 12 ? 5 + (i * 7 + table) % 6 : 0);
        for (int i = 0; i < 80; ++i)
            s += static_cast<char>((i * 37 + table * 11) & 0xFF);
    }
    s += "\xFF\xDA";
    PutBig16(s, 12);
    s.append("\x03\x01\x00\x02\x11\x03\x11\x00\x3F\x00", 10);
    while (s.size() + 2 < size) {
        std::uint64_t v = rng.Next();
        for (int i = 0; i < 8; ++i, v >>= 8) {
            const char c = static_cast<char>(v & 0xFF);
            s += c;
            if (c == '\xFF')
                s += '\0';
        }
    }
    s += "\xFF\xD9";
    return s;
}

// A GIF's palette and LZW data in 255-byte blocks: next to incompressible.
std::string Gif(BenchRandom& rng, std::uint32_t size) {
    std::string s = "GIF89a";
    const std::uint32_t w = rng.Between(16, 400);
    const std::uint32_t h = rng.Between(16, 300);
    Put16(s, w);
    Put16(s, h);
    s += "\xF7\x00\x00";
    for (int i = 0; i < 256; ++i) {
        const std::uint64_t v = rng.Next();
        s += static_cast<char>(v & 0xFF);
        s += static_cast<char>((v >> 8) & 0xFF);
        s += static_cast<char>((v >> 16) & 0xFF);
    }
    s += '\x2C';
    Put32(s, 0);
    Put16(s, w);
    Put16(s, h);
    s += '\0';
    s += '\x08';
    while (s.size() + 2 < size) {
        s += '\xFF';
        for (int i = 0; i < 255; i += 8) {
            std::uint64_t v = rng.Next();
            for (int k = 0; k < 8 && i + k < 255; ++k, v >>= 8)
                s += static_cast<char>(v & 0xFF);
        }
    }
    s += '\0';
    s += '\x3B';
    return s;
}

// An 8-bit bitmap of a line drawing with labels: large even areas, which
// compress well.
std::string Bitmap(BenchRandom& rng, std::uint32_t size) {
    const std::uint32_t width = rng.Between(50, 200) * 4;
    const std::uint32_t height = std::max<std::uint32_t>(8, (size - 1078) / width);
    std::string pixels(static_cast<std::size_t>(width) * height, '\xFF');
    auto put = [&](std::uint32_t x, std::uint32_t y, char c) {
        if (x < width && y < height)
            pixels[static_cast<std::size_t>(y) * width + x] = c;
    };
    for (std::uint32_t n = rng.Between(3, 12); n > 0; --n) {
        const std::uint32_t x0 = rng.Below(width), y0 = rng.Below(height);
        const std::uint32_t w = rng.Between(10, width / 2), h = rng.Between(5, height / 2 + 5);
        const char fill = static_cast<char>(rng.Percent(40) ? 0xC0 + rng.Below(0x30) : 0xFF);
        for (std::uint32_t y = y0; y < y0 + h; ++y)
            for (std::uint32_t x = x0; x < x0 + w; ++x)
                put(x, y, (y == y0 || y + 1 == y0 + h || x == x0 || x + 1 == x0 + w) ? '\0' : fill);
    }
    for (std::uint32_t n = rng.Between(2, 10); n > 0; --n) {
        const std::uint32_t y = rng.Below(height);
        for (std::uint32_t x = rng.Below(width / 2); x < width; x += 1 + (n & 1))
            put(x, y, '\x20');
    }
    // Labels: small glyph-like clusters of dark pixels.
    for (std::uint32_t n = rng.Between(5, 40); n > 0; --n) {
        const std::uint32_t x0 = rng.Below(width), y0 = rng.Below(height);
        for (std::uint32_t g = rng.Between(3, 12); g > 0; --g) {
            for (std::uint32_t y = 0; y < 8; ++y) {
                const std::uint64_t bits = rng.Next();
                for (std::uint32_t x = 0; x < 6; ++x)
                    if ((bits >> x) & (bits >> (x + 8)) & 1)
                        put(x0 + g * 7 + x, y0 + y, '\0');
            }
        }
    }
    std::string s = "BM";
    Put32(s, static_cast<std::uint32_t>(1078 + pixels.size()));
    Put32(s, 0);
    Put32(s, 1078);
    Put32(s, 40);
    Put32(s, width);
    Put32(s, height);
    Put16(s, 1);
    Put16(s, 8);
    Put32(s, 0);
    Put32(s, static_cast<std::uint32_t>(pixels.size()));
    Put32(s, 2835);
    Put32(s, 2835);
    Put32(s, 256);
    Put32(s, 0);
    for (std::uint32_t i = 0; i < 256; ++i) {
        s += static_cast<char>(i);
        s += static_cast<char>(i);
        s += static_cast<char>(i);
        s += '\0';
    }
    s += pixels;
    return s;
}

enum class Kind { Page, Jpeg, Gif, Bitmap };

} // namespace

std::vector<ArchiveInput> GenerateManual(const ManualShape& shape) {
    BenchRandom rng(shape.seed);
    std::vector<std::string> common;
    for (const char* w : kWords)
        common.push_back(Utf8ToAnsi(w));
    const std::vector<std::string> rare = RareWords(rng);
    PageWriter pages(rng, common, rare);

    // Folders: chapters, their sections, and one flat folder of pictures.
    std::vector<std::string> folders;
    for (const char* chapter : kChapters) {
        const std::string ch = Utf8ToAnsi(chapter);
        for (std::uint32_t s = 1; s <= kSectionsPerChapter; ++s) {
            char name[32];
            if (s % 3 == 0)
                std::snprintf(name, sizeof name, "%s%02u", Utf8ToAnsi("Раздел_").c_str(), s);
            else
                std::snprintf(name, sizeof name, "SECT%02u", s);
            folders.push_back(ch + '\\' + name);
        }
    }
    const std::size_t sectionCount = folders.size();
    folders.push_back("IMAGES");
    const std::size_t imagesFolder = sectionCount;

    std::vector<ArchiveInput> files;
    files.reserve(shape.members);
    auto add = [&](std::string name, std::string data) {
        files.push_back({std::move(name), std::move(data)});
    };
    // The few files at the root.
    if (shape.members > 0)
        add("index.htm", pages.Page(20000, 0, static_cast<std::uint32_t>(kSectionsPerChapter)));
    if (shape.members > 1)
        add("contents.htm", pages.Page(60000, 0, static_cast<std::uint32_t>(kSectionsPerChapter)));

    std::vector<std::array<std::uint32_t, 4>> counters(folders.size(), {0, 0, 0, 0});
    while (files.size() < shape.members) {
        const std::uint32_t pick = rng.Below(100);
        const Kind kind = pick < 65   ? Kind::Page
                          : pick < 90 ? Kind::Jpeg
                          : pick < 96 ? Kind::Gif
                                      : Kind::Bitmap;
        const bool flat = kind != Kind::Page && rng.Percent(15);
        const std::size_t folder =
            flat ? imagesFolder : rng.Below(static_cast<std::uint32_t>(sectionCount));
        const std::uint32_t number = ++counters[folder][static_cast<std::size_t>(kind)];
        char name[48];
        std::string data;
        switch (kind) {
        case Kind::Page:
            std::snprintf(name, sizeof name, "page%04u.htm", number);
            data = pages.Page(PickSize(rng, kPageSizes), number, kSectionsPerChapter);
            break;
        case Kind::Jpeg:
            std::snprintf(name, sizeof name, flat ? "IMG%05u.JPG" : "ris%04u.jpg", number);
            data = Jpeg(rng, PickSize(rng, kJpegSizes));
            break;
        case Kind::Gif:
            std::snprintf(name, sizeof name, flat ? "ICO%05u.GIF" : "ico%04u.gif", number);
            data = Gif(rng, PickSize(rng, kGifSizes));
            break;
        case Kind::Bitmap:
            std::snprintf(name, sizeof name, "%s%04u.bmp", Utf8ToAnsi("схема").c_str(), number);
            data = Bitmap(rng, PickSize(rng, kBitmapSizes));
            break;
        }
        add(folders[folder] + '\\' + name, std::move(data));
    }
    return files;
}

} // namespace carmanual::bench
