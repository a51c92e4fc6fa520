#pragma once
#include <QString>
#include <stdexcept>

// Failure of a localisation operation. The message is English and is shown
// to the user as it stands, so it is kept as a QString as well.
class TLanguageError : public std::runtime_error
{
public:
    explicit TLanguageError(const QString &Message)
        : std::runtime_error(Message.toStdString()), FMessage(Message)
    {
    }
    const QString &Message() const noexcept { return FMessage; }

private:
    QString FMessage;
};
