// When the widgets catch up with the controls.

#include "window/qt/view_mirror.h"

#include <algorithm>

namespace hexorin {
namespace {

constexpr int kFrameMilliseconds = 16;

} // namespace

ViewMirror::ViewMirror() {
    frameTimer_.setSingleShot(true);
    frameTimer_.setTimerType(Qt::PreciseTimer);
    frameTimer_.setInterval(kFrameMilliseconds);
    QObject::connect(&frameTimer_, &QTimer::timeout, &frameTimer_, [this] {
        const Announcements::Quiet quiet(announcements_);
        catchUp();
    });
}

// The binding keeps the control's address: a copy would not do.
void ViewMirror::bind(const Control& control, // clazy:exclude=function-args-by-value
                      std::function<void()> apply) {
    applying_ = true;
    apply();
    applying_ = false;
    bindings_.push_back({&control, control.revision(), std::move(apply)});
}

void ViewMirror::now() {
    frameTimer_.stop();
    catchUp();
    announcements_.flush();
}

// Also where the control did not change: an edit the control refused is taken back from the widget.
// The binding is found by the control's address: a copy would not do.
void ViewMirror::now(const Control& control) { // clazy:exclude=function-args-by-value
    const auto binding = std::ranges::find(bindings_, &control, &Binding::control);
    if (binding == bindings_.end())
        return;
    applying_ = true;
    binding->applied = control.revision();
    binding->apply();
    applying_ = false;
}

// The timer runs out inside one of the search's turns of the event loop, so a pass reads no clock.
void ViewMirror::soon() {
    if (!frameTimer_.isActive())
        frameTimer_.start();
}

void ViewMirror::catchUp() {
    applying_ = true;
    for (Binding& binding : bindings_) {
        const std::uint64_t revision = binding.control->revision();
        if (revision == binding.applied)
            continue;
        binding.applied = revision;
        binding.apply();
    }
    applying_ = false;
}

} // namespace hexorin
