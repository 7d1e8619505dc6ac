#pragma once
// Reads the packed resource archive (interface.dat): a compressed directory of
// named files and folders followed by the members' data, each stored raw or as
// one zlib stream. Names are stored folded (upper-case Latin and Cyrillic,
// backslashes), so lookups ignore letter case and the slash direction; in a
// folder the first entry of a name wins, even when it is of the other kind.
//
// Lookups and reads may come from several threads at once; opening and
// closing may not.
//
// The reader trusts nothing in the file: counts, indexes, offsets and sizes are
// checked against the file before they are used, so a damaged archive gives
// errors, never a read outside a buffer or an endless walk.

#include "comprstream.h"
#include "types.h"

#include <cstdint>
#include <fstream>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace carmanual {

// The directory of an archive cannot be read: the file is truncated, its
// directory does not inflate, or its tables point outside themselves.
class EArchiveDamaged : public std::runtime_error {
public:
    EArchiveDamaged(const std::string& path, const std::string& why);
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

namespace archive_format {
constexpr std::uint32_t kSizeDeltaKey = 0x5A3C9E17;
constexpr std::uint32_t kPackedDirKey = 0xC4D2086B;
constexpr int kHeaderSize = 8;
constexpr int kDirHeaderSize = 16;
constexpr int kDirRecordSize = 8;
constexpr int kEntryRecordSize = 80;
constexpr int kNameSize = 64;
constexpr std::int32_t kKindFile = 1;
constexpr std::int32_t kKindDirectory = 2;
// Deflate cannot expand data by more than this factor; a member or directory
// that claims more is damaged, whatever size it claims.
constexpr std::uint64_t kMaxInflateRatio = 1032;
} // namespace archive_format

// Folds a name in place: '/' to '\', a-z to A-Z, а-я to А-Я (ё stays).
void FoldPath(std::string& name);
std::string Folded(std::string_view name);

// The archive root for a program folder: the folder with its first "run\"
// (any letter case) removed, wherever it stands.
std::string ArchiveRootFor(std::string_view programDir);

// zlib's one-shot uncompress: a zlib-wrapped stream inflated in one call.
// Succeeds (Z_OK) only when the stream ends within destLen bytes; destLen
// then holds the bytes produced.
int Uncompress(void* dest, std::size_t& destLen, const void* source, std::size_t sourceLen);

class TResourceArchive final {
public:
    struct Entry {
        std::string name; // folded, Windows-1251, at most 64 bytes
        std::uint32_t offset = 0;
        std::uint32_t packedSize = 0;
        std::uint32_t unpackedSize = 0;
        std::int32_t kind = 0;
    };

    TResourceArchive() = default;
    ~TResourceArchive();
    TResourceArchive(const TResourceArchive&) = delete;
    TResourceArchive& operator=(const TResourceArchive&) = delete;

    // Opens a native file. Throws EFOpenError when it cannot be opened and
    // EArchiveDamaged when its directory cannot be read; the reader is then
    // empty.
    void Open(const std::string& nativePath);
    // Reads an archive held in memory (tests, tools).
    void OpenBytes(std::string bytes, const std::string& label = "<memory>");
    void Close();
    bool IsOpen() const { return m_open; }
    const std::string& Path() const { return m_path; }

    void SetRoot(std::string_view prefix);
    const std::string& Root() const { return m_root; }

    // Entry index of a file name, or -1. Names may carry the root prefix,
    // one leading backslash, either slash, any letter case.
    int ResolvePath(std::string_view name) const;
    // Entry index of a name of the wanted kind, or -1.
    int Resolve(std::string_view name, std::int32_t kind) const;

    // Loads a file entry. False when the entry is not a file or its data is
    // damaged (the damage is reported on standard error).
    bool ExtractEntry(int index, std::string& out, std::string* error = nullptr) const;

    // Every file as a folded relative path with backslashes, depth-first in
    // stored order; names beginning with '.' and what lies below them are
    // left out.
    TDynamicStringArray ListFiles() const;
    // The same walk, with the entry index of each file; with includeHidden the
    // names beginning with '.' too.
    std::vector<std::pair<std::string, int>> ListFileEntries(bool includeHidden = false) const;

    int EntryCount() const { return static_cast<int>(m_entries.size()); }
    const Entry& EntryAt(int index) const { return m_entries.at(static_cast<std::size_t>(index)); }

private:
    struct DirRecord {
        std::int32_t firstEntry = 0;
        std::int32_t entryNum = 0;
    };

    void ReadDirectory();
    void ParseDirectory(const std::string& block);
    void BuildIndex();
    int FindInDirectory(std::string_view name, std::int32_t dir, std::int32_t kind) const;
    bool ReadAt(std::uint64_t offset, char* buffer, std::size_t count) const;
    void ListDirectory(std::int32_t dir, const std::string& prefix, bool includeHidden,
                       std::vector<bool>& visited,
                       std::vector<std::pair<std::string, int>>& out) const;

    bool m_open = false;
    std::string m_path;
    mutable std::ifstream m_file;
    mutable std::mutex m_fileMutex;
    std::string m_memory; // the whole archive when opened from bytes
    bool m_inMemory = false;
    std::uint64_t m_fileSize = 0;
    std::uint64_t m_dataStart = 0;
    std::int32_t m_rootDir = 0;
    std::vector<DirRecord> m_dirs;
    std::vector<Entry> m_entries;
    // Per directory: name -> index of its first entry of that name.
    std::vector<std::unordered_map<std::string, int>> m_index;
    std::string m_root;
};

// The process's archive, opened at start-up beside the program.
TResourceArchive& TheArchive();

// Opens a manual name (for example ProgramDir + "interface.dat").
void OpenArchive(std::string_view fileName);
void SetArchiveRoot(std::string_view prefix);
int ResolvePath(std::string_view name);
// True when a disk file of that name exists, or else the archive has it.
bool ArchiveFileExists(std::string_view fileName);
TDynamicStringArray ListArchiveFiles();

} // namespace carmanual
