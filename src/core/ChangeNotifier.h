#pragma once

#include <QObject>

#include <cstdint>

// Says what data changed, so that whatever shows it can read it again: a form that stored a row
// tells the notifier, and the main window's lists and the planning hub listen. Forms know
// nothing of who listens.
class ChangeNotifier : public QObject {
    Q_OBJECT
public:
    // What changed. Firms carry their kind (column Art) as `detail`.
    enum class Topic {
        Events,
        Planning,
        Firms,
        Contacts,
        Musicians,
        Instruments,
        BaseData,
        UserData
    };

    // The program's notifier.
    static ChangeNotifier& instance();

    void notify(Topic topic, std::int32_t key = 0, int detail = -1) {
        Q_EMIT changed(topic, key, detail);
    }

Q_SIGNALS:
    // `key` is the row that changed (0 when not one row), `detail` what the topic adds.
    void changed(ChangeNotifier::Topic topic, std::int32_t key, int detail);
};

// Shorthands for the forms.
namespace Changes {
inline void events(std::int32_t eventId) {
    ChangeNotifier::instance().notify(ChangeNotifier::Topic::Events, eventId);
}
inline void planning(std::int32_t eventId) {
    ChangeNotifier::instance().notify(ChangeNotifier::Topic::Planning, eventId);
}
inline void firms(int firmKind, std::int32_t extId) {
    ChangeNotifier::instance().notify(ChangeNotifier::Topic::Firms, extId, firmKind);
}
} // namespace Changes
