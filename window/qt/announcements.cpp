// What a screen reader hears beyond the widget it reads: the notices' sentences, and the running
// search's changes held back and summed up.

#include "window/qt/announcements.h"

#include <algorithm>

#include <QAccessibleWidget>
#include <QApplication>

namespace hexorin {
namespace {

constexpr qint64 kProgressMilliseconds = 1000;

// Qt hands accessibility events to one plain function, so the windows that hold them back are
// found from there: every live one, in any order of coming and going, and the function that was
// installed before them, which gets what none of them takes.
struct Handlers {
    std::vector<Announcements*> live;
    QAccessible::UpdateHandler before = nullptr;
};

Handlers& handlers() {
    static Handlers installed;
    return installed;
}

QString textOf(QAccessibleInterface* accessible) {
    QAccessibleTextInterface* const text =
        accessible == nullptr ? nullptr : accessible->textInterface();
    return text == nullptr ? QString() : text->text(0, text->characterCount());
}

// The text before a change, from the text after it and the event that tells the change.
QString textBefore(QAccessibleEvent* event, const QString& after) {
    switch (event->type()) {
    case QAccessible::TextUpdated: {
        const auto* const updated = static_cast<QAccessibleTextUpdateEvent*>(event);
        return QString(after).replace(updated->changePosition(), updated->textInserted().size(),
                                      updated->textRemoved());
    }
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

bool isCaretOrSelection(QAccessible::Event type) {
    return type == QAccessible::TextCaretMoved || type == QAccessible::TextSelectionChanged;
}

QAccessibleInterface* noticeAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String(Notice::staticMetaObject.className()))
        if (auto* const notice = qobject_cast<Notice*>(object))
            return new QAccessibleWidget(notice, QAccessible::Notification);
    return nullptr;
}

} // namespace

Notice::Notice(QWidget* parent)
    : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    hide();
}

// The name first: a reader that keeps names learns the new one from its change.
void Notice::say(const QString& sentence) {
    setAccessibleName(sentence);
    QAccessibleEvent shown(this, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

Announcements::Announcements() {
    Handlers& installed = handlers();
    if (installed.live.empty())
        installed.before = QAccessible::installUpdateHandler(&Announcements::update);
    installed.live.push_back(this);
}

Announcements::~Announcements() {
    Handlers& installed = handlers();
    std::erase(installed.live, this);
    if (installed.live.empty())
        QAccessible::installUpdateHandler(installed.before);
}

void Announcements::update(QAccessibleEvent* event) {
    // Every window sees a focus event: each forgets the boxes whose focus it settled.
    bool taken = false;
    for (Announcements* const announcements : handlers().live)
        taken = announcements->takes(event) || taken;
    if (!taken)
        forward(event);
}

// On to the handler before, or to Qt's own bridge to the screen reader.
void Announcements::forward(QAccessibleEvent* event) {
    if (QAccessible::UpdateHandler before = handlers().before) {
        before(event);
        return;
    }
    if (!QAccessible::isActive())
        return;
    QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(&Announcements::update);
}

// A reader reads a box it is not in when it gets there, and takes a burst of changes from boxes
// elsewhere for a flood, in which it drops what it was to say: of the search's boxes only the
// focused one is heard, and during a quiet catch-up only once, as it stands at the end.
bool Announcements::takes(QAccessibleEvent* event) {
    QObject* const widget = event->object();
    const QAccessible::Event type = event->type();
    if (type == QAccessible::Focus)
        settling_.clear();
    if (widget == nullptr)
        return false;
    if (isCaretOrSelection(type) && settling_.contains(widget))
        return true;
    if (!heldBack_.contains(widget))
        return false;
    if (widget != QApplication::focusWidget())
        return true;
    if (!quiet_)
        return false;
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
    running_ = false;
    std::vector<Held> held;
    held.swap(held_);
    for (const Held& change : held)
        announce(change);
    speakPending();
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

void Announcements::speakThrough(QWidget* window) {
    for (QPointer<Notice>& notice : notices_)
        notice = new Notice(window);
}

void Announcements::speakPending() {
    Notice* const notice = notices_[nextNotice_];
    if (pending_.isEmpty() || notice == nullptr)
        return;
    nextNotice_ = (nextNotice_ + 1) % notices_.size();
    notice->say(pending_);
    pending_.clear();
    sinceSpoken_.start();
}

// A run's first quiet catch-up starts its clock: the first progress comes a second into the run.
Announcements::Quiet::Quiet(Announcements& announcements)
    : announcements_(announcements) {
    if (!announcements_.running_)
        announcements_.sinceSpoken_.start();
    announcements_.running_ = true;
    announcements_.quiet_ = true;
}

Announcements::Quiet::~Quiet() {
    Announcements& announcements = announcements_;
    announcements.quiet_ = false;
    if (announcements.pending_.isEmpty() && announcements.progress_ &&
        announcements.sinceSpoken_.elapsed() >= kProgressMilliseconds)
        announcements.pending_ = announcements.progress_();
    announcements.speakPending();
}

void installNoticeAccessibility() {
    QAccessible::installFactory(&noticeAccessible); // installs it once however often called
}

} // namespace hexorin
