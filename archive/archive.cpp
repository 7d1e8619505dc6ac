#include "archive.h"

#include "log.h"
#include "resources.h"

#include "ansi.h"
#include "paths.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <mutex>

namespace carmanual {

using namespace archive_format;

namespace {

std::uint32_t Word(const char* p) {
    std::uint32_t v;
    std::memcpy(&v, p, 4); // the format is little-endian, as is every target
    return v;
}

std::int32_t Int(const char* p) {
    return static_cast<std::int32_t>(Word(p));
}

constexpr std::size_t kMaxNameBytes = 1024;

// The longest output a deflate stream of this size can produce.
std::uint64_t InflateBound(std::uint64_t packed) {
    return packed * kMaxInflateRatio + 64;
}

// Claims up to this size are set aside at once, as the member's final
// buffer; beyond it the buffer grows only as inflate actually produces data.
constexpr std::uint64_t kTrustedClaim = 16u << 20;

// Inflates one zlib stream that must end within limit bytes into out. A
// damaged file may claim gigabytes for a few megabytes of garbage: memory is
// spent on what the stream yields, not on what the file claims.
bool InflateUpTo(const std::string& source, std::size_t limit, std::string& out) {
    if (source.size() > std::numeric_limits<uInt>::max() ||
        limit > std::numeric_limits<uInt>::max())
        return false;
    z_stream zs{};
    if (inflateInit(&zs) != Z_OK)
        return false;
    zs.next_in = const_cast<Bytef*>(reinterpret_cast<const Bytef*>(source.data()));
    zs.avail_in = static_cast<uInt>(source.size());
    out.assign(static_cast<std::size_t>(std::min<std::uint64_t>(
                   limit, kTrustedClaim + 4 * std::uint64_t(source.size()))),
               '\0');
    int rc;
    do {
        if (zs.total_out == out.size() && out.size() < limit)
            out.resize(std::min<std::size_t>(limit, out.size() * 2));
        zs.next_out = reinterpret_cast<Bytef*>(out.data()) + zs.total_out;
        zs.avail_out = static_cast<uInt>(out.size() - zs.total_out);
        rc = inflate(&zs, Z_NO_FLUSH); // Z_OK: progress made, so the loop ends
    } while (rc == Z_OK);
    const std::size_t produced = zs.total_out;
    inflateEnd(&zs);
    if (rc != Z_STREAM_END) // damaged, cut short, or longer than limit
        return false;
    out.resize(produced);
    return true;
}

// Any drive but the Linux root (Z:) stands for the manual's own drive, as on
// the disc the manual came on. Works on folded names.
void CanonicalDrive(std::string& folded) {
    if (folded.size() >= 2 && folded[1] == ':' && folded[0] >= 'A' && folded[0] <= 'Y')
        folded[0] = 'C';
}

} // namespace

EFOpenError::EFOpenError(const std::string& name)
    : std::runtime_error("Cannot open file " + AnsiToUtf8(name)), m_name(name) {}

EArchiveDamaged::EArchiveDamaged(const std::string& path, const std::string& why)
    : std::runtime_error("the archive is damaged: " + path + " (" + why + ")"), m_path(path) {}

void FoldPath(std::string& name) {
    for (char& c : name) {
        if (c == '/')
            c = '\\';
        else
            c = static_cast<char>(AnsiUpper(static_cast<unsigned char>(c)));
    }
}

std::string Folded(std::string_view name) {
    std::string s(name);
    FoldPath(s);
    return s;
}

std::string ArchiveRootFor(std::string_view programDir) {
    std::string dir(programDir);
    const std::string folded = Folded(dir);
    const std::size_t at = folded.find("RUN\\");
    if (at != std::string::npos)
        dir.erase(at, 4);
    return dir;
}

int Uncompress(void* dest, std::size_t& destLen, const void* source, std::size_t sourceLen) {
    // Member and directory sizes are 32-bit, as are zlib's counters.
    if (destLen > std::numeric_limits<uInt>::max() || sourceLen > std::numeric_limits<uInt>::max())
        return Z_BUF_ERROR;
    z_stream zs{};
    int rc = inflateInit(&zs);
    if (rc != Z_OK)
        return rc;
    zs.next_in = const_cast<Bytef*>(static_cast<const Bytef*>(source));
    zs.avail_in = static_cast<uInt>(sourceLen);
    zs.next_out = static_cast<Bytef*>(dest);
    zs.avail_out = static_cast<uInt>(destLen);
    rc = inflate(&zs, Z_FINISH);
    const std::size_t produced = zs.total_out;
    const bool inputUsedUp = zs.avail_in == 0;
    inflateEnd(&zs);
    if (rc == Z_STREAM_END) {
        destLen = produced;
        return Z_OK;
    }
    if (rc == Z_NEED_DICT || (rc == Z_BUF_ERROR && inputUsedUp))
        return Z_DATA_ERROR; // the stream stops short
    return rc == Z_OK ? Z_BUF_ERROR : rc;
}

TResourceArchive::~TResourceArchive() = default;

void TResourceArchive::Close() {
    m_open = false;
    if (m_file.is_open())
        m_file.close();
    m_memory.clear();
    m_inMemory = false;
    m_fileSize = 0;
    m_dataStart = 0;
    m_rootDir = 0;
    m_dirs.clear();
    m_entries.clear();
    m_index.clear();
    m_root.clear();
    m_path.clear();
}

bool TResourceArchive::ReadAt(std::uint64_t offset, char* buffer, std::size_t count) const {
    if (offset > m_fileSize || count > m_fileSize - offset)
        return false;
    if (m_inMemory) {
        std::memcpy(buffer, m_memory.data() + offset, count);
        return true;
    }
    // Readers on other threads (the search over all pages) share the file.
    const std::lock_guard<std::mutex> lock(m_fileMutex);
    m_file.clear();
    m_file.seekg(static_cast<std::streamoff>(offset));
    m_file.read(buffer, static_cast<std::streamsize>(count));
    return static_cast<std::size_t>(m_file.gcount()) == count;
}

void TResourceArchive::Open(const std::string& nativePath) {
    Close();
    m_file.open(nativePath, std::ios::binary);
    if (!m_file.is_open())
        throw EFOpenError(nativePath);
    m_file.seekg(0, std::ios::end);
    const std::streamoff size = m_file.tellg();
    m_fileSize = size > 0 ? static_cast<std::uint64_t>(size) : 0;
    m_path = nativePath;
    ReadDirectory();
}

void TResourceArchive::OpenBytes(std::string bytes, const std::string& label) {
    Close();
    m_memory = std::move(bytes);
    m_inMemory = true;
    m_fileSize = m_memory.size();
    m_path = label;
    ReadDirectory();
}

void TResourceArchive::ReadDirectory() {
    try {
        char header[kHeaderSize];
        if (!ReadAt(0, header, sizeof header))
            throw EArchiveDamaged(m_path, "shorter than its header");
        const std::uint32_t delta = Word(header) ^ kSizeDeltaKey;
        const std::uint32_t packed = Word(header + 4) ^ kPackedDirKey;
        if (packed > m_fileSize - kHeaderSize)
            throw EArchiveDamaged(m_path, "directory runs past the end of the file");
        std::string raw(packed, '\0');
        if (!ReadAt(kHeaderSize, raw.data(), raw.size()))
            throw EArchiveDamaged(m_path, "directory cannot be read");
        if (delta == 0) {
            ParseDirectory(raw);
        } else {
            const std::uint32_t unpacked = delta + packed; // wraps as the format intends
            if (unpacked > InflateBound(packed))
                throw EArchiveDamaged(m_path, "directory claims an impossible size");
            std::string block;
            if (!InflateUpTo(raw, unpacked, block))
                throw EArchiveDamaged(m_path, "directory does not inflate");
            ParseDirectory(block);
        }
        m_dataStart = kHeaderSize + static_cast<std::uint64_t>(packed);
        BuildIndex();
        m_open = true;
    } catch (...) {
        const std::string path = m_path;
        Close();
        m_path = path;
        throw;
    }
}

void TResourceArchive::ParseDirectory(const std::string& block) {
    if (block.size() < static_cast<std::size_t>(kDirHeaderSize))
        throw EArchiveDamaged(m_path, "directory is too short");
    const std::int32_t dirCount = Int(block.data());
    const std::int32_t entryCount = Int(block.data() + 4);
    m_rootDir = Int(block.data() + 12);
    if (dirCount < 1 || entryCount < 0)
        throw EArchiveDamaged(m_path, "negative or empty directory counts");
    const std::uint64_t need = kDirHeaderSize + std::uint64_t(dirCount) * kDirRecordSize +
                               std::uint64_t(entryCount) * kEntryRecordSize;
    if (need > block.size())
        throw EArchiveDamaged(m_path, "directory tables run past the directory block");
    if (m_rootDir < 0 || m_rootDir >= dirCount)
        throw EArchiveDamaged(m_path, "root folder out of range");

    m_dirs.resize(static_cast<std::size_t>(dirCount));
    const char* p = block.data() + kDirHeaderSize;
    for (DirRecord& d : m_dirs) {
        d.firstEntry = Int(p);
        d.entryNum = Int(p + 4);
        p += kDirRecordSize;
        if (d.firstEntry < 0 || d.entryNum < 0 ||
            std::int64_t(d.firstEntry) + d.entryNum > std::int64_t(entryCount))
            throw EArchiveDamaged(m_path, "folder record out of range");
    }
    m_entries.resize(static_cast<std::size_t>(entryCount));
    for (Entry& e : m_entries) {
        const void* nul = std::memchr(p, '\0', kNameSize);
        const std::size_t len = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - p)
                                    : static_cast<std::size_t>(kNameSize);
        e.name.assign(p, len);
        e.offset = Word(p + 64);
        e.packedSize = Word(p + 68);
        e.unpackedSize = Word(p + 72);
        e.kind = Int(p + 76);
        p += kEntryRecordSize;
        if (e.kind == kKindDirectory && e.offset >= static_cast<std::uint32_t>(dirCount))
            throw EArchiveDamaged(m_path, "folder entry points to no folder record");
    }
}

