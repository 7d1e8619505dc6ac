// The one source every resource is read through.

#include "archive.h"
#include "paths.h"
#include "resources.h"
#include "tempdir.h"

#include <gtest/gtest.h>

#include <map>

namespace carmanual {
namespace {

class TMapSource final : public IResourceSource {
public:
    explicit TMapSource(std::map<std::string, std::string> files) : m_files(std::move(files)) {}
    std::optional<std::string> Read(std::string_view name) const override {
        const auto it = m_files.find(std::string(name));
        if (it == m_files.end())
            return std::nullopt;
        return it->second;
    }
    bool Exists(std::string_view name) const override {
        return m_files.count(std::string(name)) > 0;
    }

private:
    std::map<std::string, std::string> m_files;
};

TEST(Resources, ASourceOfItsOwn_ServesEveryReaderInsteadOfTheManual) {
    test::TempDir dir;
    dir.Write("page.htm", "on disk");
    InitProgramPaths(dir.Path());
    TheArchive().Close();
    ASSERT_EQ(TComprStream(ProgramDir() + "page.htm").Bytes(), "on disk");

    SetResourceSource(std::make_shared<TMapSource>(
        std::map<std::string, std::string>{{"c:\\pics\\a.bmp", "BM..."}}));
    EXPECT_EQ(TComprStream("c:\\pics\\a.bmp").Bytes(), "BM...");
    EXPECT_TRUE(ArchiveFileExists("c:\\pics\\a.bmp"));
    // The manual's own files are not seen through another source.
    EXPECT_FALSE(ArchiveFileExists(ProgramDir() + "page.htm"));
    EXPECT_THROW(TComprStream(ProgramDir() + "page.htm"), EFOpenError);

    SetResourceSource(nullptr);
    EXPECT_EQ(TComprStream(ProgramDir() + "PAGE.HTM").Bytes(), "on disk");
    EXPECT_FALSE(ArchiveFileExists("c:\\pics\\a.bmp"));
}

} // namespace
} // namespace carmanual
