// The one thing an indexed array does outside its header: stop the program on a bad index.

#include "window/indexed_array.h"

#include <cstdio>
#include <cstdlib>

namespace hexorin {

void indexOutOfRange(std::string_view array, int index, int first, int last) {
    std::fprintf(stderr, "Hexorin: internal error: index %d outside %.*s(%d to %d)\n", index,
                 static_cast<int>(array.size()), array.data(), first, last);
    std::abort();
}

} // namespace hexorin
