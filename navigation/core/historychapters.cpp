#include "historychapters.h"

#include "ansi.h"
#include "archive.h"
#include "pagenames.h"
#include "syntax.h"

#include <algorithm>
#include <charconv>

namespace carmanual {

namespace {

constexpr std::size_t kMaxCaption = 255;

bool PageExists(const TPageExists& exists, const TDynamicStringArray& files, std::int32_t index) {
    if (index < 0 || static_cast<std::size_t>(index) >= files.size())
        return false;
    const std::string_view file = StripAnchor(files[static_cast<std::size_t>(index)]);
    if (Trim(file).empty())
        return false;
    return !exists || exists(file);
}

std::string TitleAt(const THistorySnapshot& history, std::int32_t index) {
    if (index < 0 || static_cast<std::size_t>(index) >= history.Titles.size())
        return {};
    return history.Titles[static_cast<std::size_t>(index)];
}

THistoryPopupItem PopupItem(const THistorySnapshot& history, std::int32_t entry) {
    THistoryPopupItem item;
    item.Used = true;
    item.Caption = HistoryCaption(TitleAt(history, entry));
    item.Command = "history=" + std::to_string(entry);
    item.Entry = entry;
    return item;
}

bool ContainsIgnoringCase(std::string_view text, std::string_view part) {
    return Folded(text).find(Folded(part)) != std::string::npos;
}

} // namespace

std::string HistoryCaption(std::string_view title) {
    static const std::string untitled = Utf8ToAnsi("Без названия");
    if (title.empty())
        return untitled;
    return std::string(title.substr(0, kMaxCaption));
}

THistoryPopupItems BackPopupItems(const THistorySnapshot& history, const TPageExists& exists) {
    THistoryPopupItems items;
    const std::int32_t count = static_cast<std::int32_t>(history.Files.size());
    std::size_t slot = 0;
    for (std::int32_t entry = history.Position + 1;
         entry <= history.Position + static_cast<std::int32_t>(kHistoryPopupItems) && entry < count;
         ++entry) {
        if (entry >= 0 && PageExists(exists, history.Files, entry))
            items[slot++] = PopupItem(history, entry);
    }
    return items;
}

THistoryPopupItems ForwardPopupItems(const THistorySnapshot& history, const TPageExists& exists) {
    THistoryPopupItems items;
    const std::int32_t count = static_cast<std::int32_t>(history.Files.size());
    std::size_t slot = kHistoryPopupItems;
    for (std::int32_t entry = history.Position - static_cast<std::int32_t>(kHistoryPopupItems);
         entry < history.Position && entry < count; ++entry) {
        if (entry >= 0 && PageExists(exists, history.Files, entry))
            items[--slot] = PopupItem(history, entry);
    }
    return items;
}

std::optional<std::int32_t> HistoryStepTarget(THistoryDirection direction,
                                              const THistorySnapshot& history,
                                              const TPageExists& exists) {
    const std::int32_t count = static_cast<std::int32_t>(history.Files.size());
    if (direction == THistoryDirection::Back) {
        for (std::int32_t entry = std::max(history.Position + 1, 0); entry < count; ++entry) {
            if (PageExists(exists, history.Files, entry))
                return entry;
        }
    } else {
        for (std::int32_t entry = std::min(history.Position, count) - 1; entry >= 0; --entry) {
            if (PageExists(exists, history.Files, entry))
                return entry;
        }
    }
    return std::nullopt;
}

std::optional<std::int32_t> HistoryJumpTarget(std::int32_t index, const THistorySnapshot& history,
                                              const TPageExists& exists) {
    if (!PageExists(exists, history.Files, index))
        return std::nullopt;
    return index;
}

std::optional<std::int32_t> HistoryCommandIndex(std::string_view command) {
    const std::size_t eq = command.find('=');
    if (eq == std::string_view::npos || !AnsiSameText(command.substr(0, eq), "history"))
        return std::nullopt;
    const std::string value = Trim(command.substr(eq + 1));
    std::int32_t index = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), index);
    if (error != std::errc() || end != value.data() + value.size() || value.empty())
        return std::nullopt;
    return index;
}

std::string ChapterFirstPath(std::string_view entry) {
    return StringAt(entry, 0);
}

THistoryChapters::THistoryChapters(std::size_t viewerCount, std::string tempDir)
    : m_chapters(viewerCount), m_current(viewerCount, -1), m_tempDir(std::move(tempDir)) {}

void THistoryChapters::SetViewerCount(std::size_t count) {
    m_chapters.resize(count);
    m_current.resize(count, -1);
}

