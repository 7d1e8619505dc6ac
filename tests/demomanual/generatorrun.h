#pragma once
// Running the demo manual's generators from a test and reading what they
// wrote.

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

namespace carmanual::test {

// The exit status of a shell command; -1 when it did not exit normally.
inline int RunCommand(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline std::string Quoted(const std::filesystem::path& p) {
    return "'" + p.string() + "'";
}

// Every file below dir with its bytes, by its path relative to dir.
inline std::map<std::string, std::string> FilesBelow(const std::filesystem::path& dir) {
    namespace fs = std::filesystem;
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(dir))
        if (entry.is_regular_file()) {
            std::ifstream in(entry.path(), std::ios::binary);
            files[fs::relative(entry.path(), dir).generic_string()] =
                std::string(std::istreambuf_iterator<char>(in), {});
        }
    return files;
}

} // namespace carmanual::test
