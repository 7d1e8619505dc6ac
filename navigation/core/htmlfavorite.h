#pragma once
// The reader's bookmarks: pages with the scroll position they were read at,
// oldest first, at most 17. They are kept in the settings store as the string
// values "Favorite0" to "Favorite16", value i holding entry i as
// "{" caption "}" command, for example {Тормоза}htmlpos=d:\run\brakes.htm=240;
// the caption ends at the first "}". The store is written after every change
// and when the object goes, with no gaps in the numbering.
//
// The favourites popup list (type -3) shows the entries; this class tells it
// what to add and replace through IFavoriteList. Deleting from the list in
// delete mode removes the list item itself and calls DeleteEntry.
//
// One object keeps the bookmarks for the whole run: the lists of each screen
// come and go (SetList), the entries stay, so a list built later never
// stores older entries over newer ones.

#include "settingsstore.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace carmanual {

struct RFavoriteCaption {
    std::string Caption; // the page title, Windows-1251
    std::string Command; // "htmlpos=" document "=" scroll position in pixels
    bool operator==(const RFavoriteCaption&) const = default;
};
using TDynamicFavoriteCaption = std::vector<RFavoriteCaption>;

// The popup list of the favourites, as the favourites fill it.
class IFavoriteList {
public:
    virtual ~IFavoriteList() = default;
    // Appends an item running the command.
    virtual void AddItem(const std::string& caption, const std::string& command) = 0;
    // Gives an existing item another caption and command.
    virtual void SetItem(const std::string& caption, const std::string& command,
                         std::int32_t index) = 0;
};

// Where a favourite's command leads.
struct THtmlPosTarget {
    std::string Document;
    std::int32_t ScrollY = 0; // pixels from the top
    bool operator==(const THtmlPosTarget&) const = default;
};

class THtmlFavorite final {
public:
    static constexpr std::int32_t kMaxEntries = 17;

    // Loads the stored entries and appends each to the list (when given).
    explicit THtmlFavorite(ISettingsStore& store, IFavoriteList* list = nullptr);
    // Stores the entries.
    ~THtmlFavorite();
    THtmlFavorite(const THtmlFavorite&) = delete;
    THtmlFavorite& operator=(const THtmlFavorite&) = delete;

    // Shows the entries in another list (nullptr: in none). A new list gets
    // every entry appended, oldest first.
    void SetList(IFavoriteList* list);
    IFavoriteList* List() const { return m_list; }

    const TDynamicFavoriteCaption& Entries() const { return m_entries; }
    std::int32_t Count() const { return static_cast<std::int32_t>(m_entries.size()); }

    // Bookmarks the page shown: title from the current history entry,
    // document and scroll position of the current viewer. Refused (false)
    // when an entry already has that title, letter case ignored. With 17
    // entries the oldest is dropped and the list's items are rewritten.
    bool AddCurrentPage(const std::string& title, const std::string& document,
                        std::int32_t scrollPos);

    // Removes entry index (the list removes its item itself); false for an
    // index that does not exist.
    bool DeleteEntry(std::int32_t index);

    // Writes every entry as value i and deletes the values after the last,
    // up to "Favorite16". A write the store refuses is skipped.
    void Store();

    // One stored value as an entry: nothing for an empty value or one that is
    // not "{" caption "}" command with a command.
    static std::optional<RFavoriteCaption> ParseValue(std::string_view value);
    static std::string FormatValue(const RFavoriteCaption& entry);

private:
    void Load();

    ISettingsStore& m_store;
    IFavoriteList* m_list = nullptr;
    TDynamicFavoriteCaption m_entries;
};

// "htmlpos=" + document + "=" + scroll position.
std::string HtmlPosCommand(std::string_view document, std::int32_t scrollPos);

// The page and position of an "htmlpos=document=position" command: the
// document is everything between the first and the last '=', so a name that
// holds '=' survives; a missing or unreadable position is 0. Nothing for
// another command or an empty document.
std::optional<THtmlPosTarget> ParseHtmlPosCommand(std::string_view command);

} // namespace carmanual