void TResourceArchive::BuildIndex() {
    m_index.assign(m_dirs.size(), {});
    for (std::size_t d = 0; d < m_dirs.size(); ++d) {
        auto& map = m_index[d];
        map.reserve(static_cast<std::size_t>(m_dirs[d].entryNum));
        const int first = m_dirs[d].firstEntry;
        for (int i = first; i < first + m_dirs[d].entryNum; ++i)
            map.emplace(m_entries[static_cast<std::size_t>(i)].name, i); // keeps the first
    }
}

void TResourceArchive::SetRoot(std::string_view prefix) {
    m_root = Folded(prefix.substr(0, kMaxNameBytes));
    CanonicalDrive(m_root);
}

int TResourceArchive::FindInDirectory(std::string_view name, std::int32_t dir,
                                      std::int32_t kind) const {
    if (dir < 0 || static_cast<std::size_t>(dir) >= m_index.size())
        return -1;
    const auto& map = m_index[static_cast<std::size_t>(dir)];
    const auto it = map.find(std::string(name));
    if (it == map.end())
        return -1;
    return m_entries[static_cast<std::size_t>(it->second)].kind == kind ? it->second : -1;
}

int TResourceArchive::Resolve(std::string_view name, std::int32_t kind) const {
    if (!m_open || name.size() > kMaxNameBytes)
        return -1;
    std::string text = Folded(name);
    CanonicalDrive(text);
    if (text.compare(0, m_root.size(), m_root) == 0)
        text.erase(0, m_root.size());
    std::size_t pos = 0;
    if (!text.empty() && text[0] == '\\')
        pos = 1;
    std::int32_t dir = m_rootDir;
    for (;;) {
        const std::size_t slash = text.find('\\', pos);
        if (slash == std::string::npos)
            return FindInDirectory(std::string_view(text).substr(pos), dir, kind);
        const std::string_view part = std::string_view(text).substr(pos, slash - pos);
        const int found = FindInDirectory(part, dir, kKindDirectory);
        if (found < 0)
            return -1;
        dir = static_cast<std::int32_t>(m_entries[static_cast<std::size_t>(found)].offset);
        pos = slash + 1;
    }
}

