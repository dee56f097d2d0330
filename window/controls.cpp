#include "window/controls.h"

#include <cstdio>
#include <cstdlib>

#include "window/indexed_array.h"

namespace hexorin {

void indexOutOfRange(std::string_view array, int index, int first, int last) {
    std::fprintf(stderr, "Hexorin: internal error: index %d outside %.*s(%d to %d)\n", index,
                 static_cast<int>(array.size()), array.data(), first, last);
    std::abort();
}

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
