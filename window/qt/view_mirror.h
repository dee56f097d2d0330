#pragma once

// Keeps the widgets showing their controls. Every control counts its changes; a binding applies a
// control to its widget again when that count has moved on since it last did.

#include <cstdint>
#include <functional>
#include <vector>

#include <QTimer>

#include "window/controls.h"
#include "window/qt/announcements.h"

namespace hexorin {

// The one place that decides when the widgets catch up with the controls: at once ("now"), where
// the user is about to see or edit them, or at the next display frame ("soon"), while the search
// turns the event loop once a pass. A catch-up at a frame of a running search is quiet: what it
// changes on the search's own boxes reaches a screen reader in a summary (see Announcements).
class ViewMirror final {
public:
    ViewMirror();

    // Applies the control to its widget now, and again whenever it has changed.
    void bind(const Control& control, std::function<void()> apply);
    // A widget that only the search rewrites while it runs: its changes are announced in summary.
    void rewrittenBySearch(QObject* widget) { announcements_.hold(widget); }
    // The sentences a screen reader is told, and the progress told about once a second while
    // the search runs at full speed.
    void speakThrough(QWidget* window) { announcements_.speakThrough(window); }
    void tellProgress(std::function<QString()> progress) {
        announcements_.tellProgress(std::move(progress));
    }
    void say(const QString& sentence) { announcements_.say(sentence); }
    // The widget's caret and selection move because the focus does: not news to a reader.
    void focusMoves(QObject* widget) { announcements_.focusMoves(widget); }

    void now();
    // Only the one control's widget, where the user has just edited it.
    void now(const Control& control);
    void soon();
    // True while a catch-up sets the widgets: their change signals are the view's, not the user's.
    [[nodiscard]] bool applying() const { return applying_; }

private:
    void catchUp();

    struct Binding {
        const Control* control;
        std::uint64_t applied; // the control's revision the widget shows
        std::function<void()> apply;
    };

    std::vector<Binding> bindings_;
    QTimer frameTimer_;
    Announcements announcements_;
    bool applying_ = false;
};

} // namespace hexorin
