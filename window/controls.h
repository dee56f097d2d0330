#pragma once

// The controls of the window object: plain state that counts its own changes.

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "window/color.h"
#include "window/number_text.h"

namespace hexorin {

// Every control counts its changes, so a view can repaint only what changed since it last looked.
class Control {
public:
    [[nodiscard]] std::uint64_t revision() const { return revision_; }

protected:
    void changed() { ++revision_; }

    template <typename T, typename U> void assign(T& property, U&& value) {
        if (property == value)
            return;
        property = std::forward<U>(value);
        changed();
    }

private:
    std::uint64_t revision_ = 0;
};

class TextBox : public Control {
public:
    [[nodiscard]] const std::string& text() const { return text_; }
    void setText(std::string_view text) {
        if (text.size() == text_.size()) {
            if (sameText(text))
                return;
            // The search mostly swaps one short number for another of the same length.
            if (text.size() <= 2) {
                text_.front() = text.front();
                text_.back() = text.back();
            } else {
                std::copy(text.begin(), text.end(), text_.begin());
            }
        } else {
            text_.assign(text);
        }
        numericValue_.reset();
        changed();
    }
    // Appends to the text. Same result as setText(text() + piece), without copying the text.
    void appendText(std::string_view piece);
    // The lenient parse of the text, kept until the text changes: the line check reads the same
    // few boxes on every pass.
    [[nodiscard]] double numericValue() const;

    [[nodiscard]] Color backColor() const { return backColor_; }
    void setBackColor(Color color) { assign(backColor_, color); }
    [[nodiscard]] Color foreColor() const { return foreColor_; }
    void setForeColor(Color color) { assign(foreColor_, color); }
    // Left edge in twips from the container's left edge.
    [[nodiscard]] int left() const { return left_; }
    void setLeft(int twips) { assign(left_, twips); }
    [[nodiscard]] bool visible() const { return visible_; }
    void setVisible(bool visible) { assign(visible_, visible); }

private:
    // The numbers the search writes on every pass are one or two characters: compared in place.
    [[nodiscard]] bool sameText(std::string_view text) const {
        switch (text.size()) {
        case 0:
            return true;
        case 1:
            return text[0] == text_[0];
        case 2:
            return text[0] == text_[0] && text[1] == text_[1];
        default:
            return std::string_view(text_) == text;
        }
    }

    std::string text_;
    mutable std::optional<double> numericValue_;
    Color backColor_ = rgb(255, 255, 255);
    Color foreColor_ = rgb(0, 0, 0);
    int left_ = 0;
    bool visible_ = true;
};

class Label : public Control {
public:
    [[nodiscard]] const std::string& caption() const { return caption_; }
    void setCaption(std::string_view caption) { assign(caption_, caption); }
    // A free string that is never shown.
    [[nodiscard]] const std::string& tag() const { return tag_; }
    void setTag(std::string_view tag) { assign(tag_, tag); }
    [[nodiscard]] Color backColor() const { return backColor_; }
    void setBackColor(Color color) { assign(backColor_, color); }
    [[nodiscard]] Color foreColor() const { return foreColor_; }
    void setForeColor(Color color) { assign(foreColor_, color); }

private:
    std::string caption_;
    std::string tag_;
    Color backColor_ = rgb(255, 255, 255);
    Color foreColor_ = rgb(0, 0, 0);
};

class CheckBox : public Control {
public:
    static constexpr int unticked = 0;
    static constexpr int ticked = 1;

    [[nodiscard]] const std::string& caption() const { return caption_; }
    void setCaption(std::string_view caption) { assign(caption_, caption); }
    [[nodiscard]] int value() const { return value_; }
    void setValue(int value) { assign(value_, value); }

private:
    std::string caption_;
    int value_ = unticked;
};

class CommandButton : public Control {
public:
    [[nodiscard]] const std::string& caption() const { return caption_; }
    void setCaption(std::string_view caption) { assign(caption_, caption); }
    [[nodiscard]] Color backColor() const { return backColor_; }
    void setBackColor(Color color) { assign(backColor_, color); }
    // Left edge in twips from the container's left edge.
    [[nodiscard]] int left() const { return left_; }
    void setLeft(int twips) { assign(left_, twips); }

private:
    std::string caption_;
    Color backColor_ = rgb(255, 255, 255);
    int left_ = 0;
};

// What a listener who cannot see the window is told: short sentences, about what the boxes alone
// show. A view that looks once a frame may find several said since; the last few are kept.
class Announcement : public Control {
public:
    static constexpr std::size_t kKept = 4;

    // The last sentence said.
    [[nodiscard]] const std::string& text() const { return kept_[(said_ + kKept - 1) % kKept]; }
    void say(std::string sentence) {
        kept_[said_ % kKept] = std::move(sentence);
        ++said_;
        changed();
    }
    // How many sentences were ever said, and the one said as number `index` (from 0), if kept.
    [[nodiscard]] std::uint64_t said() const { return said_; }
    [[nodiscard]] const std::string* sentence(std::uint64_t index) const {
        return index < said_ && said_ - index <= kKept ? &kept_[index % kKept] : nullptr;
    }

private:
    std::array<std::string, kKept> kept_;
    std::uint64_t said_ = 0;
};

} // namespace hexorin
