#pragma once
// A forgiving scanner of HTML tags for the rewriting done before layout and
// for frame sets: it finds tags and their attributes with their places in the
// text, steps over comments, declarations and the contents of <script> and
// <style>, and never fails (unterminated constructs end at the end of text).

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace carmanual {

struct THtmlAttribute {
    std::string Name;  // lower case
    std::string Value; // raw, entities not decoded
    // The value's place in the text (without quotes); both npos when the
    // attribute has no value.
    std::size_t ValueBegin = std::string::npos;
    std::size_t ValueEnd = std::string::npos;
};

struct THtmlTag {
    std::string Name; // lower case, without '/'
    bool Closing = false;
    std::size_t Begin = 0; // '<'
    std::size_t End = 0;   // after '>'
    std::vector<THtmlAttribute> Attributes;

    const THtmlAttribute* Find(std::string_view name) const;
    // The decoded value of an attribute; fallback when the tag has none.
    std::string Value(std::string_view name, std::string_view fallback = {}) const;
    bool Has(std::string_view name) const { return Find(name) != nullptr; }
};

class THtmlTagScanner final {
public:
    explicit THtmlTagScanner(std::string_view html, std::size_t from = 0)
        : m_html(html), m_pos(from) {}
    // The next tag; false at the end of the text.
    bool Next(THtmlTag& tag);
    std::size_t Position() const { return m_pos; }

private:
    std::string_view m_html;
    std::size_t m_pos;
};

// Replaces the character references of HTML text (&amp; &lt; &gt; &quot;
// &apos; &nbsp; &#n; &#xh; and the common named letters) by their UTF-8 form;
// text is the page's bytes already in UTF-8. Unknown references stay.
std::string DecodeEntitiesUtf8(std::string_view text);

// Text of an element's content: tags removed, entities decoded, runs of white
// space made one space, trimmed. UTF-8 in, UTF-8 out.
std::string PlainText(std::string_view html);

} // namespace carmanual
