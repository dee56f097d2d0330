// Holding back and summing up a running search's changes for screen readers.

#include "window/qt/qt_announcements.h"

#include <algorithm>

namespace hexorin {
namespace {

constexpr qint64 kProgressMilliseconds = 1000;

// Qt hands accessibility events to one plain function, so the window that holds them back has to
// be found from there; the newest window's Announcements is the one.
Announcements*& current() {
    static Announcements* announcements = nullptr;
    return announcements;
}

QString textOf(QAccessibleInterface* accessible) {
    QAccessibleTextInterface* const text =
        accessible == nullptr ? nullptr : accessible->textInterface();
    return text == nullptr ? QString() : text->text(0, text->characterCount());
}

// The text before a change, from the text after it and the event that tells the change.
QString textBefore(QAccessibleEvent* event, const QString& after) {
    switch (event->type()) {
    case QAccessible::TextUpdated:
        return static_cast<QAccessibleTextUpdateEvent*>(event)->textRemoved();
    case QAccessible::TextInserted: {
        const auto* const inserted = static_cast<QAccessibleTextInsertEvent*>(event);
        return QString(after).remove(inserted->changePosition(), inserted->textInserted().size());
    }
    case QAccessible::TextRemoved: {
        const auto* const removed = static_cast<QAccessibleTextRemoveEvent*>(event);
        return QString(after).insert(removed->changePosition(), removed->textRemoved());
    }
    default:
        return after;
    }
}

bool isTextChange(QAccessible::Event type) {
    return type == QAccessible::TextUpdated || type == QAccessible::TextInserted ||
           type == QAccessible::TextRemoved;
}

} // namespace

Announcements::Announcements()
    : outer_(current()) {
    current() = this;
    QAccessible::installUpdateHandler(&Announcements::update);
}

Announcements::~Announcements() {
    current() = outer_;
    if (outer_ == nullptr)
        QAccessible::installUpdateHandler(nullptr);
}

void Announcements::update(QAccessibleEvent* event) {
    if (!QAccessible::isActive())
        return;
    Announcements* const announcements = current();
    if (announcements == nullptr || !announcements->takes(event))
        forward(event);
}

// On to Qt's own bridge to the screen reader.
void Announcements::forward(QAccessibleEvent* event) {
    QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(&Announcements::update);
}

bool Announcements::takes(QAccessibleEvent* event) {
    QObject* const widget = event->object();
    if (!quiet_ || widget == nullptr || !heldBack_.contains(widget))
        return false;
    const QAccessible::Event type = event->type();
    Held& held = heldFor(widget);
    if (isTextChange(type) && !held.text) {
        held.text = true;
        held.textBefore = textBefore(event, textOf(event->accessibleInterface()));
    }
    held.location = held.location || type == QAccessible::LocationChanged;
    held.value = held.value || type == QAccessible::ValueChanged;
    return true;
}

Announcements::Held& Announcements::heldFor(QObject* widget) {
    const auto found =
        std::ranges::find(held_, widget, [](const Held& held) { return held.widget.data(); });
    if (found != held_.end())
        return *found;
    return held_.emplace_back(Held{widget, {}, false, false, false});
}

void Announcements::flush() {
    std::vector<Held> held;
    held.swap(held_);
    for (const Held& change : held)
        announce(change);
}

void Announcements::announce(const Held& held) {
    QObject* const widget = held.widget.data();
    if (widget == nullptr || !QAccessible::isActive())
        return;
    if (held.text) {
        const QString now = textOf(QAccessible::queryAccessibleInterface(widget));
        if (now != held.textBefore) {
            QAccessibleTextUpdateEvent event(widget, 0, held.textBefore, now);
            forward(&event);
        }
    }
    if (held.location) {
        QAccessibleEvent event(widget, QAccessible::LocationChanged);
        forward(&event);
    }
    if (held.value) {
        QAccessibleInterface* const accessible = QAccessible::queryAccessibleInterface(widget);
        if (accessible != nullptr && accessible->valueInterface() != nullptr) {
            QAccessibleValueChangeEvent event(widget, accessible->valueInterface()->currentValue());
            forward(&event);
        }
    }
}

Announcements::Quiet::Quiet(Announcements& announcements)
    : announcements_(announcements) {
    announcements_.quiet_ = true;
}

// The counter tells a listener that the search goes on, and how far it has come.
Announcements::Quiet::~Quiet() {
    announcements_.quiet_ = false;
    if (announcements_.sinceProgress_.isValid() &&
        announcements_.sinceProgress_.elapsed() < kProgressMilliseconds)
        return;
    announcements_.sinceProgress_.start();
    auto& held = announcements_.held_;
    const auto counter = std::ranges::find(held, announcements_.progress_, [](const Held& change) {
        return static_cast<const QObject*>(change.widget.data());
    });
    if (counter == held.end())
        return;
    const Held change = *counter;
    held.erase(counter);
    announcements_.announce(change);
}

} // namespace hexorin
