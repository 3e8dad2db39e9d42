#include "mailclients/MozillaPrefs.h"

#include "base/CodePages.h"

#include <optional>

namespace mailclients {

namespace {

bool IsSpace(wchar_t c)
{
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\f' || c == L'\v';
}

bool IsWordCharacter(wchar_t c)
{
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c == L'_' ||
           c == L'-' || c == L'+' || c == L'.';
}

int HexValue(wchar_t c)
{
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}

class PrefsReader {
public:
    explicit PrefsReader(std::wstring_view text) : text_(text) {}

    std::vector<MozillaPref> ReadAll()
    {
        std::vector<MozillaPref> prefs;
        for (SkipBlanks(); pos_ < text_.size(); SkipBlanks()) {
            const std::size_t start = pos_;
            if (std::optional<MozillaPref> pref = Statement()) {
                prefs.push_back(std::move(*pref));
            } else {
                pos_ = start;
                SkipStatement();
            }
        }
        return prefs;
    }

private:
    // pref(...), user_pref(...) or sticky_pref(...), with its semicolon.
    std::optional<MozillaPref> Statement()
    {
        const std::wstring function = Word();
        if (function != L"user_pref" && function != L"pref" && function != L"sticky_pref")
            return std::nullopt;
        MozillaPref pref;
        if (!Take(L'('))
            return std::nullopt;
        std::optional<std::wstring> name = String();
        if (!name || !Take(L','))
            return std::nullopt;
        pref.name = std::move(*name);
        SkipBlanks();
        if (pos_ < text_.size() && (text_[pos_] == L'"' || text_[pos_] == L'\'')) {
            std::optional<std::wstring> value = String();
            if (!value)
                return std::nullopt;
            pref.value = std::move(*value);
            pref.isString = true;
        } else {
            pref.value = Word();
            if (pref.value.empty())
                return std::nullopt;
        }
        // pref() may name attributes after the value ("sticky", "locked").
        while (Take(L','))
            Word();
        if (!Take(L')') || !Take(L';'))
            return std::nullopt;
        return pref;
    }

    std::wstring Word()
    {
        SkipBlanks();
        const std::size_t start = pos_;
        while (pos_ < text_.size() && IsWordCharacter(text_[pos_]))
            ++pos_;
        return std::wstring(text_.substr(start, pos_ - start));
    }

    bool Take(wchar_t c)
    {
        SkipBlanks();
        if (pos_ >= text_.size() || text_[pos_] != c)
            return false;
        ++pos_;
        return true;
    }

    std::optional<std::wstring> String()
    {
        SkipBlanks();
        if (pos_ >= text_.size() || (text_[pos_] != L'"' && text_[pos_] != L'\''))
            return std::nullopt;
        const wchar_t quote = text_[pos_++];
        std::wstring value;
        while (pos_ < text_.size()) {
            const wchar_t c = text_[pos_++];
            if (c == quote)
                return value;
            if (c == L'\r' || c == L'\n')
                return std::nullopt;
            if (c != L'\\') {
                value += c;
                continue;
            }
            if (pos_ >= text_.size())
                return std::nullopt;
            const wchar_t escape = text_[pos_++];
            switch (escape) {
            case L'\\':
            case L'"':
            case L'\'': value += escape; break;
            case L'n': value += L'\n'; break;
            case L'r': value += L'\r'; break;
            case L't': value += L'\t'; break;
            case L'x':
            case L'u': {
                // Each \u gives one UTF-16 unit, so a pair written for a character beyond the
                // first plane comes out as that character's surrogate pair.
                const int digits = escape == L'x' ? 2 : 4;
                int unit = 0;
                for (int i = 0; i < digits; ++i) {
                    const int digit = pos_ < text_.size() ? HexValue(text_[pos_]) : -1;
                    if (digit < 0)
                        return std::nullopt;
                    unit = unit * 16 + digit;
                    ++pos_;
                }
                value += static_cast<wchar_t>(unit);
                break;
            }
            default: return std::nullopt;
            }
        }
        return std::nullopt;
    }

    void SkipBlanks()
    {
        while (pos_ < text_.size()) {
            if (IsSpace(text_[pos_])) {
                ++pos_;
            } else if (text_[pos_] == L'#' || text_.substr(pos_, 2) == L"//") {
                while (pos_ < text_.size() && text_[pos_] != L'\n')
                    ++pos_;
            } else if (text_.substr(pos_, 2) == L"/*") {
                const std::size_t end = text_.find(L"*/", pos_ + 2);
                pos_ = end == std::wstring_view::npos ? text_.size() : end + 2;
            } else {
                return;
            }
        }
    }

    // A statement that cannot be read ends at its semicolon or, when it lacks one, at its
    // line's end, so that the statements after it are still read. A semicolon or line break
    // inside one of its strings ends the skip early; what is left is skipped in turn.
    void SkipStatement()
    {
        const std::size_t end = text_.find_first_of(L";\n", pos_);
        pos_ = end == std::wstring_view::npos ? text_.size() : end + 1;
    }

    std::wstring_view text_;
    std::size_t pos_ = 0;
};

} // namespace

std::vector<MozillaPref> ParseMozillaPrefs(std::string_view utf8)
{
    if (utf8.starts_with("\xEF\xBB\xBF"))
        utf8.remove_prefix(3);
    const std::wstring text = base::ToWide(utf8, CP_UTF8);
    return PrefsReader(text).ReadAll();
}

} // namespace mailclients
