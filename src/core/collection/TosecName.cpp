#include "collection/TosecName.h"

namespace vorbix {

namespace {

bool IsDateCharacter(char c)
{
    return (c >= '0' && c <= '9') || c == 'x' || c == 'X';
}

// "1988", "198x", "19xx-04", "1988-04-21": four date characters, then up to two "-" and two.
bool IsTosecDate(std::string_view text)
{
    if (text.size() != 4 && text.size() != 7 && text.size() != 10)
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool dash = i == 4 || i == 7;
        if (dash ? text[i] != '-' : !IsDateCharacter(text[i]))
            return false;
    }
    return true;
}

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

// TOSEC puts an article last ("Hobbit, The"); a user reads it first ("The Hobbit").
std::string ArticleInFront(std::string_view title)
{
    constexpr std::string_view kArticle = ", The";
    if (title.size() > kArticle.size() && title.ends_with(kArticle))
        return "The " + std::string(title.substr(0, title.size() - kArticle.size()));
    return std::string(title);
}

// The text inside the parentheses that start at open, and the position after them.
bool ReadGroup(std::string_view name, std::size_t open, std::string_view& inside, std::size_t& after)
{
    if (open >= name.size() || name[open] != '(')
        return false;
    const std::size_t close = name.find(')', open);
    if (close == std::string_view::npos)
        return false;
    inside = name.substr(open + 1, close - open - 1);
    after = close + 1;
    return true;
}

} // namespace

std::optional<TosecName> ParseTosecName(std::string_view name)
{
    const std::size_t firstOpen = name.find(" (");
    if (firstOpen == std::string_view::npos || firstOpen == 0)
        return std::nullopt;
    std::string_view group;
    std::size_t after = 0;
    if (!ReadGroup(name, firstOpen + 1, group, after))
        return std::nullopt;
    // A demo names itself before the date: "Title (demo) (1985)(Publisher)".
    if (group.starts_with("demo")) {
        const std::size_t next = after < name.size() && name[after] == ' ' ? after + 1 : after;
        if (!ReadGroup(name, next, group, after))
            return std::nullopt;
    }
    if (!IsTosecDate(group))
        return std::nullopt;
    TosecName result;
    result.Year = std::string(group);
    if (!ReadGroup(name, after, group, after))
        return std::nullopt;
    const std::string_view title = Trimmed(name.substr(0, firstOpen));
    if (title.empty())
        return std::nullopt;
    result.Title = ArticleInFront(title);
    group = Trimmed(group);
    if (group != "-")
        result.Publisher = std::string(group);
    return result;
}

} // namespace vorbix