int TResourceArchive::ResolvePath(std::string_view name) const {
    return Resolve(name, kKindFile);
}

bool TResourceArchive::ExtractEntry(int index, std::string& out, std::string* error) const {
    auto fail = [&](const std::string& why) {
        if (error)
            *error = why;
        return false;
    };
    if (!m_open || index < 0 || index >= EntryCount())
        return fail("no such entry");
    const Entry& e = m_entries[static_cast<std::size_t>(index)];
    if (e.kind != kKindFile)
        return fail("not a file");
    const std::uint64_t at = m_dataStart + e.offset;
    if (at > m_fileSize || e.packedSize > m_fileSize - at)
        return fail("data lies beyond the end of the archive");
    if (e.packedSize == e.unpackedSize) {
        out.resize(e.unpackedSize);
        if (!ReadAt(at, out.data(), out.size()))
            return fail("data cannot be read");
        return true;
    }
    if (e.unpackedSize > InflateBound(e.packedSize))
        return fail("claims an impossible unpacked size");
    std::string packed(e.packedSize, '\0');
    if (!ReadAt(at, packed.data(), packed.size()))
        return fail("data cannot be read");
    if (!InflateUpTo(packed, e.unpackedSize, out))
        return fail("data does not inflate");
    return true;
}

void TResourceArchive::ListDirectory(std::int32_t dir, const std::string& prefix,
                                     bool includeHidden, std::vector<bool>& visited,
                                     std::vector<std::pair<std::string, int>>& out) const {
    // Depth-first with an explicit stack: a damaged archive may nest folders
    // deeper than the call stack allows. A folder is listed once even if it
    // is reachable twice (or from inside itself), and paths stop at the
    // length of the reader's name buffer.
    struct Frame {
        std::int32_t dir;
        int next;
        std::string prefix;
    };
    std::vector<Frame> stack;
    auto enter = [&](std::int32_t d, std::string path) {
        if (visited[static_cast<std::size_t>(d)] || path.size() > kMaxNameBytes)
            return;
        visited[static_cast<std::size_t>(d)] = true;
        stack.push_back({d, m_dirs[static_cast<std::size_t>(d)].firstEntry, std::move(path)});
    };
    enter(dir, prefix);
    while (!stack.empty()) {
        Frame& f = stack.back();
        const DirRecord& d = m_dirs[static_cast<std::size_t>(f.dir)];
        if (f.next >= d.firstEntry + d.entryNum) {
            stack.pop_back();
            continue;
        }
        const int i = f.next++;
        const Entry& e = m_entries[static_cast<std::size_t>(i)];
        if (!includeHidden && !e.name.empty() && e.name[0] == '.')
            continue;
        if (e.kind == kKindDirectory)
            enter(static_cast<std::int32_t>(e.offset), f.prefix + e.name + '\\');
        else if (e.kind == kKindFile && f.prefix.size() + e.name.size() <= kMaxNameBytes)
            out.emplace_back(f.prefix + e.name, i);
    }
}

