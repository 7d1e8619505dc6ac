#include "libarchivereader.h"

#include <archive.h>
#include <archive_entry.h>

namespace carmanual::test {

std::vector<ArchiveItem> ReadWithLibarchive(const std::string& bytes, bool& ok,
                                            const char* options) {
    std::vector<ArchiveItem> items;
    ok = false;
    archive* a = archive_read_new();
    archive_read_support_format_all(a);
    archive_read_support_filter_all(a);
    if ((options && archive_read_set_options(a, options) != ARCHIVE_OK) ||
        archive_read_open_memory(a, bytes.data(), bytes.size()) != ARCHIVE_OK) {
        archive_read_free(a);
        return items;
    }
    archive_entry* entry = nullptr;
    int r = ARCHIVE_OK;
    while ((r = archive_read_next_header(a, &entry)) == ARCHIVE_OK) {
        ArchiveItem item;
        const char* name = archive_entry_pathname_utf8(entry);
        item.name = name ? name : "";
        item.directory = archive_entry_filetype(entry) == AE_IFDIR;
        char buffer[4096];
        la_ssize_t n = 0;
        while ((n = archive_read_data(a, buffer, sizeof buffer)) > 0)
            item.data.append(buffer, static_cast<std::size_t>(n));
        if (n < 0) {
            r = ARCHIVE_FATAL;
            break;
        }
        items.push_back(item);
    }
    ok = r == ARCHIVE_EOF;
    archive_read_free(a);
    return items;
}

} // namespace carmanual::test
