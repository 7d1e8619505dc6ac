#pragma once
// A fresh folder below the system's temporary folder, removed with its
// contents when the test ends.

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace carmanual::test {

class TempDir final {
public:
    TempDir() {
        std::random_device rd;
        m_path = std::filesystem::temp_directory_path() /
                 ("carmanual-test-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(m_path);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

    // Writes a file below the folder (relative name, '/' between parts).
    std::filesystem::path Write(const std::string& relative, const std::string& bytes) const {
        const std::filesystem::path p = m_path / relative;
        std::filesystem::create_directories(p.parent_path());
        std::ofstream out(p, std::ios::binary);
        out << bytes;
        return p;
    }

private:
    std::filesystem::path m_path;
};

} // namespace carmanual::test
