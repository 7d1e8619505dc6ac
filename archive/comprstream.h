#pragma once
// One whole file in memory, read from the resource archive when the archive
// has it and from disk otherwise. Every resource the program shows is opened
// through this stream.

#include "types.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace carmanual {

class TComprStream final {
public:
    // Open modes of the disk fall-back; both read without locking the file.
    static constexpr int ShareDenyNone = 64;
    static constexpr int Compatible = 0;

    TComprStream() = default;
    // Loads the file; throws EFOpenError when neither the archive nor the
    // disk has it (or the archive's copy is damaged and the disk has none).
    explicit TComprStream(std::string_view fileName, int mode = ShareDenyNone);
    // A stream over bytes already in memory.
    static TComprStream FromBytes(std::string bytes);

    std::size_t Size() const { return m_data.size(); }
    std::size_t Position() const { return m_pos; }
    void Seek(std::size_t pos) { m_pos = pos < m_data.size() ? pos : m_data.size(); }
    bool AtEnd() const { return m_pos >= m_data.size(); }
    // Reads up to count bytes; returns how many were read.
    std::size_t Read(void* buffer, std::size_t count);
    bool ReadByte(char& byte);

    const std::string& Bytes() const { return m_data; }
    std::string TakeBytes() { return std::move(m_data); }

private:
    friend class TResourceArchive;
    std::string m_data;
    std::size_t m_pos = 0;
};

} // namespace carmanual
