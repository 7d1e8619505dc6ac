#include "htmlprepare.h"

#include "htmltags.h"

#include <algorithm>
#include <cstdlib>

namespace carmanual {

namespace {

int IntValue(const THtmlTag& tag, std::string_view name) {
    const std::string v = tag.Value(name);
    return v.empty() ? 0 : std::max(0, std::atoi(v.c_str()));
}

std::string LowerAscii(std::string s) {
    for (char& c : s) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return s;
}

class TPageRewriter {
public:
    TPageRewriter(std::string_view page, THtmlCharset charset) : m_page(page), m_charset(charset) {
        m_out.Html.reserve(page.size() + page.size() / 16);
    }

    TPreparedPage Run() {
        THtmlTagScanner scanner(m_page);
        THtmlTag tag;
        while (scanner.Next(tag)) {
            if (tag.Closing)
                continue;
            if (tag.Name == "a")
                RewriteAttribute(tag, "href", Token("lnk:", AddLink(tag)));
            else if (tag.Name == "img")
                RewriteAttribute(
                    tag, "src", Token("res:", AddResource(tag, "src", THtmlResourceKind::Picture)));
            else if (tag.Name == "link")
                Link(tag);
            else if (tag.Name == "input")
                Input(tag);
            else if (tag.Name == "select" || tag.Name == "textarea" || tag.Name == "button")
                Container(tag, scanner);
            else if (tag.Name == "title")
                Title(tag, scanner);
            else if (tag.Name == "base") {
                m_out.BaseHref = Ansi(tag.Value("href"));
                m_out.BaseTarget = Ansi(tag.Value("target"));
            } else if (tag.Name == "body") {
                m_out.LinkColor = tag.Value("link");
                m_out.VisitedColor = tag.Value("vlink");
            }
            if (tag.Has("background") && !tag.Find("background")->Value.empty())
                RewriteAttribute(
                    tag, "background",
                    Token("res:", AddResource(tag, "background", THtmlResourceKind::Background)));
        }
        m_out.Html.append(m_page.substr(m_copied));
        return std::move(m_out);
    }

private:
    std::string Ansi(std::string_view text) const { return DecodeToAnsi(text, m_charset); }
    std::string Utf8(std::string_view text) const {
        return DecodeEntitiesUtf8(DecodeToUtf8(text, m_charset));
    }

    static std::string Token(std::string_view prefix, std::size_t index) {
        return std::string(prefix) + std::to_string(index);
    }

    // Copies the page up to pos (not yet copied).
    void CopyTo(std::size_t pos) {
        if (pos > m_copied) {
            m_out.Html.append(m_page.substr(m_copied, pos - m_copied));
            m_copied = pos;
        }
    }

    // Replaces an attribute's value (the text between its quotes) by value.
    void RewriteAttribute(const THtmlTag& tag, std::string_view name, const std::string& value) {
        const THtmlAttribute* a = tag.Find(name);
        if (!a || a->ValueBegin == std::string::npos || a->ValueBegin < m_copied)
            return;
        CopyTo(a->ValueBegin);
        const bool quoted = a->ValueBegin > 0 &&
                            (m_page[a->ValueBegin - 1] == '"' || m_page[a->ValueBegin - 1] == '\'');
        m_out.Html += quoted ? value : "\"" + value + "\"";
        m_copied = a->ValueEnd;
    }

    // Replaces page text [begin, end) by text.
    void Replace(std::size_t begin, std::size_t end, const std::string& text) {
        if (begin < m_copied)
            return;
        CopyTo(begin);
        m_out.Html += text;
        m_copied = std::max(m_copied, end);
    }

    std::size_t AddLink(const THtmlTag& tag) {
        if (!tag.Has("href"))
            return static_cast<std::size_t>(-1);
        m_out.Links.push_back({Ansi(tag.Value("href")), Ansi(tag.Value("target"))});
        return m_out.Links.size() - 1;
    }

    std::size_t AddResource(const THtmlTag& tag, std::string_view attr, THtmlResourceKind kind) {
        THtmlResourceRef ref;
        ref.Kind = kind;
        ref.Source = Ansi(tag.Value(attr));
        if (const THtmlAttribute* alt = tag.Find("alt");
            alt && kind == THtmlResourceKind::Picture) {
            ref.Alt = Utf8(alt->Value);
            ref.HasAlt = true;
        }
        m_out.Resources.push_back(std::move(ref));
        return m_out.Resources.size() - 1;
    }

    void Link(const THtmlTag& tag) {
        const std::string rel = LowerAscii(tag.Value("rel"));
        if (rel.find("stylesheet") == std::string::npos || !tag.Has("href"))
            return;
        // The layout engine reads only links written exactly so.
        Replace(tag.Begin, tag.End,
                "<link rel=\"stylesheet\" type=\"text/css\" href=\"" +
                    Token("res:", AddResource(tag, "href", THtmlResourceKind::StyleSheet)) + "\">");
    }

    std::string ControlToken() const {
        return "<img src=\"ctl:" + std::to_string(m_out.Controls.size() - 1) + "\">";
    }

