#pragma once
// What a resource the layout engine asks a page for stands for, without the
// engine: the page rewriting (PrepareHtml) names every picture, background
// and style sheet of the page "res:N" and every form control "ctl:N"; other
// names are url()s of style sheets. Each resolves, against the page's base,
// to a manual name read through the archive, or to a control's place.

#include "htmlprepare.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace carmanual {

struct THtmlResourceTarget {
    enum class TKind {
        None,       // nothing to give
        Control,    // the room of form control Control
        StyleSheet, // the text of File
        Picture,    // the picture in File
    };
    TKind Kind = TKind::None;
    int Control = -1;
    std::string File; // a manual name without anchor
    bool operator==(const THtmlResourceTarget&) const = default;
};

enum class THtmlResourceRequest { StyleSheet, Picture, Other };

// name: the resource name as the engine gives it; decodedName: the same
// with its percent escapes decoded, in Windows-1251 (the url() of a style
// sheet). controlCount: the controls of the page shown.
THtmlResourceTarget ResolveResource(std::string_view name, std::string_view decodedName,
                                    THtmlResourceRequest request,
                                    const std::vector<THtmlResourceRef>& resources,
                                    std::string_view base, std::size_t controlCount);

} // namespace carmanual
