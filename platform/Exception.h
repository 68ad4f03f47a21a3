#pragma once
// Failures carry a user-facing message; the application object shows it in a message box.

#include <QString>
#include <stdexcept>

class Exception : public std::runtime_error
{
public:
    explicit Exception(const QString& message) : std::runtime_error(message.toStdString()), FMessage(message) {}
    const QString& Message() const { return FMessage; }

private:
    QString FMessage;
};
