#include "htmlresource.h"

#include "htmlurl.h"

namespace carmanual {

THtmlResourceTarget ResolveResource(std::string_view name, std::string_view decodedName,
                                    THtmlResourceRequest request,
                                    const std::vector<THtmlResourceRef>& resources,
                                    std::string_view base, std::size_t controlCount) {
    THtmlResourceTarget target;
    if (const int control = TokenIndex(name, "ctl:");
        control >= 0 && static_cast<std::size_t>(control) < controlCount) {
        target.Kind = THtmlResourceTarget::TKind::Control;
        target.Control = control;
        return target;
    }
    std::string source;
    bool styleSheet = request == THtmlResourceRequest::StyleSheet;
    if (const int res = TokenIndex(name, "res:");
        res >= 0 && static_cast<std::size_t>(res) < resources.size()) {
        const THtmlResourceRef& ref = resources[static_cast<std::size_t>(res)];
        source = ref.Source;
        styleSheet = styleSheet || ref.Kind == THtmlResourceKind::StyleSheet;
    } else {
        // A name the rewriting did not see: url() of a style sheet.
        source = std::string(decodedName);
    }
    target.File = SplitAnchor(ResolveLink(base, source)).first;
    if (styleSheet)
        target.Kind = THtmlResourceTarget::TKind::StyleSheet;
    else if (request == THtmlResourceRequest::Picture)
        target.Kind = THtmlResourceTarget::TKind::Picture;
    else
        target.File.clear();
    return target;
}

} // namespace carmanual
