#include "archivewriter.h"

#include "ansi.h"
#include "archive.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>

namespace carmanual {

using namespace archive_format;

namespace {

struct Node {
    std::string name; // folded
    std::string original;
    bool isDir = false;
    const std::string* data = nullptr;
    std::map<std::string, std::unique_ptr<Node>> children; // by folded name: sorted
    std::int32_t dirIndex = -1;
    std::int32_t entryIndex = -1;
};

void PutWord(std::string& out, std::size_t at, std::uint32_t v) { std::memcpy(&out[at], &v, 4); }

void AppendWord(std::string& out, std::uint32_t v) {
    char b[4];
    std::memcpy(b, &v, 4);
    out.append(b, 4);
}

// zlib stream of data, or empty when compressing does not make it smaller.
std::string Deflate(const std::string& data) {
    uLongf len = compressBound(static_cast<uLong>(data.size()));
    std::string out(len, '\0');
    if (compress2(reinterpret_cast<Bytef*>(out.data()), &len,
                  reinterpret_cast<const Bytef*>(data.data()), static_cast<uLong>(data.size()),
                  Z_BEST_COMPRESSION) != Z_OK ||
        len >= data.size())
        return {};
    out.resize(len);
    return out;
}

std::vector<std::string> SplitName(const std::string& name) {
    std::vector<std::string> parts;
    std::string cur;
    for (char c : name) {
        if (c == '\\' || c == '/') {
            parts.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    parts.push_back(cur);
    return parts;
}

} // namespace

std::string BuildArchive(const std::vector<ArchiveInput>& files, ArchiveWriteStats* stats,
                         const std::function<void(std::size_t, std::size_t)>& progress) {
    Node root;
    root.isDir = true;
    for (const ArchiveInput& file : files) {
        const std::vector<std::string> parts = SplitName(file.name);
        Node* dir = &root;
        for (std::size_t i = 0; i < parts.size(); ++i) {
            const std::string& part = parts[i];
            const bool last = i + 1 == parts.size();
            if (part.empty())
                throw EArchiveWrite("empty name component in " + AnsiToUtf8(file.name));
            if (part.size() > kNameSize - 1)
                throw EArchiveWrite("name component longer than 63 bytes in " +
                                    AnsiToUtf8(file.name));
            const std::string key = Folded(part);
            auto it = dir->children.find(key);
            if (it == dir->children.end()) {
                auto node = std::make_unique<Node>();
                node->name = key;
                node->original = part;
                node->isDir = !last;
                if (last)
                    node->data = &file.data;
                it = dir->children.emplace(key, std::move(node)).first;
            } else if (last || !it->second->isDir) {
                throw EArchiveWrite("two files fold to the same name: " + AnsiToUtf8(file.name));
            }
            dir = it->second.get();
        }
    }

    // Number folders breadth-first so that each folder's entries are contiguous.
    std::vector<Node*> dirs{&root};
    std::vector<Node*> entries;
    root.dirIndex = 0;
    for (std::size_t d = 0; d < dirs.size(); ++d) {
        for (auto& [key, child] : dirs[d]->children) {
            child->entryIndex = static_cast<std::int32_t>(entries.size());
            entries.push_back(child.get());
            if (child->isDir) {
                child->dirIndex = static_cast<std::int32_t>(dirs.size());
                dirs.push_back(child.get());
            }
        }
    }

    // Member data in listing order (depth-first), as a reader walks it.
    std::string dataArea;
    std::vector<std::uint32_t> offsets(entries.size()), packedSizes(entries.size());
    ArchiveWriteStats st;
    st.folders = dirs.size() - 1;
    std::size_t done = 0;
    const std::size_t total = files.size();
    std::function<void(Node*)> emit = [&](Node* dir) {
        for (auto& [key, child] : dir->children) {
            if (child->isDir) {
                emit(child.get());
                continue;
            }
            const std::string& data = *child->data;
            const std::string packed = Deflate(data);
            const std::string& stored = packed.empty() ? data : packed;
            if (dataArea.size() + stored.size() > 0xFFFFFFFFu || data.size() > 0xFFFFFFFFu)
                throw EArchiveWrite("archive larger than 4 GiB at " + AnsiToUtf8(child->original));
            offsets[static_cast<std::size_t>(child->entryIndex)] =
                static_cast<std::uint32_t>(dataArea.size());
            packedSizes[static_cast<std::size_t>(child->entryIndex)] =
                static_cast<std::uint32_t>(stored.size());
            dataArea += stored;
            ++st.files;
            st.unpackedBytes += data.size();
            st.packedBytes += stored.size();
            ++done;
            if (progress)
                progress(done, total);
        }
    };
    emit(&root);

    std::string block;
    AppendWord(block, static_cast<std::uint32_t>(dirs.size()));
    AppendWord(block, static_cast<std::uint32_t>(entries.size()));
    AppendWord(block, 0); // reserved
    AppendWord(block, 0); // root folder
    for (Node* d : dirs) {
        const std::uint32_t first =
            d->children.empty() ? 0 : static_cast<std::uint32_t>(d->children.begin()->second->entryIndex);
        AppendWord(block, first);
        AppendWord(block, static_cast<std::uint32_t>(d->children.size()));
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const Node* e = entries[i];
        char name[kNameSize] = {};
        std::memcpy(name, e->name.data(), e->name.size());
        block.append(name, kNameSize);
        if (e->isDir) {
            AppendWord(block, static_cast<std::uint32_t>(e->dirIndex));
            AppendWord(block, 0);
            AppendWord(block, 0);
            AppendWord(block, static_cast<std::uint32_t>(kKindDirectory));
        } else {
            AppendWord(block, offsets[i]);
            AppendWord(block, packedSizes[i]);
            AppendWord(block, static_cast<std::uint32_t>(e->data->size()));
            AppendWord(block, static_cast<std::uint32_t>(kKindFile));
        }
    }

    const std::string packedBlock = Deflate(block);
    const std::string& storedBlock = packedBlock.empty() ? block : packedBlock;
    const std::uint32_t delta =
        packedBlock.empty() ? 0u : static_cast<std::uint32_t>(block.size() - packedBlock.size());
    std::string out(kHeaderSize, '\0');
    PutWord(out, 0, delta ^ kSizeDeltaKey);
    PutWord(out, 4, static_cast<std::uint32_t>(storedBlock.size()) ^ kPackedDirKey);
    out.reserve(out.size() + storedBlock.size() + dataArea.size());
    out += storedBlock;
    out += dataArea;
    if (stats)
        *stats = st;
    return out;
}

} // namespace carmanual
