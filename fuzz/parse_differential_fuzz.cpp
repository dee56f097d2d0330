// Compares lenientParse with the converter it replaced, bit for bit, on arbitrary bytes.

#include <bit>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "window/number_text.h"

namespace hexorin::previous {
double lenientParse(std::string_view text);
} // namespace hexorin::previous

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto now = std::bit_cast<std::uint64_t>(hexorin::lenientParse(text));
    const auto before = std::bit_cast<std::uint64_t>(hexorin::previous::lenientParse(text));
    if (now != before)
        std::abort();
    return 0;
}
