// Feeds arbitrary bytes to the parses and, as the texts of the twelve star fields, to the line
// check.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "window/form1.h"

namespace {

class NoPlatform final : public hexorin::Platform {
public:
    void showMessage(const std::string&) override {}
    bool askYesNo(const std::string&, const std::string&) override { return false; }
    void processEvents() override {}
    void endProgram() override {}
};

void require(bool condition) {
    if (!condition)
        std::abort();
}

void checkParses(std::string_view text) {
    const double lenient = hexorin::lenientParse(text);
    require(!std::isnan(lenient));
    static_cast<void>(hexorin::roundToInt32(lenient));
    if (const auto strict = hexorin::strictParse(text))
        require(!std::isnan(*strict));
}

// Fields without a line of their own always name the "6.5" sentinel four times.
void checkLineSums(std::string_view text) {
    NoPlatform platform;
    hexorin::Form1 form(platform);
    form.Form_Load();
    for (int field = 1; field <= 12 && !text.empty(); ++field) {
        const auto end = text.find('\n');
        form.txtFeld(field).setText(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    for (const int field : {0, 1, 2, 3, 5, 6, 8, 10})
        require(form.LineSum(field) == 26);
    for (const int field : {4, 7, 9, 11, 12})
        static_cast<void>(form.LineSum(field));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    checkParses(text);
    checkLineSums(text);
    return 0;
}
