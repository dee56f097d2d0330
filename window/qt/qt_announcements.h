#pragma once

// What a screen reader hears of the boxes the search rewrites while it runs at full speed.

#include <vector>

#include <QAccessible>
#include <QElapsedTimer>
#include <QPointer>
#include <QSet>
#include <QString>

namespace hexorin {

// A search at full speed rewrites some forty boxes every display frame, thousands of changes a
// second that no listener can follow. While a quiet catch-up runs, the changes it makes to those
// boxes are held back; the counter is announced about once a second, and everything held once
// when the view next catches up at once (the search stopped, or a box opens). What the user
// changes, and every read of a box, goes through untouched.
class Announcements final {
public:
    Announcements();
    Announcements(const Announcements&) = delete;
    Announcements& operator=(const Announcements&) = delete;
    ~Announcements();

    void hold(QObject* widget) { heldBack_.insert(widget); }
    void progress(QObject* widget) { progress_ = widget; }
    // Announces every held change in the widget's state as it is now.
    void flush();

    // For the length of a quiet catch-up.
    class Quiet {
    public:
        explicit Quiet(Announcements& announcements);
        Quiet(const Quiet&) = delete;
        Quiet& operator=(const Quiet&) = delete;
        ~Quiet();

    private:
        Announcements& announcements_;
    };

private:
    // What a held widget's changes come to: its text before them, and what else moved.
    struct Held {
        QPointer<QObject> widget;
        QString textBefore;
        bool text = false;
        bool location = false;
        bool value = false;
    };

    static void update(QAccessibleEvent* event);
    static void forward(QAccessibleEvent* event);
    bool takes(QAccessibleEvent* event);
    Held& heldFor(QObject* widget);
    void announce(const Held& held);

    QSet<const QObject*> heldBack_;
    const QObject* progress_ = nullptr;
    std::vector<Held> held_;
    QElapsedTimer sinceProgress_;
    Announcements* outer_;
    bool quiet_ = false;
};

} // namespace hexorin