const TDynamicStringArray& THistoryChapters::Chapters(std::size_t viewer) const {
    static const TDynamicStringArray none;
    return viewer < m_chapters.size() ? m_chapters[viewer] : none;
}

std::int32_t THistoryChapters::CurrentChapter(std::size_t viewer) const {
    return viewer < m_current.size() ? m_current[viewer] : -1;
}

std::string THistoryChapters::CurrentChapterFirstPath(std::size_t viewer) const {
    const std::int32_t current = CurrentChapter(viewer);
    const TDynamicStringArray& chapters = Chapters(viewer);
    if (current < 0 || static_cast<std::size_t>(current) >= chapters.size())
        return {};
    return ChapterFirstPath(chapters[static_cast<std::size_t>(current)]);
}

std::int32_t THistoryChapters::FindChapter(std::size_t viewer, std::string_view document) const {
    // Pages are matched whole, not as substrings: "a.htm" is not a page of
    // the chapter of "data.htm", and a page written in another letter case
    // (pages reached by links are kept in lower case) is still found.
    const std::string key = PageKey(document);
    if (key.empty())
        return -1;
    const TDynamicStringArray& chapters = Chapters(viewer);
    for (std::size_t i = 0; i < chapters.size(); ++i) {
        const std::string_view entry = chapters[i];
        std::size_t start = 0;
        while (start <= entry.size()) {
            std::size_t end = entry.find(';', start);
            if (end == std::string_view::npos)
                end = entry.size();
            if (PageKey(entry.substr(start, end - start)) == key)
                return static_cast<std::int32_t>(i);
            start = end + 1;
        }
    }
    return -1;
}

void THistoryChapters::RegisterChapter(std::size_t viewer, std::string_view file) {
    if (viewer >= m_chapters.size() || Trim(file).empty())
        return;
    const std::int32_t found = FindChapter(viewer, file);
    if (found >= 0) {
        m_current[viewer] = found;
        return;
    }
    m_chapters[viewer].emplace_back(file);
    m_current[viewer] = static_cast<std::int32_t>(m_chapters[viewer].size()) - 1;
}

THistoryUpdate THistoryChapters::HistoryChanged(std::size_t viewer, const THistorySnapshot& history,
                                                const std::optional<std::string>& activeTitle,
                                                const TPageExists& exists) {
    const std::string& document = history.CurrentDocument;
    if (viewer < m_chapters.size() && !m_chapters[viewer].empty() && !Trim(document).empty()) {
        const std::int32_t found = FindChapter(viewer, document);
        const std::int32_t current = m_current[viewer];
        if (found >= 0)
            m_current[viewer] = found;
        else if (current >= 0 && static_cast<std::size_t>(current) < m_chapters[viewer].size())
            m_chapters[viewer][static_cast<std::size_t>(current)] += "; " + LowerLatin(document);
    }

    THistoryUpdate update;
    update.Document = document;
    update.ArchiveListing = IsArchiveListingPage(document, m_tempDir);
    if (activeTitle)
        update.PageTitleText = *activeTitle + "  ";
    update.Back = BackPopupItems(history, exists);
    update.Forward = ForwardPopupItems(history, exists);
    return update;
}

std::vector<TSwitchPress> THistoryChapters::SwitchesToPress(
    std::size_t viewer, std::string_view documentBefore, std::string_view documentAfter,
    std::span<const RSwthOne> switches, std::span<const RSwthGrp> groups) const {
    if (documentBefore == documentAfter)
        return {};
    return SwitchesNaming(CurrentChapterFirstPath(viewer), switches, groups);
}

std::vector<TSwitchPress> THistoryChapters::SwitchesNaming(std::string_view firstPath,
                                                           std::span<const RSwthOne> switches,
                                                           std::span<const RSwthGrp> groups) {
    std::vector<TSwitchPress> presses;
    if (Trim(firstPath).empty())
        return presses;
    for (std::size_t i = 0; i < switches.size(); ++i) {
        const RSwthOne& s = switches[i];
        const std::string& command = s.State ? s.CommandUp : s.CommandDown;
        if (ContainsIgnoringCase(command, firstPath))
            presses.push_back({TSwitchPress::TKind::SingleSwitch, static_cast<std::int32_t>(i),
                               s.Left + 1, s.Top + 1});
    }
    for (std::size_t i = 0; i < groups.size(); ++i) {
        const RSwthGrp& g = groups[i];
        if (ContainsIgnoringCase(g.Command, firstPath))
            presses.push_back({TSwitchPress::TKind::GroupMember, static_cast<std::int32_t>(i),
                               g.Left + 1, g.Top + 1});
    }
    return presses;
}

} // namespace carmanual
