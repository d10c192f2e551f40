#include "app/HelpPage.h"

#include <cctype>
#include <cstdlib>
#include <map>
#include <utility>

namespace {

constexpr COLORREF kDefaultLinkColor = RGB(0, 0, 238);

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

bool IsSpace(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

// Finds `what` in `text` from `from` on, ignoring case.
size_t FindNoCase(std::string_view text, std::string_view what, size_t from) {
    const std::string hay = Lower(text), needle = Lower(what);
    return hay.find(needle, from);
}

struct Tag {
    std::string name; // lower case
    bool closing = false;
    bool selfClosing = false;
    std::vector<std::pair<std::string, std::string>> attributes;

    std::string Attribute(std::string_view key) const {
        for (const auto& [k, v] : attributes)
            if (k == key)
                return v;
        return {};
    }
    bool Has(std::string_view key) const {
        for (const auto& a : attributes)
            if (a.first == key)
                return true;
        return false;
    }
};

// Reads the inside of a tag, between '<' and '>'.
Tag ReadTag(std::string_view s) {
    Tag tag;
    size_t i = 0;
    if (i < s.size() && s[i] == '/') {
        tag.closing = true;
        ++i;
    }
    const size_t nameStart = i;
    while (i < s.size() && !IsSpace(s[i]) && s[i] != '/')
        ++i;
    tag.name = Lower(s.substr(nameStart, i - nameStart));
    while (i < s.size()) {
        while (i < s.size() && (IsSpace(s[i]) || s[i] == '/')) {
            if (s[i] == '/')
                tag.selfClosing = true;
            ++i;
        }
        const size_t keyStart = i;
        while (i < s.size() && !IsSpace(s[i]) && s[i] != '=' && s[i] != '/')
            ++i;
        if (i == keyStart)
            break;
        std::string key = Lower(s.substr(keyStart, i - keyStart));
        std::string value;
        while (i < s.size() && IsSpace(s[i]))
            ++i;
        if (i < s.size() && s[i] == '=') {
            ++i;
            while (i < s.size() && IsSpace(s[i]))
                ++i;
            if (i < s.size() && (s[i] == '"' || s[i] == '\'')) {
                const char quote = s[i++];
                const size_t end = s.find(quote, i);
                const size_t stop = end == std::string_view::npos ? s.size() : end;
                value = s.substr(i, stop - i);
                i = stop + 1;
            } else {
                const size_t valueStart = i;
                while (i < s.size() && !IsSpace(s[i]))
                    ++i;
                value = s.substr(valueStart, i - valueStart);
            }
        }
        tag.attributes.emplace_back(std::move(key), std::move(value));
    }
    return tag;
}

// Character references as single bytes of the Windows code page.
std::string DecodeEntities(std::string_view s) {
    static const std::map<std::string, char> named = {
        {"amp", '&'},      {"lt", '<'},       {"gt", '>'},      {"quot", '"'},
        {"apos", '\''},    {"nbsp", '\xA0'},  {"copy", '\xA9'}, {"reg", '\xAE'},
        {"trade", '\x99'}, {"ndash", '\x96'}, {"mdash", '\x97'}};
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        const size_t end = s[i] == '&' ? s.find(';', i) : std::string_view::npos;
        if (end == std::string_view::npos || end - i > 10) {
            out += s[i];
            continue;
        }
        const std::string name(s.substr(i + 1, end - i - 1));
        if (!name.empty() && name[0] == '#') {
            const bool hex = name.size() > 1 && (name[1] == 'x' || name[1] == 'X');
            const long code = std::strtol(name.c_str() + (hex ? 2 : 1), nullptr, hex ? 16 : 10);
            out += code > 0 && code < 256 ? static_cast<char>(code) : '?';
        } else if (auto found = named.find(name); found != named.end()) {
            out += found->second;
        } else {
            out += s.substr(i, end - i + 1);
            continue;
        }
        i = end;
    }
    return out;
}

bool ParseColor(std::string_view text, COLORREF* out) {
    const std::string s = Lower(Trim(text));
    if (s == "white" || s == "black") {
        *out = s == "white" ? RGB(255, 255, 255) : RGB(0, 0, 0);
        return true;
    }
    if (s.size() != 7 || s[0] != '#')
        return false;
    char* end = nullptr;
    const unsigned long v = std::strtoul(s.c_str() + 1, &end, 16);
    if (*end != '\0')
        return false;
    *out = RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    return true;
}

// The value of a property in a CSS declaration list, or empty.
std::string CssValue(std::string_view declarations, std::string_view property) {
    const std::string lower = Lower(declarations);
    for (size_t at = lower.find(property); at != std::string::npos;
         at = lower.find(property, at + 1)) {
        const bool startsWord =
            at == 0 || lower[at - 1] == ';' || lower[at - 1] == '{' || IsSpace(lower[at - 1]);
        size_t i = at + property.size();
        while (i < lower.size() && IsSpace(lower[i]))
            ++i;
        if (!startsWord || i >= lower.size() || lower[i] != ':')
            continue;
        const size_t end = lower.find(';', i);
        return std::string(Trim(declarations.substr(
            i + 1, end == std::string::npos ? std::string::npos : end - i - 1)));
    }
    return {};
}

struct Style {
    bool bold = false;
    bool large = false;
    COLORREF color = RGB(0, 0, 0);
    std::string link;
};

// What a style sheet rule changes: its bold and its colour, when it says so.
struct Rule {
    bool bold = false;
    bool hasColor = false;
    COLORREF color = 0;
};

std::map<std::string, Rule> ReadStyleSheet(std::string_view css) {
    std::map<std::string, Rule> rules;
    size_t i = 0;
    while (i < css.size()) {
        const size_t open = css.find('{', i);
        const size_t close = open == std::string_view::npos ? open : css.find('}', open);
        if (close == std::string_view::npos)
            break;
        const std::string selector = Lower(Trim(css.substr(i, open - i)));
        const std::string_view body = css.substr(open + 1, close - open - 1);
        Rule rule;
        rule.bold = CssValue(body, "font-weight") == "bold";
        rule.hasColor = ParseColor(CssValue(body, "color"), &rule.color);
        rules[selector] = rule;
        i = close + 1;
    }
    return rules;
}

void Apply(const Rule& rule, Style& style) {
    style.bold = style.bold || rule.bold;
    if (rule.hasColor)
        style.color = rule.color;
}

bool IsBlockTag(const std::string& n) {
    static const char* const tags[] = {"p",     "div", "li", "td",     "th",         "tr",
                                       "table", "ul",  "ol", "h1",     "h2",         "h3",
                                       "h4",    "h5",  "h6", "center", "blockquote", "body"};
    for (const char* t : tags)
        if (n == t)
            return true;
    return false;
}

bool IsVoidTag(const std::string& n) {
    static const char* const tags[] = {"br",  "img",  "hr",   "meta", "link", "input",
                                       "col", "area", "base", "wbr",  "param"};
    for (const char* t : tags)
        if (n == t)
            return true;
    return false;
}

class Reader {
public:
    HelpPage Read(std::string_view html);

private:
    void OnOpen(const Tag& tag);
    void OnClose(const std::string& name);
    void OnText(std::string_view text);
    void OnLineBreak();
    Style StyleFor(const Tag& tag) const;
    const Style& Current() const { return open_.empty() ? base_ : open_.back().second; }
    HelpBlock& Block();
    void EndBlock() { block_ = -1; }
    int Row();

