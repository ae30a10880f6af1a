#ifndef ZENDRIK_FORMS_EVENTHOOK_H
#define ZENDRIK_FORMS_EVENTHOOK_H

#include <QObject>
#include <functional>

// An event filter that hands the events to a function: true from it takes the event. Owned by
// its Qt parent; Qt removes a filter that goes away.
class EventHook final : public QObject {
public:
    using Handler = std::function<bool(QObject* watched, QEvent* event)>;

    EventHook(Handler handler, QObject* parent) : QObject(parent), handler_(std::move(handler)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override { return handler_(watched, event); }

private:
    Handler handler_;
};

#endif
