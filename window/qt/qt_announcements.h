#pragma once

// What a screen reader hears of the window beyond the widget it reads: the sentences the search
// and the commands say, and a summary of the boxes the search rewrites at full speed.

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
// read only in the focused box. The narrator is that notification: never on the screen, shown to
// the accessibility bus once per sentence.
class Narrator final : public QWidget {
    Q_OBJECT

public:
    explicit Narrator(QWidget* parent);

    void say(const QString& sentence);
    [[nodiscard]] const QString& sentence() const { return sentence_; }

private:
    QString sentence_;
};

// A search at full speed rewrites some forty boxes every display frame, thousands of changes a
// second that no listener can follow. While a quiet catch-up runs, the changes it makes to those
// boxes are held back and announced once, as they stand, when the view next catches up at once
// (the search stopped, or a box opens). The narrator speaks after them, and during a quiet run
// tells the progress about once a second. A text box's caret and selection, moved while the focus
// comes or goes, are not news: a reader would take them for the focus and miss the box.
class Announcements final {
public:
    Announcements();
    Announcements(const Announcements&) = delete;
    Announcements& operator=(const Announcements&) = delete;
    ~Announcements();

    void hold(QObject* widget) { heldBack_.insert(widget); }
    void speakThrough(Narrator* narrator) { narrator_ = narrator; }
    void tellProgress(std::function<QString()> progress) { progress_ = std::move(progress); }
    // The sentence goes out once the held changes have.
    void say(const QString& sentence) { pending_ = sentence; }
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
    QPointer<Narrator> narrator_;
    std::function<QString()> progress_;
    QString pending_;
    QElapsedTimer sinceSpoken_;
    bool quiet_ = false;
    bool running_ = false; // quiet catch-ups since the last catch-up at once
};

// Makes the narrator a notification to screen readers.
void installNarratorAccessibility();

} // namespace hexorin
