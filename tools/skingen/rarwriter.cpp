#include "rarwriter.h"

#include <zlib.h>

namespace skingen {

namespace {

constexpr std::uint8_t kMainHeader = 0x73;
constexpr std::uint8_t kFileHeader = 0x74;
constexpr std::uint8_t kEndHeader = 0x7B;
constexpr std::uint16_t kLongBlock = 0x8000;    // the header is followed by data
constexpr std::uint16_t kDirectory = 0x00E0;    // dictionary bits all set: a folder
constexpr std::uint16_t kEndAlwaysSet = 0x4000; // as every RAR writer sets it
constexpr std::uint8_t kHostWin32 = 2;
constexpr std::uint8_t kVersion20 = 20;
constexpr std::uint8_t kStored = 0x30;
constexpr std::uint32_t kAttrArchive = 0x20;
constexpr std::uint32_t kAttrDirectory = 0x10;

void Put(QByteArray& b, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        b.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

std::uint32_t Crc32(const char* data, std::size_t size) {
    return static_cast<std::uint32_t>(
        crc32(0L, reinterpret_cast<const Bytef*>(data), static_cast<uInt>(size)));
}

// A header block: its CRC over everything from the type byte on.
QByteArray Block(const QByteArray& fromType) {
    QByteArray block;
    Put(block, Crc32(fromType.constData(), static_cast<std::size_t>(fromType.size())) & 0xFFFF, 2);
    block.append(fromType);
    return block;
}

} // namespace

std::uint32_t DosDateTime(int year, int month, int day, int hour, int minute, int second) {
    return (static_cast<std::uint32_t>(year - 1980) << 25) |
           (static_cast<std::uint32_t>(month) << 21) | (static_cast<std::uint32_t>(day) << 16) |
           (static_cast<std::uint32_t>(hour) << 11) | (static_cast<std::uint32_t>(minute) << 5) |
           static_cast<std::uint32_t>(second / 2);
}

QByteArray WriteRar(const std::vector<RarEntry>& entries) {
    QByteArray out("Rar!\x1A\x07\x00", 7);

    QByteArray main;
    main.push_back(static_cast<char>(kMainHeader));
    Put(main, 0, 2);  // flags
    Put(main, 13, 2); // header size
    Put(main, 0, 2);  // reserved
    Put(main, 0, 4);  // reserved
    out.append(Block(main));

    for (const RarEntry& e : entries) {
        const QByteArray data = e.directory ? QByteArray() : e.data;
        QByteArray h;
        h.push_back(static_cast<char>(kFileHeader));
        Put(h, kLongBlock | (e.directory ? kDirectory : 0), 2);
        Put(h, static_cast<std::uint32_t>(32 + e.name.size()), 2);
        Put(h, static_cast<std::uint32_t>(data.size()), 4); // packed
        Put(h, static_cast<std::uint32_t>(data.size()), 4); // unpacked
        h.push_back(static_cast<char>(kHostWin32));
        Put(h, e.directory ? 0 : Crc32(data.constData(), static_cast<std::size_t>(data.size())), 4);
        Put(h, e.dosTime, 4);
        h.push_back(static_cast<char>(kVersion20));
        h.push_back(static_cast<char>(kStored));
        Put(h, static_cast<std::uint32_t>(e.name.size()), 2);
        Put(h, e.directory ? kAttrDirectory : kAttrArchive, 4);
        h.append(e.name.data(), static_cast<qsizetype>(e.name.size()));
        out.append(Block(h));
        out.append(data);
    }

    QByteArray end;
    end.push_back(static_cast<char>(kEndHeader));
    Put(end, kEndAlwaysSet, 2);
    Put(end, 7, 2);
    out.append(Block(end));
    return out;
}

QByteArray WriteZip(const std::vector<RarEntry>& entries) {
    QByteArray out, central;
    std::uint16_t count = 0;
    for (const RarEntry& e : entries) {
        std::string name = e.name;
        for (char& c : name)
            if (c == '\\')
                c = '/';
        if (e.directory)
            name += '/';
        const QByteArray data = e.directory ? QByteArray() : e.data;
        QByteArray packed;
        std::uint16_t method = 0;
        if (!data.isEmpty()) {
            // Raw deflate at the highest level: the same bytes on every run.
            z_stream z{};
            deflateInit2(&z, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
            packed.resize(
                static_cast<qsizetype>(deflateBound(&z, static_cast<uLong>(data.size()))));
            z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
            z.avail_in = static_cast<uInt>(data.size());
            z.next_out = reinterpret_cast<Bytef*>(packed.data());
            z.avail_out = static_cast<uInt>(packed.size());
            deflate(&z, Z_FINISH);
            packed.resize(static_cast<qsizetype>(z.total_out));
            deflateEnd(&z);
            method = 8;
        }
        const std::uint32_t crc =
            data.isEmpty() ? 0 : Crc32(data.constData(), static_cast<std::size_t>(data.size()));
        const std::uint32_t offset = static_cast<std::uint32_t>(out.size());
        auto common = [&](QByteArray& b) {
            Put(b, 20, 2); // version needed
            Put(b, 0, 2);  // flags
            Put(b, method, 2);
            Put(b, e.dosTime & 0xFFFF, 2);
            Put(b, e.dosTime >> 16, 2);
            Put(b, crc, 4);
            Put(b, static_cast<std::uint32_t>(packed.size()), 4);
            Put(b, static_cast<std::uint32_t>(data.size()), 4);
            Put(b, static_cast<std::uint32_t>(name.size()), 2);
            Put(b, 0, 2); // extra field
        };
        Put(out, 0x04034B50, 4);
        common(out);
        out.append(name.data(), static_cast<qsizetype>(name.size()));
        out.append(packed);

        Put(central, 0x02014B50, 4);
        Put(central, 20, 2); // made by: MS-DOS attributes
        common(central);
        Put(central, 0, 2); // comment
        Put(central, 0, 2); // disk
        Put(central, 0, 2); // internal attributes
        Put(central, e.directory ? kAttrDirectory : kAttrArchive, 4);
        Put(central, offset, 4);
        central.append(name.data(), static_cast<qsizetype>(name.size()));
        ++count;
    }
    const std::uint32_t centralOffset = static_cast<std::uint32_t>(out.size());
    out.append(central);
    Put(out, 0x06054B50, 4);
    Put(out, 0, 2);
    Put(out, 0, 2);
    Put(out, count, 2);
    Put(out, count, 2);
    Put(out, static_cast<std::uint32_t>(central.size()), 4);
    Put(out, centralOffset, 4);
    Put(out, 0, 2);
    return out;
}

} // namespace skingen
