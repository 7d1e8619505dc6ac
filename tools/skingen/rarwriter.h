#pragma once
// A RAR 4.x writer for the stored method, and a plain ZIP writer beside it. The manual's pages link
// to RAR archives of forms and notes, which the program lists and unpacks; no tool on a Linux build
// machine creates RAR, so the demo makes its own. Layout: the marker block, the archive header, per
// entry a file header (its CRC is the low 16 bits of the CRC-32 of the header from its type byte
// on) and the stored data, and the end-of-archive block.

#include <QByteArray>

#include <cstdint>
#include <string>
#include <vector>

namespace skingen {

struct RarEntry {
    std::string name; // OEM code page (CP866) bytes, folders separated by '\'
    bool directory = false;
    QByteArray data; // empty for a folder
    std::uint32_t dosTime = 0;
};

// The MS-DOS date and time RAR stores (two-second resolution).
std::uint32_t DosDateTime(int year, int month, int day, int hour, int minute, int second);

// The archive's bytes; entries are written in the order given.
QByteArray WriteRar(const std::vector<RarEntry>& entries);

// The same entries as a ZIP archive (files deflated, folders as names ending
// in '/'; names taken as they are). The pages offer ZIP files to save.
QByteArray WriteZip(const std::vector<RarEntry>& entries);

} // namespace skingen
