#pragma once
// Dynamic arrays shared by the description readers and the components built
// from them. Strings hold Windows-1251 bytes.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace carmanual {

using TDynamicStringArray = std::vector<std::string>;
using MyArray = std::vector<std::string>;
using TDynamicIntegerArray = std::vector<std::int32_t>;
using TDynamicBooleanArray = std::vector<bool>;

// A colour as descriptions and settings keep it: red + green*256 + blue*65536.
using TColor = std::uint32_t;

// A file that is neither in the archive nor on disk ("Cannot open file %s").
class EFOpenError : public std::runtime_error {
public:
    explicit EFOpenError(const std::string& name);
    // The name as given, Windows-1251.
    const std::string& FileName() const { return m_name; }

private:
    std::string m_name;
};

// A description value that is not the number it must be.
class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace carmanual
