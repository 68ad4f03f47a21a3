#pragma once
// Event handler types in the component style: a handler gets the object that fired it.

#include <functional>

class QObject;

using TNotifyEvent = std::function<void(QObject* Sender)>;