std::vector<std::pair<std::string, int>>
TResourceArchive::ListFileEntries(bool includeHidden) const {
    std::vector<std::pair<std::string, int>> out;
    if (!m_open)
        return out;
    std::vector<bool> visited(m_dirs.size(), false);
    ListDirectory(m_rootDir, std::string(), includeHidden, visited, out);
    return out;
}

TDynamicStringArray TResourceArchive::ListFiles() const {
    TDynamicStringArray names;
    auto entries = ListFileEntries();
    names.reserve(entries.size());
    for (auto& [name, index] : entries)
        names.push_back(std::move(name));
    return names;
}

// ---- the process's archive and the stream ----

TResourceArchive& TheArchive() {
    static TResourceArchive archive;
    return archive;
}

void OpenArchive(std::string_view fileName) {
    const auto found = FindOnDisk(fileName, DiskKind::File);
    if (!found) {
        TheArchive().Close();
        throw EFOpenError(std::string(fileName));
    }
    TheArchive().Open(found->string());
}

void SetArchiveRoot(std::string_view prefix) {
    TheArchive().SetRoot(prefix);
}

int ResolvePath(std::string_view name) {
    return TheArchive().ResolvePath(name);
}

namespace {

// The manual: the process's archive first, then the disk.
class TManualSource final : public IResourceSource {
public:
    std::optional<std::string> Read(std::string_view name) const override {
        const TResourceArchive& archive = TheArchive();
        const int index = archive.ResolvePath(name);
        if (index >= 0) {
            std::string data, why;
            if (archive.ExtractEntry(index, data, &why))
                return data;
            // A damaged member counts as missing: the disk may still have it.
            LogWarning("archive",
                       "damaged member " + AnsiToUtf8(name) + " in " + archive.Path() + ": " + why);
        }
        const auto found = FindOnDisk(name, DiskKind::File);
        if (!found)
            return std::nullopt;
        std::ifstream in(*found, std::ios::binary);
        if (!in)
            return std::nullopt;
        in.seekg(0, std::ios::end);
        const std::streamoff size = in.tellg();
        in.seekg(0);
        std::string data;
        if (size > 0) {
            data.resize(static_cast<std::size_t>(size));
            in.read(data.data(), size);
            data.resize(static_cast<std::size_t>(in.gcount()));
        }
        return data;
    }

