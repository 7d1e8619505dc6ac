#pragma once
// How the navigation aids compare page names. Pages are named in the manual's
// Windows form ("c:\run\ch02\brakes.htm#pads"); two names mean the same page
// when they agree without regard to letter case, slash direction, anchor and
// drive letter (every drive but Z: stands for the manual's root, so a page
// written as d:\run\a.htm is the one the program shows as c:\run\a.htm).

#include <string>
#include <string_view>

namespace carmanual {

// The text before the first '#'.
std::string_view StripAnchor(std::string_view path);

// The part after the last '\', '/' or ':'.
std::string_view FileNameOf(std::string_view path);

// True when the name has a drive, a folder or a leading backslash.
bool HasFolderPart(std::string_view path);

// True for "x:..." and "\\server..." names.
bool IsAbsolutePage(std::string_view path);

// The full name of a page given relative to the program folder or absolute;
// the anchor is kept. Empty stays empty.
std::string ResolvePagePath(std::string_view file, std::string_view programDir);

// Folds text[from...] as FoldPath does ('/' to '\', letters to upper case).
void FoldPathFrom(std::string& text, std::size_t from);

// The comparison key of a full page name (see above). Empty for a name that
// is empty once trimmed and stripped of its anchor.
std::string PageKey(std::string_view path);

// True when both names denote the same page.
bool SamePage(std::string_view a, std::string_view b);

// The comparison key of a bare file name (no anchor, folded).
std::string FileNameKey(std::string_view path);

// True when the document lies in the temporary folder in a folder (or under a
// name) beginning with "as_": where the RAR lister writes its listing pages,
// and nothing else writes.
bool IsArchiveListingPage(std::string_view document, std::string_view tempDir);

// Letter case folding of Windows-1251 text for caption searches: Latin and
// Cyrillic, ё included.
std::string FoldCaption(std::string_view text);
// True when the caption contains the text, given folded, in any letter case.
bool CaptionContains(std::string_view caption, std::string_view foldedText);

} // namespace carmanual
