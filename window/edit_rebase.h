#pragma once

// A user's edit of a box, made on whatever text the box's widget showed, carried over to the
// text the control holds now. A widget may be a frame behind its control, so the widget's new
// text itself must never be taken as the control's.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace hexorin {

// One change of a text: at `start`, `removed` characters gave way to `inserted`.
struct Splice {
    std::size_t start = 0;
    std::size_t removed = 0;
    std::string_view inserted;
};

// The change that turns `before` into `after`, where the two differ in one stretch.
Splice spliceBetween(std::string_view before, std::string_view after);

// The control's text with `edit`, made on `shown`, made in it; or nothing when the edit touches
// text the control no longer holds as shown. An insertion at the end of what was shown stays
// at the end, also where nothing was shown. Replacing all of a text the user saw gives a new value
// that does not build on the old one: that is taken as it is. The edit must lie within `shown`.
std::optional<std::string> rebaseEdit(std::string_view shown, Splice edit,
                                      std::string_view current);

// The same, for an edit known only by the text it left.
std::optional<std::string> rebaseEdit(std::string_view shown, std::string_view edited,
                                      std::string_view current);

} // namespace hexorin
