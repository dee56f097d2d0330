// The text box's appending and its numeric value, kept until the text changes.

#include "window/controls.h"

namespace hexorin {

void TextBox::appendText(std::string_view piece) {
    if (piece.empty())
        return;
    text_.append(piece);
    numericValue_.reset();
    changed();
}

double TextBox::numericValue() const {
    if (!numericValue_)
        numericValue_ = lenientParse(text_);
    return *numericValue_;
}

} // namespace hexorin