    bool Exists(std::string_view name) const override {
        return DiskFileExists(name) || TheArchive().ResolvePath(name) >= 0;
    }
};

std::shared_ptr<const IResourceSource>& SourceSlot() {
    static std::shared_ptr<const IResourceSource> source;
    return source;
}

} // namespace

const IResourceSource& Resources() {
    static const TManualSource manual;
    const std::shared_ptr<const IResourceSource>& source = SourceSlot();
    return source ? *source : manual;
}

void SetResourceSource(std::shared_ptr<const IResourceSource> source) {
    SourceSlot() = std::move(source);
}

bool ArchiveFileExists(std::string_view fileName) {
    return Resources().Exists(fileName);
}

TDynamicStringArray ListArchiveFiles() {
    return TheArchive().ListFiles();
}

TComprStream::TComprStream(std::string_view fileName, int /*mode*/) {
    std::optional<std::string> data = Resources().Read(fileName);
    if (!data)
        throw EFOpenError(std::string(fileName));
    m_data = std::move(*data);
}

TComprStream TComprStream::FromBytes(std::string bytes) {
    TComprStream s;
    s.m_data = std::move(bytes);
    return s;
}

std::size_t TComprStream::Read(void* buffer, std::size_t count) {
    const std::size_t n = std::min(count, m_data.size() - m_pos);
    std::memcpy(buffer, m_data.data() + m_pos, n);
    m_pos += n;
    return n;
}

bool TComprStream::ReadByte(char& byte) {
    if (m_pos >= m_data.size())
        return false;
    byte = m_data[m_pos++];
    return true;
}

} // namespace carmanual