    HelpPage page_;
    Style base_;
    std::map<std::string, Rule> rules_;
    std::vector<std::pair<std::string, Style>> open_;
    std::vector<std::string> pendingAnchors_;
    int block_ = -1;          // index of the open block, or -1
    bool atLineStart_ = true; // no space is kept at the start of a line
    bool lastSpace_ = false;  // nor after another space
};

HelpPage Reader::Read(std::string_view html) {
    size_t i = 0;
    while (i < html.size()) {
        if (html[i] != '<') {
            const size_t next = html.find('<', i);
            const size_t stop = next == std::string_view::npos ? html.size() : next;
            OnText(DecodeEntities(html.substr(i, stop - i)));
            i = stop;
            continue;
        }
        if (html.substr(i, 4) == "<!--") {
            const size_t end = html.find("-->", i + 4);
            i = end == std::string_view::npos ? html.size() : end + 3;
            continue;
        }
        const size_t close = html.find('>', i);
        if (close == std::string_view::npos)
            break;
        const Tag tag = ReadTag(html.substr(i + 1, close - i - 1));
        i = close + 1;
        if (tag.name.empty() || tag.name[0] == '!' || tag.name[0] == '?')
            continue;
        if (!tag.closing && (tag.name == "title" || tag.name == "style" || tag.name == "script")) {
            // Their content is not text of the page.
            const size_t end = FindNoCase(html, "</" + tag.name, i);
            const std::string_view content =
                html.substr(i, end == std::string_view::npos ? std::string_view::npos : end - i);
            if (tag.name == "title")
                page_.title = Trim(DecodeEntities(content));
            else if (tag.name == "style")
                rules_ = ReadStyleSheet(content);
            const size_t endTag = end == std::string_view::npos ? end : html.find('>', end);
            i = endTag == std::string_view::npos ? html.size() : endTag + 1;
            continue;
        }
        if (tag.closing)
            OnClose(tag.name);
        else
            OnOpen(tag);
    }
    if (!pendingAnchors_.empty() && !page_.blocks.empty())
        for (std::string& a : pendingAnchors_)
            page_.blocks.back().anchors.push_back(std::move(a));
    return std::move(page_);
}

Style Reader::StyleFor(const Tag& tag) const {
    Style s = Current();
    const std::string& n = tag.name;
    if (n == "b" || n == "strong" || n == "th")
        s.bold = true;
    if (n == "h1" || n == "h2" || n == "h3")
        s.bold = s.large = true;
    if (n == "font") {
        const std::string size = tag.Attribute("size");
        if ((!size.empty() && size[0] == '+' && std::atoi(size.c_str() + 1) > 0) ||
            std::atoi(size.c_str()) >= 4)
            s.large = true;
        ParseColor(tag.Attribute("color"), &s.color);
    }
    const bool link = n == "a" && tag.Has("href");
    if (link) {
        const std::string href = tag.Attribute("href");
        s.link = !href.empty() && href[0] == '#' ? href.substr(1) : std::string();
        s.color = kDefaultLinkColor;
    }
    // Rules for the element (an "a" rule only for links), then its class.
    std::vector<std::string> selectors;
    if (n != "a" || link)
        selectors.push_back(n);
    if (const std::string cls = Lower(tag.Attribute("class")); !cls.empty()) {
        selectors.push_back("." + cls);
        selectors.push_back(n + "." + cls);
    }
    for (const std::string& selector : selectors)
        if (auto rule = rules_.find(selector); rule != rules_.end())
            Apply(rule->second, s);
    return s;
}

void Reader::OnOpen(const Tag& tag) {
    const std::string& n = tag.name;
    if (n == "html") {
        const int w = std::atoi(CssValue(tag.Attribute("style"), "width").c_str());
        const int h = std::atoi(CssValue(tag.Attribute("style"), "height").c_str());
        if (w > 0)
            page_.width = w;
        if (h > 0)
            page_.height = h;
    }
    for (const char* key : {"name", "id"})
        if (std::string a = tag.Attribute(key);
            !a.empty() && (n == "a" || std::string(key) == "id"))
            pendingAnchors_.push_back(a);
    if (n == "br") {
        OnLineBreak();
        return;
    }
    if (IsBlockTag(n))
        EndBlock();
    if (n == "tr")
        page_.rows.emplace_back();
    COLORREF background = 0;
    if ((n == "tr" || n == "td" || n == "th") &&
        ParseColor(tag.Attribute("bgcolor"), &background)) {
        HelpRow& row = page_.rows[Row()];
        row.filled = true;
        row.background = background;
    }
    if (IsVoidTag(n) || tag.selfClosing)
        return;
    open_.emplace_back(n, StyleFor(tag));
    if (n == "li")
        OnText("\x95 ");
}

void Reader::OnClose(const std::string& name) {
    for (size_t i = open_.size(); i-- > 0;) {
        if (open_[i].first == name) {
            open_.resize(i);
            break;
        }
    }
    if (IsBlockTag(name))
        EndBlock();
}

int Reader::Row() {
    if (page_.rows.empty())
        page_.rows.emplace_back();
    return static_cast<int>(page_.rows.size()) - 1;
}

HelpBlock& Reader::Block() {
    if (block_ < 0) {
        HelpBlock b;
        b.row = Row();
        for (size_t i = open_.size(); i-- > 0;) {
            const std::string& n = open_[i].first;
            if (IsBlockTag(n)) {
                b.paragraph = n == "p" || (n.size() == 2 && n[0] == 'h');
                break;
            }
        }
        b.anchors = std::move(pendingAnchors_);
        pendingAnchors_.clear();
        page_.blocks.push_back(std::move(b));
        block_ = static_cast<int>(page_.blocks.size()) - 1;
        atLineStart_ = true;
        lastSpace_ = false;
    }
    return page_.blocks[block_];
}

void Reader::OnText(std::string_view text) {
    const Style& style = Current();
    for (char c : text) {
        const bool space = IsSpace(c);
        if (space && (block_ < 0 || atLineStart_ || lastSpace_))
            continue;
        HelpBlock& b = Block();
        if (!pendingAnchors_.empty()) {
            for (std::string& a : pendingAnchors_)
                b.anchors.push_back(std::move(a));
            pendingAnchors_.clear();
        }
        HelpRun* run = b.runs.empty() ? nullptr : &b.runs.back();
        if (!run || run->lineBreak || run->bold != style.bold || run->large != style.large ||
            run->color != style.color || run->link != style.link) {
            HelpRun fresh;
            fresh.bold = style.bold;
            fresh.large = style.large;
            fresh.color = style.color;
            fresh.link = style.link;
            b.runs.push_back(std::move(fresh));
            run = &b.runs.back();
        }
        run->text += space ? ' ' : c;
        atLineStart_ = false;
        lastSpace_ = space;
    }
}

void Reader::OnLineBreak() {
    if (block_ < 0)
        return;
    HelpRun br;
    br.lineBreak = true;
    page_.blocks[block_].runs.push_back(br);
    atLineStart_ = true;
    lastSpace_ = false;
}

} // namespace

HelpPage ParseHelpPage(std::string_view html) {
    return Reader().Read(html);
}

std::string LoadHtmlResource(int resourceId) {
    HMODULE self = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(self, MAKEINTRESOURCEA(resourceId), MAKEINTRESOURCEA(23));
    if (!found)
        return {};
    HGLOBAL loaded = LoadResource(self, found);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes)
        return {};
    return std::string(static_cast<const char*>(bytes), SizeofResource(self, found));
}
