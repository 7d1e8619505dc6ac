#pragma once
// The TrueType fonts a manual ships beside the program (every *.ttf directly
// in the program folder): added for the run, so the skin's captions and the
// pages can use them, and removed when the program ends.

#include <vector>

namespace carmanual {

class TProgramFonts final {
public:
    TProgramFonts() = default;
    ~TProgramFonts() { Remove(); }
    TProgramFonts(const TProgramFonts&) = delete;
    TProgramFonts& operator=(const TProgramFonts&) = delete;

    void Add();
    void Remove();

private:
    std::vector<int> m_ids;
};

} // namespace carmanual
