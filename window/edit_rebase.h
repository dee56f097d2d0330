#pragma once

// A user's edit of a box, made on whatever text the box's widget showed, carried over to the
// text the control holds now. A widget may be a frame behind its control, so the widget's new
// text itself must never be taken as the control's.

#include <optional>
#include <string>
#include <string_view>

namespace hexorin {

// The control's text with the change from `shown` to `edited` made in it, or nothing when that
// change touches text the control no longer holds as shown. Replacing all of a text the user saw
// gives a new value that does not build on the old one: that is taken as it is.
std::optional<std::string> rebaseEdit(std::string_view shown, std::string_view edited,
                                      std::string_view current);

} // namespace hexorin
