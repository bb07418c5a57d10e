#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <type_traits>
#include <utility>

// The general error display: an error that a handler lets through ends that operation and its
// message is shown in the message box; the program goes on.
namespace ErrorDisplay {

using Shower = std::function<void(const QString& message)>;
void setShower(Shower shower);

void show(const QString& message);

// Shows the exception being handled; called inside a catch (...) block. The one list of what
// is shown: the program's errors and the standard ones (anything else goes on up).
void showCaught();

// Runs f; an exception it throws is shown instead of propagating.
void guard(const std::function<void()>& f);

// Connects a signal to a handler that runs under guard(). The handler takes the signal's
// arguments or none.
template <typename Sender, typename Signal, typename Handler>
QMetaObject::Connection connect(Sender* sender, Signal signal, QObject* context, Handler handler) {
    return QObject::connect(sender, signal, context, [h = std::move(handler)](auto&&... args) {
        guard([&] {
            if constexpr (std::is_invocable_v<const Handler&, decltype(args)...>)
                h(args...);
            else
                h();
        });
    });
}

} // namespace ErrorDisplay
