#pragma once
#include <QString>
#include <stdexcept>

// Failure of a localisation operation. The message is English and is shown
// to the user as it stands, so it is kept as a QString as well.
class LanguageError : public std::runtime_error
{
public:
    explicit LanguageError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message)
    {
    }
    const QString &message() const noexcept { return m_message; }

private:
    QString m_message;
};
