#pragma once

// What a screen reader hears of the window beyond the widget it reads: the sentences the search
// and the commands say, and a summary of the boxes the search rewrites at full speed.

#include <array>
#include <cstddef>
#include <functional>
#include <vector>

#include <QAccessible>
#include <QElapsedTimer>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QWidget>

namespace hexorin {

// Screen readers speak a notification when it is shown, wherever the focus is; text changes they
// read only in the focused box. A notice is such a notification: never on the screen, shown to the
// accessibility bus with one sentence. A reader reads the sentence when it comes to the event,
// which may be after the next one: each sentence gets a notice of its own, of a few in turn.
class Notice final : public QWidget {
    Q_OBJECT

public:
    explicit Notice(QWidget* parent);

    void say(const QString& sentence);
};

// A search at full speed rewrites some forty boxes every display frame, thousands of changes a
// second that no listener can follow. Changes to those boxes reach a reader only from the box it
// is in, and while a quiet catch-up runs, once, as the box stands when the view next catches up
// at once (the search stopped, or a box opens). The notices speak after them, and during a
// quiet run tells the progress about once a second. A text box's caret and selection, moved while
// the focus comes or goes, are not news: a reader would take them for the focus and miss the box.
class Announcements final {
public:
    Announcements();
    Announcements(const Announcements&) = delete;
    Announcements& operator=(const Announcements&) = delete;
    ~Announcements();

    void hold(QObject* widget) { heldBack_.insert(widget); }
    // The notices are made as hidden children of the window.
    void speakThrough(QWidget* window);
    void tellProgress(std::function<QString()> progress) { progress_ = std::move(progress); }
    // The sentence goes out once the held changes have, with any said before it that has not.
    void say(const QString& sentence) {
        pending_ += (pending_.isEmpty() ? QString() : QStringLiteral(" ")) + sentence;
    }
    void focusMoves(QObject* widget) { settling_.insert(widget); }

    // Announces every held change as the widget stands now, then the pending sentence.
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
    void speakPending();

    QSet<const QObject*> heldBack_;
    QSet<const QObject*> settling_;
    std::vector<Held> held_;
    std::array<QPointer<Notice>, 8> notices_;
    std::size_t nextNotice_ = 0;
    std::function<QString()> progress_;
    QString pending_;
    QElapsedTimer sinceSpoken_;
    bool quiet_ = false;
    bool running_ = false; // quiet catch-ups since the last catch-up at once
};

// Makes a notice a notification to screen readers.
void installNoticeAccessibility();

} // namespace hexorin
