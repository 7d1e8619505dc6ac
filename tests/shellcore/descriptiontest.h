#pragma once
// Shared set-up of the Struct.txt reader tests: the program lies in a folder
// named "run", so relative values resolve to "c:\run\..." and a value that
// is taken as written is told apart from a resolved one.

#include "ansi.h"
#include "description.h"
#include "paths.h"
#include "tempdir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace carmanual::test {

// Windows-1251 bytes of a UTF-8 literal.
inline std::string A(std::string_view utf8) {
    return Utf8ToAnsi(utf8);
}

class StructFile : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(ProgramFolder());
        InitProgramPaths(ProgramFolder());
    }

    std::filesystem::path ProgramFolder() const { return m_tmp.Path() / "run"; }

    // The lines as the program hands them over: Latin letters lowered.
    static TInterfaceDescription Read(std::vector<std::string> lines) {
        for (std::string& line : lines)
            line = LowerLatin(line);
        TInterfaceDescription d;
        ReadStructFile(lines, d);
        return d;
    }

    TempDir m_tmp;
};

} // namespace carmanual::test
