#pragma once
// Writes resource archives byte by byte for tests, independently of the
// program's own writer: folder records and entries exactly as given, in the
// given order, so tests can build the layouts another packer (or a damaged
// file) produces.

#include <zlib.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace carmanual::test {

struct RawEntry {
    std::string name; // stored as given (up to 64 bytes, NUL-padded)
    std::uint32_t offset = 0;
    std::uint32_t packedSize = 0;
    std::uint32_t unpackedSize = 0;
    std::int32_t kind = 1;
};

struct RawDir {
    std::int32_t firstEntry = 0;
    std::int32_t entryNum = 0;
};

inline void PutWord(std::string& out, std::uint32_t v) {
    char b[4];
    std::memcpy(b, &v, 4);
    out.append(b, 4);
}

inline std::string ZlibCompress(const std::string& data) {
    uLongf len = compressBound(static_cast<uLong>(data.size()));
    std::string out(len, '\0');
    compress2(reinterpret_cast<Bytef*>(out.data()), &len,
              reinterpret_cast<const Bytef*>(data.data()), static_cast<uLong>(data.size()), 6);
    out.resize(len);
    return out;
}

class ArchiveBytes {
public:
    std::vector<RawDir> dirs;
    std::vector<RawEntry> entries;
    std::string data;
    std::int32_t rootDir = 0;
    std::int32_t reserved = 0;
    bool compressDirectory = true;

    // Appends a member's bytes to the data area; returns its entry.
    RawEntry File(const std::string& name, const std::string& content, bool compress) {
        RawEntry e;
        e.name = name;
        e.offset = static_cast<std::uint32_t>(data.size());
        const std::string stored = compress ? ZlibCompress(content) : content;
        e.packedSize = static_cast<std::uint32_t>(stored.size());
        e.unpackedSize = static_cast<std::uint32_t>(content.size());
        e.kind = 1;
        data += stored;
        return e;
    }
    static RawEntry Dir(const std::string& name, std::uint32_t dirIndex) {
        RawEntry e;
        e.name = name;
        e.offset = dirIndex;
        e.kind = 2;
        return e;
    }

    std::string DirectoryBlock() const {
        std::string block;
        PutWord(block, static_cast<std::uint32_t>(dirs.size()));
        PutWord(block, static_cast<std::uint32_t>(entries.size()));
        PutWord(block, static_cast<std::uint32_t>(reserved));
        PutWord(block, static_cast<std::uint32_t>(rootDir));
        for (const RawDir& d : dirs) {
            PutWord(block, static_cast<std::uint32_t>(d.firstEntry));
            PutWord(block, static_cast<std::uint32_t>(d.entryNum));
        }
        for (const RawEntry& e : entries) {
            char name[64] = {};
            std::memcpy(name, e.name.data(), e.name.size() < 64 ? e.name.size() : 64);
            block.append(name, 64);
            PutWord(block, e.offset);
            PutWord(block, e.packedSize);
            PutWord(block, e.unpackedSize);
            PutWord(block, static_cast<std::uint32_t>(e.kind));
        }
        return block;
    }

    std::string Bytes() const {
        const std::string block = DirectoryBlock();
        std::string out;
        if (compressDirectory) {
            const std::string packed = ZlibCompress(block);
            PutWord(out, static_cast<std::uint32_t>(block.size() - packed.size()) ^ 0x5A3C9E17u);
            PutWord(out, static_cast<std::uint32_t>(packed.size()) ^ 0xC4D2086Bu);
            out += packed;
        } else {
            PutWord(out, 0u ^ 0x5A3C9E17u);
            PutWord(out, static_cast<std::uint32_t>(block.size()) ^ 0xC4D2086Bu);
            out += block;
        }
        return out + data;
    }
};

} // namespace carmanual::test
