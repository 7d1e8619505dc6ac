#include "paths.h"

#include "ansi.h"

#include <cstdlib>
#include <system_error>
#include <vector>

namespace carmanual {

namespace fs = std::filesystem;

namespace {

struct ProcessPaths {
    fs::path programFolder;
    fs::path rootFolder;
    std::string programDir = "c:\\";
    std::string programDrive = "c:\\";
    std::string systemDir = "z:\\usr\\lib\\";
    std::string windowsDir;
    std::string tempDir = "z:\\tmp\\";
};

ProcessPaths& Paths() {
    static ProcessPaths paths;
    return paths;
}

bool IsDriveName(std::string_view name) {
    return name.size() >= 2 && name[1] == ':' &&
           ((name[0] >= 'a' && name[0] <= 'z') || (name[0] >= 'A' && name[0] <= 'Z'));
}

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

// Folds a file name component for comparison: Latin and Cyrillic letters
// (ё and the other Windows-1251 letters included) to upper case.
std::u32string FoldForDisk(std::string_view utf8) {
    std::u32string s = Utf8ToUtf32(utf8);
    for (char32_t& c : s) {
        if (c >= U'a' && c <= U'z')
            c -= 0x20;
        else if (c >= 0x0430 && c <= 0x044F)
            c -= 0x20;
        else if (c >= 0x0450 && c <= 0x045F)
            c -= 0x50;
        else if (c == 0x0491)
            c = 0x0490;
    }
    return s;
}

std::string WithBackslash(std::string s) {
    if (s.empty() || s.back() != '\\')
        s += '\\';
    return s;
}

fs::path EnvFolder(const char* var, const fs::path& fallback) {
    const char* v = std::getenv(var);
    if (v && *v && fs::path(v).is_absolute())
        return fs::path(v);
    return fallback;
}

} // namespace

std::vector<std::string> NameComponents(std::string_view name) {
    std::vector<std::string> parts;
    std::string cur;
    for (const char c : name) {
        if (IsSeparator(c)) {
            if (!cur.empty())
                parts.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty())
        parts.push_back(cur);
    return parts;
}

void InitProgramPaths(const fs::path& programFolder) {
    ProcessPaths& p = Paths();
    std::error_code ec;
    fs::path folder = fs::weakly_canonical(fs::absolute(programFolder, ec), ec);
    if (folder.empty())
        folder = programFolder;
    if (!folder.has_filename() && folder.has_parent_path() && folder != folder.root_path())
        folder = folder.parent_path();
    p.programFolder = folder;
    const std::string last = folder.filename().string();
    if (AnsiSameText(last, "run") && folder.has_parent_path() && folder.parent_path() != folder) {
        p.rootFolder = folder.parent_path();
        p.programDir = "c:\\" + Utf8ToAnsi(last) + "\\";
    } else {
        p.rootFolder = folder;
        p.programDir = "c:\\";
    }
    p.programDrive = "c:\\";
    const char* home = std::getenv("HOME");
    const fs::path homePath = home && *home ? fs::path(home) : fs::path("/tmp");
    p.windowsDir =
        WithBackslash(FromNativePath(EnvFolder("XDG_DATA_HOME", homePath / ".local" / "share")));
    p.tempDir = WithBackslash(FromNativePath(EnvFolder("TMPDIR", "/tmp")));
    p.systemDir = "z:\\usr\\lib\\";
}

const std::string& ProgramDir() {
    return Paths().programDir;
}
const std::string& ProgramDrive() {
    return Paths().programDrive;
}
const std::string& SystemDir() {
    return Paths().systemDir;
}
const std::string& WindowsDir() {
    return Paths().windowsDir;
}
const std::string& TempDir() {
    return Paths().tempDir;
}
const fs::path& ManualRootFolder() {
    return Paths().rootFolder;
}
const fs::path& ProgramFolder() {
    return Paths().programFolder;
}

fs::path ToNativePath(std::string_view name) {
    fs::path base;
    std::string_view rest = name;
    if (IsDriveName(name)) {
        const bool linuxRoot = name[0] == 'z' || name[0] == 'Z';
        base = linuxRoot ? fs::path("/") : Paths().rootFolder;
        rest = name.substr(2);
    } else if (!name.empty() && name[0] == '/') {
        base = fs::path("/");
    } else if (!name.empty() && name[0] == '\\') {
        // A name from the root of the current drive.
        base = Paths().rootFolder;
    } else {
        base = Paths().programFolder;
    }
    fs::path out = base;
    for (const std::string& part : NameComponents(rest))
        out /= fs::path(AnsiToUtf8(part));
    return out;
}

std::string FromNativePath(const fs::path& native) {
    const fs::path root = Paths().rootFolder;
    const fs::path abs = native.lexically_normal();
    if (!root.empty()) {
        const fs::path rel = abs.lexically_relative(root);
        if (!rel.empty() && rel.native().rfind("..", 0) != 0) {
            std::string out = "c:\\";
            if (rel != ".") {
                bool first = true;
                for (const auto& part : rel) {
                    if (part.empty())
                        continue;
                    if (!first)
                        out += '\\';
                    out += Utf8ToAnsi(part.string());
                    first = false;
                }
                if (!abs.has_filename())
                    out += '\\';
            }
            return out;
        }
    }
    std::string out = "z:";
    for (char c : abs.native())
        out += (c == '/') ? '\\' : c;
    return Utf8ToAnsi(out);
}

std::optional<fs::path> FindOnDisk(std::string_view name, DiskKind kind) {
    if (name.empty())
        return std::nullopt;
    auto kindMatches = [kind](const fs::path& p) {
        std::error_code ec;
        const fs::file_status st = fs::status(p, ec);
        if (ec)
            return false;
        switch (kind) {
        case DiskKind::Any:
            return fs::exists(st);
        case DiskKind::File:
            return fs::is_regular_file(st);
        case DiskKind::Directory:
            return fs::is_directory(st);
        }
        return false;
    };
    const fs::path spelled = ToNativePath(name);
    if (kindMatches(spelled))
        return spelled;

    // Walk the components and pick each one's spelling on disk.
    fs::path cur = spelled.root_path();
    fs::path rel = spelled.relative_path();
    std::error_code ec;
    for (const auto& comp : rel) {
        const std::string part = comp.string();
        if (part.empty())
            continue;
        if (part == "." || part == "..") {
            cur /= comp;
            continue;
        }
        fs::path exact = cur / comp;
        if (fs::exists(exact, ec)) {
            cur = exact;
            continue;
        }
        const std::u32string want = FoldForDisk(part);
        bool found = false;
        for (fs::directory_iterator it(cur, ec), end; !ec && it != end; it.increment(ec)) {
            const std::string candidate = it->path().filename().string();
            if (FoldForDisk(candidate) == want) {
                cur = it->path();
                found = true;
                break;
            }
        }
        if (!found)
            return std::nullopt;
    }
    if (kindMatches(cur))
        return cur;
    return std::nullopt;
}

bool DiskFileExists(std::string_view name) {
    return FindOnDisk(name, DiskKind::File).has_value();
}

} // namespace carmanual
