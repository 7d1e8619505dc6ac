#pragma once
// The rewriting a page goes through before layout. The layout engine knows
// neither link targets, nor ALT texts, nor manual names with backslashes and
// drive letters, nor form controls, so every reference is replaced by a short
// token that the viewer looks up in the tables made here:
//   <a href=X>            -> href="lnk:N"  (Links[N]: the href and target)
//   <img src=X>, <input type=image src=X>, background=X, <link rel=stylesheet href=X>
//                         -> "res:N"       (Resources[N])
//   <select>..</select>, <textarea>..</textarea>, <button>..</button>, <input>
//                         -> <img src="ctl:N">  (Controls[N]; a real widget
//                            of the picture's size is laid over it)
// Hidden inputs disappear. Everything else is left as it is, in the page's
// own character set; names and titles in the tables are Windows-1251, texts
// shown in controls and ALT texts UTF-8.

#include "htmlcharset.h"

#include <string>
#include <string_view>
#include <vector>

namespace carmanual {

struct THtmlLinkRef {
    std::string Href;   // Windows-1251, entities decoded
    std::string Target; // as written; empty when none
};

enum class THtmlResourceKind { Picture, Background, StyleSheet };

struct THtmlResourceRef {
    THtmlResourceKind Kind = THtmlResourceKind::Picture;
    std::string Source; // Windows-1251, entities decoded
    std::string Alt;    // UTF-8
    bool HasAlt = false;
};

enum class TFormControlKind {
    Select,
    Text,
    Password,
    File,
    TextArea,
    CheckBox,
    Radio,
    Button,
    Submit,
    Reset,
};

struct TFormControlSpec {
    TFormControlKind Kind = TFormControlKind::Text;
    std::string Name;                 // Windows-1251
    std::string Value;                // UTF-8: initial text, button caption
    std::vector<std::string> Options; // UTF-8 (select)
    std::vector<std::string> OptionValues;
    int Selected = 0; // select: the option marked selected, else the first
    int Size = 0;     // input: width in characters; select: visible rows
    int Rows = 0;     // textarea
    int Cols = 0;
    int MaxLength = 0;
    bool Checked = false;
    bool Disabled = false;
    bool ReadOnly = false;
};

struct TPreparedPage {
    std::string Html; // the rewritten page, in its own character set
    std::vector<THtmlLinkRef> Links;
    std::vector<THtmlResourceRef> Resources;
    std::vector<TFormControlSpec> Controls;
    std::string Title;        // Windows-1251; empty when the page has none
    std::string BaseHref;     // <base href>, Windows-1251
    std::string BaseTarget;   // <base target>
    std::string LinkColor;    // <body link=...> as written
    std::string VisitedColor; // <body vlink=...>
};

TPreparedPage PrepareHtml(std::string_view page, THtmlCharset charset);

// Index N of a token "lnk:N" (prefix "lnk:"), or -1.
int TokenIndex(std::string_view token, std::string_view prefix);

} // namespace carmanual
