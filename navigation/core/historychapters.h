#pragma once
// History and chapters of the page panel, without the HTML engine: what the
// back and forward commands, the history popups and the engine's history
// event decide, given the engine's history as input.
//
// A chapter is the group of pages read from one navigation switch. Each page
// viewer keeps its own list of chapters; an entry is the page the switch
// named followed by the pages reached from it, joined by "; " (those in
// lower case): "c:\run\brakes.htm; c:\run\pads.htm". When a history step
// lands in another chapter, the switch that opens that chapter is pressed, so
// the skinned switches show where the reader is.

#include "elements.h"
#include "types.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace carmanual {

// The engine's history of one page viewer: parallel lists, entry 0 the
// newest; Position is the entry shown.
struct THistorySnapshot {
    TDynamicStringArray Files;
    TDynamicStringArray Titles; // may be empty or shorter: a missing title is empty
    std::int32_t Position = 0;
    std::string CurrentDocument; // the viewer's document, without anchor
};

// Whether a page still exists (ArchiveFileExists in the program). An empty
// function takes every page as present.
using TPageExists = std::function<bool(std::string_view)>;

enum class THistoryDirection { Back, Forward };

// A left-button press the main window must deliver at (X, Y), as a click on
// that switch of the current screen.
struct TSwitchPress {
    enum class TKind { SingleSwitch, GroupMember };
    TKind Kind = TKind::SingleSwitch;
    std::int32_t Index = 0; // in the list of that kind passed in
    std::int32_t X = 0;     // Left + 1
    std::int32_t Y = 0;     // Top + 1
    bool operator==(const TSwitchPress&) const = default;
};

// One item of a history popup.
struct THistoryPopupItem {
    bool Used = false;       // listed; hidden items take no room
    std::string Caption;     // the title cut to 255 characters, or "Без названия"
    std::string Command;     // "history=" + the entry's index
    std::int32_t Entry = -1; // the history entry it shows
};
constexpr std::size_t kHistoryPopupItems = 8;
using THistoryPopupItems = std::array<THistoryPopupItem, kHistoryPopupItems>;

// The back popup (type -1): the up to 8 older entries after Position, the
// nearest first, in items 0, 1, 2, ...
THistoryPopupItems BackPopupItems(const THistorySnapshot& history, const TPageExists& exists = {});
// The forward popup (type -2): the up to 8 newer entries before Position in
// items 7, 6, 5, ... by increasing entry, so the nearest stands at the top.
THistoryPopupItems ForwardPopupItems(const THistorySnapshot& history,
                                     const TPageExists& exists = {});
// The caption of a history entry's title.
std::string HistoryCaption(std::string_view title);

// The entry one step back (forward) lands on: the nearest older (newer) entry
// whose page still exists; nothing at the end of the history (the caller
// beeps). Entries whose page is gone are stepped over.
std::optional<std::int32_t> HistoryStepTarget(THistoryDirection direction,
                                              const THistorySnapshot& history,
                                              const TPageExists& exists = {});
// The entry a history popup item ("history=" + index) moves to: nothing for
// an index outside the history or an entry whose page is gone.
std::optional<std::int32_t> HistoryJumpTarget(std::int32_t index, const THistorySnapshot& history,
                                              const TPageExists& exists = {});
// The index of a "history=N" command; nothing for another command or a
// number that is not one.
std::optional<std::int32_t> HistoryCommandIndex(std::string_view command);

// The first page of a chapter entry: up to the first ';', trimmed.
std::string ChapterFirstPath(std::string_view entry);

// What the engine's history event updates besides the chapters.
struct THistoryUpdate {
    std::string Document;                     // the page shown: tree selection, font folder
    bool ArchiveListing = false;              // the page is a generated RAR listing
    std::optional<std::string> PageTitleText; // for text field 1; nothing leaves it as it is
    THistoryPopupItems Back;
    THistoryPopupItems Forward;
};

class THistoryChapters final {
public:
    // tempDir: the temporary folder (with trailing backslash) where the RAR
    // lister writes its listing pages.
    explicit THistoryChapters(std::size_t viewerCount = 0, std::string tempDir = {});

    void SetViewerCount(std::size_t count);
    std::size_t ViewerCount() const { return m_chapters.size(); }

    // The chapter that holds the page becomes current, or a new chapter
    // begins with it. Run by the "html" command before the page is shown.
    void RegisterChapter(std::size_t viewer, std::string_view file);

    // The chapter list of the viewer; empty for an unknown viewer.
    const TDynamicStringArray& Chapters(std::size_t viewer) const;
    // Index of the viewer's current chapter; -1 before its first chapter.
    std::int32_t CurrentChapter(std::size_t viewer) const;
    // The first page of the viewer's current chapter; empty when none.
    std::string CurrentChapterFirstPath(std::size_t viewer) const;

    // The engine's history event on the viewer: a page of a known chapter
    // makes that chapter current, any other page joins the current chapter;
    // nothing happens before the viewer's first chapter. Returns the data of
    // the other updates: the listing flag, the page-title text (from the
    // title of the active document, when it has one), the history popups.
    THistoryUpdate HistoryChanged(std::size_t viewer, const THistorySnapshot& history,
                                  const std::optional<std::string>& activeTitle,
                                  const TPageExists& exists = {});

    // After a back or forward step on the viewer, from documentBefore to
    // documentAfter: the switches to press so the screen shows the chapter
    // read. None when the step stayed on the same document or no chapter is
    // current; otherwise every single switch whose next click runs a command
    // naming the chapter's first page (goup when it is on, godown when off),
    // then every group member whose command names it, in description order.
    std::vector<TSwitchPress> SwitchesToPress(std::size_t viewer, std::string_view documentBefore,
                                              std::string_view documentAfter,
                                              std::span<const RSwthOne> switches,
                                              std::span<const RSwthGrp> groups) const;

    // The presses for a chapter's first page, whatever the step.
    static std::vector<TSwitchPress> SwitchesNaming(std::string_view firstPath,
                                                    std::span<const RSwthOne> switches,
                                                    std::span<const RSwthGrp> groups);

private:
    std::int32_t FindChapter(std::size_t viewer, std::string_view document) const;

    std::vector<TDynamicStringArray> m_chapters;
    // Per viewer: a chapter index belongs to one viewer's list, so each keeps
    // its own, and a screen change cannot point one viewer at another's.
    std::vector<std::int32_t> m_current;
    std::string m_tempDir;
};

} // namespace carmanual