    void Input(const THtmlTag& tag) {
        const std::string type = LowerAscii(tag.Value("type", "text"));
        if (type == "image") {
            RewriteAttribute(tag, "src",
                             Token("res:", AddResource(tag, "src", THtmlResourceKind::Picture)));
            return;
        }
        if (type == "hidden") {
            Replace(tag.Begin, tag.End, {});
            return;
        }
        TFormControlSpec spec;
        if (type == "password")
            spec.Kind = TFormControlKind::Password;
        else if (type == "checkbox")
            spec.Kind = TFormControlKind::CheckBox;
        else if (type == "radio")
            spec.Kind = TFormControlKind::Radio;
        else if (type == "submit")
            spec.Kind = TFormControlKind::Submit;
        else if (type == "reset")
            spec.Kind = TFormControlKind::Reset;
        else if (type == "button")
            spec.Kind = TFormControlKind::Button;
        else if (type == "file")
            spec.Kind = TFormControlKind::File;
        else
            spec.Kind = TFormControlKind::Text;
        FillCommon(tag, spec);
        spec.Value = Utf8(tag.Find("value") ? tag.Find("value")->Value : std::string());
        spec.Size = IntValue(tag, "size");
        spec.MaxLength = IntValue(tag, "maxlength");
        spec.Checked = tag.Has("checked");
        m_out.Controls.push_back(std::move(spec));
        Replace(tag.Begin, tag.End, ControlToken());
    }

    void FillCommon(const THtmlTag& tag, TFormControlSpec& spec) const {
        spec.Name = Ansi(tag.Value("name"));
        spec.Disabled = tag.Has("disabled");
        spec.ReadOnly = tag.Has("readonly");
    }

    // <select>, <textarea>, <button>: the element up to its closing tag.
    void Container(const THtmlTag& open, THtmlTagScanner& scanner) {
        TFormControlSpec spec;
        FillCommon(open, spec);
        std::size_t end = m_page.size();
        std::size_t contentEnd = m_page.size();
        THtmlTag tag;
        if (open.Name == "select") {
            spec.Kind = TFormControlKind::Select;
            spec.Size = IntValue(open, "size");
            int selected = -1;
            std::size_t optionText = std::string::npos;
            auto closeOption = [&](std::size_t at) {
                if (optionText == std::string::npos)
                    return;
                spec.Options.push_back(
                    PlainText(DecodeToUtf8(m_page.substr(optionText, at - optionText), m_charset)));
                optionText = std::string::npos;
            };
            while (scanner.Next(tag)) {
                if (tag.Name == "option" && !tag.Closing) {
                    closeOption(tag.Begin);
                    optionText = tag.End;
                    if (tag.Has("selected") && selected < 0)
                        selected = static_cast<int>(spec.Options.size());
                    spec.OptionValues.push_back(
                        Utf8(tag.Find("value") ? tag.Find("value")->Value : std::string()));
                } else if ((tag.Name == "option" && tag.Closing) || tag.Name == "optgroup") {
                    closeOption(tag.Begin);
                } else if (tag.Name == "select") {
                    // A closing tag ends it; an opening one is a page error
                    // that ends it as browsers do.
                    closeOption(tag.Begin);
                    end = tag.Closing ? tag.End : tag.Begin;
                    break;
                }
            }
            if (end == m_page.size())
                closeOption(m_page.size());
            // Options without a value attribute submit their text.
            for (std::size_t i = 0; i < spec.OptionValues.size() && i < spec.Options.size(); ++i) {
                if (spec.OptionValues[i].empty())
                    spec.OptionValues[i] = spec.Options[i];
            }
            spec.Selected = selected >= 0 ? selected : 0;
        } else {
            spec.Kind =
                open.Name == "textarea" ? TFormControlKind::TextArea : TFormControlKind::Button;
            spec.Rows = IntValue(open, "rows");
            spec.Cols = IntValue(open, "cols");
            while (scanner.Next(tag)) {
                if (tag.Closing && tag.Name == open.Name) {
                    contentEnd = tag.Begin;
                    end = tag.End;
                    break;
                }
            }
            const std::string_view content =
                m_page.substr(open.End, std::min(contentEnd, m_page.size()) - open.End);
            if (spec.Kind == TFormControlKind::TextArea) {
                std::string text = DecodeEntitiesUtf8(DecodeToUtf8(content, m_charset));
                // A line break right after <textarea> is not part of the text.
                if (!text.empty() && text.front() == '\r')
                    text.erase(0, 1);
                if (!text.empty() && text.front() == '\n')
                    text.erase(0, 1);
                spec.Value = text;
            } else {
                const std::string caption = PlainText(DecodeToUtf8(content, m_charset));
                spec.Value = caption.empty() ? Utf8(open.Value("value")) : caption;
                const std::string type = LowerAscii(open.Value("type", "submit"));
                spec.Kind = type == "reset"    ? TFormControlKind::Reset
                            : type == "button" ? TFormControlKind::Button
                                               : TFormControlKind::Submit;
            }
        }
        m_out.Controls.push_back(std::move(spec));
        Replace(open.Begin, end, ControlToken());
    }

    void Title(const THtmlTag& open, THtmlTagScanner& scanner) {
        THtmlTag tag;
        std::size_t end = m_page.size();
        while (scanner.Next(tag)) {
            if (tag.Name == "title" || tag.Name == "head" || tag.Name == "body") {
                end = tag.Begin;
                break;
            }
        }
        if (m_out.Title.empty())
            m_out.Title = Utf8ToAnsiTitle(
                PlainText(DecodeToUtf8(m_page.substr(open.End, end - open.End), m_charset)));
    }

    static std::string Utf8ToAnsiTitle(const std::string& utf8) {
        return DecodeToAnsi(utf8, THtmlCharset::Utf8);
    }

    std::string_view m_page;
    THtmlCharset m_charset;
    TPreparedPage m_out;
    std::size_t m_copied = 0;
};

} // namespace

TPreparedPage PrepareHtml(std::string_view page, THtmlCharset charset) {
    return TPageRewriter(page, charset).Run();
}

int TokenIndex(std::string_view token, std::string_view prefix) {
    if (token.size() <= prefix.size() || token.substr(0, prefix.size()) != prefix)
        return -1;
    int value = 0;
    for (char c : token.substr(prefix.size())) {
        if (c < '0' || c > '9' || value > 100000000)
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

} // namespace carmanual
