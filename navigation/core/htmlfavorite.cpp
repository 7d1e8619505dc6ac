#include "htmlfavorite.h"

#include "ansi.h"
#include "settingnames.h"
#include "syntax.h"

#include <algorithm>
#include <charconv>

namespace carmanual {

THtmlFavorite::THtmlFavorite(ISettingsStore& store, IFavoriteList* list)
    : m_store(store), m_list(list) {
    Load();
}

THtmlFavorite::~THtmlFavorite() {
    try {
        Store();
    } catch (...) {
        // The store reports failures by its results; nothing may leave a
        // destructor.
    }
}

void THtmlFavorite::Load() {
    for (std::int32_t i = 0; i < kMaxEntries; ++i) {
        const std::optional<std::string> value = m_store.ReadString(settingname::Favorite(i));
        if (!value)
            continue;
        std::optional<RFavoriteCaption> entry = ParseValue(*value);
        if (!entry)
            continue;
        if (m_list)
            m_list->AddItem(entry->Caption, entry->Command);
        m_entries.push_back(std::move(*entry));
    }
}

void THtmlFavorite::SetList(IFavoriteList* list) {
    m_list = list;
    if (!m_list)
        return;
    for (const RFavoriteCaption& entry : m_entries)
        m_list->AddItem(entry.Caption, entry.Command);
}

void THtmlFavorite::Store() {
    const std::int32_t count = Count();
    for (std::int32_t i = 0; i < count; ++i)
        m_store.WriteString(settingname::Favorite(i),
                            FormatValue(m_entries[static_cast<std::size_t>(i)]));
    for (std::int32_t i = count; i < kMaxEntries; ++i) {
        const std::string name = settingname::Favorite(i);
        if (m_store.ValueExists(name))
            m_store.DeleteValue(name);
    }
}

bool THtmlFavorite::AddCurrentPage(const std::string& title, const std::string& document,
                                   std::int32_t scrollPos) {
    if (Trim(document).empty())
        return false;
    // A "}" would end the caption early when the value is read back and
    // spill the rest of the title into the command.
    std::string caption = title;
    std::replace(caption.begin(), caption.end(), '}', ')');
    for (const RFavoriteCaption& entry : m_entries) {
        if (AnsiSameText(entry.Caption, caption))
            return false;
    }
    RFavoriteCaption entry{caption, HtmlPosCommand(document, scrollPos)};
    if (Count() >= kMaxEntries) {
        m_entries.erase(m_entries.begin());
        if (m_list) {
            for (std::int32_t i = 0; i < Count(); ++i) {
                const RFavoriteCaption& moved = m_entries[static_cast<std::size_t>(i)];
                m_list->SetItem(moved.Caption, moved.Command, i);
            }
            m_list->SetItem(entry.Caption, entry.Command, Count());
        }
    } else if (m_list) {
        m_list->AddItem(entry.Caption, entry.Command);
    }
    m_entries.push_back(std::move(entry));
    // Stored at once, so a bookmark outlives a program that does not end
    // normally.
    Store();
    return true;
}

bool THtmlFavorite::DeleteEntry(std::int32_t index) {
    if (index < 0 || index >= Count())
        return false;
    m_entries.erase(m_entries.begin() + index);
    Store();
    return true;
}

std::optional<RFavoriteCaption> THtmlFavorite::ParseValue(std::string_view value) {
    const std::size_t open = value.find('{');
    if (open == std::string_view::npos)
        return std::nullopt;
    const std::size_t close = value.find('}', open + 1);
    if (close == std::string_view::npos)
        return std::nullopt;
    RFavoriteCaption entry;
    entry.Caption = std::string(value.substr(open + 1, close - open - 1));
    entry.Command = Trim(value.substr(close + 1));
    if (entry.Command.empty())
        return std::nullopt;
    return entry;
}

std::string THtmlFavorite::FormatValue(const RFavoriteCaption& entry) {
    return "{" + entry.Caption + "}" + entry.Command;
}

std::string HtmlPosCommand(std::string_view document, std::int32_t scrollPos) {
    return "htmlpos=" + std::string(document) + "=" + std::to_string(scrollPos);
}

std::optional<THtmlPosTarget> ParseHtmlPosCommand(std::string_view command) {
    const std::size_t first = command.find('=');
    if (first == std::string_view::npos || !AnsiSameText(command.substr(0, first), "htmlpos"))
        return std::nullopt;
    const std::size_t last = command.rfind('=');
    THtmlPosTarget target;
    if (last == first) {
        target.Document = Trim(command.substr(first + 1));
    } else {
        target.Document = Trim(command.substr(first + 1, last - first - 1));
        const std::string position = Trim(command.substr(last + 1));
        std::int32_t y = 0;
        const auto [end, error] =
            std::from_chars(position.data(), position.data() + position.size(), y);
        if (error == std::errc() && end == position.data() + position.size() && y >= 0)
            target.ScrollY = y;
    }
    if (target.Document.empty())
        return std::nullopt;
    return target;
}

} // namespace carmanual
