// Carrying a user's edit from a widget's text over to the control's current text.

#include "window/edit_rebase.h"

#include <algorithm>

namespace hexorin {
namespace {

std::size_t commonPrefix(std::string_view a, std::string_view b) {
    return static_cast<std::size_t>(std::ranges::mismatch(a, b).in1 - a.begin());
}

// Never reaching into the first `skip` characters of either text.
std::size_t commonSuffix(std::string_view a, std::string_view b, std::size_t skip) {
    const std::size_t limit = std::min(a.size(), b.size()) - skip;
    std::size_t length = 0;
    while (length < limit && a[a.size() - 1 - length] == b[b.size() - 1 - length])
        ++length;
    return length;
}

} // namespace

Splice spliceBetween(std::string_view before, std::string_view after) {
    const std::size_t start = commonPrefix(before, after);
    const std::size_t tail = commonSuffix(before, after, start);
    return {start, before.size() - start - tail, after.substr(start, after.size() - start - tail)};
}

std::optional<std::string> rebaseEdit(std::string_view shown, Splice edit,
                                      std::string_view current) {
    // Where the board moved on since the widget last showed it.
    const Splice moved = spliceBetween(shown, current);
    std::size_t at = 0;
    if (edit.removed == 0 && edit.start == shown.size())
        at = current.size();
    else if (edit.start + edit.removed <= moved.start)
        at = edit.start;
    else if (edit.start >= moved.start + moved.removed)
        at = edit.start - moved.removed + moved.inserted.size();
    else if (!shown.empty() && edit.removed == shown.size())
        return std::string(edit.inserted);
    else
        return std::nullopt;
    std::string result(current);
    result.replace(at, edit.removed, edit.inserted);
    return result;
}

std::optional<std::string> rebaseEdit(std::string_view shown, std::string_view edited,
                                      std::string_view current) {
    return rebaseEdit(shown, spliceBetween(shown, edited), current);
}

} // namespace hexorin
