#pragma once
// The decisions of the page panel's link handling that need no window: which
// action a clicked link asks for, the drive a document names, and where an
// offered file may be copied. Names are manual names (Windows-1251,
// backslashes, drive letter).

#include <optional>
#include <string>
#include <string_view>

namespace carmanual {

// Latin and Cyrillic letters in lower case (Windows-1251).
std::string LowerAnsiText(std::string_view text);

// From the last '.' of the name to its end ("a.htm#top" gives ".htm#top");
// empty when the name has no '.'.
std::string LinkExtension(std::string_view name);

// The last component of a manual name ("c:\a\b.exe" gives "b.exe").
std::string ManualFileName(std::string_view name);

// The name without "#anchor".
std::string WithoutAnchor(std::string_view name);

// A link the desktop opens with a program of its own: a URL whose scheme
// is a web, mail or file-transfer one ("https://x.com/", "ftp://...",
// "mailto:..."), any letter case. Drive letters and the manual's own
// pseudo-protocols ("copy:", "printhtml:") are not.
bool IsWebUrl(std::string_view url);

// What a click on a link asks for, the first matching case winning.
enum class TLinkAction {
    EnlargedPicture, // target "_blank": the picture window
    ShellUrl,        // "http:" or "mailto:" anywhere in the URL, or a web URL
    PrintLinked,     // "printhtml:"
    CopyFile,        // "copy:"
    CopyFormText,    // "copylist:"
    OtherFile,       // not a page, picture or text: by extension
    PageInListing,   // a page of a RAR listing's archive: opened by the panel
    FollowLink,      // left to the engine
};

// url as written; expanded: the link as a full manual name, in lower case;
// rarListing: the viewer shows a RAR archive listing.
TLinkAction ChooseLinkAction(std::string_view target, std::string_view url,
                             std::string_view expanded, bool rarListing);

// What an "other file" link does, by the extension of the expanded link.
enum class TFileAction { SaveZip, ListRar, PlayWav, RunProgram, ShellOpen };
TFileAction ChooseFileAction(std::string_view expanded);

// A document written for the disc the manual came on names its drive; the
// same place lies on programDrive ("c:\"). Names on another drive than
// programDrive take programDrive instead, except Z:, the drive of native
// folders outside the manual (temporary files, the reader's own folders).
std::string ReplaceForeignDrive(std::string_view name, std::string_view programDrive);

// The target of a file copied into folder (a manual name ending in '\') under
// the relative name. Nothing when the name would leave the folder: empty, an
// absolute name (drive, leading slash or backslash), or a ".." component.
// "." components are dropped; '/' counts as '\'.
std::optional<std::string> TargetInFolder(std::string_view folder, std::string_view relative);

// A path relative to a folder when it lies below it (ignoring letter case);
// nothing otherwise.
std::optional<std::string> RelativeToFolder(std::string_view folder, std::string_view path);

} // namespace carmanual
