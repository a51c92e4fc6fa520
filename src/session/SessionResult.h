#pragma once
#include <QString>

#include <cstdint>

// How an operation of the controller session ended: the message is the
// exact text the user sees (the window in its message box, the command line
// on standard error), the status the transport's result where one failed.
struct SessionResult {
    enum class Kind {
        Ok,
        Failed,       // the controller refused or could not be reached, or a file failed
        Invalid,      // the values do not fit the controller; nothing was written
        NoController, // none connected, or none with the serial number asked for
        NoAccess,     // present, but this user may not open it
        LoadFailed,   // the parameters could not all be read (the window's editor reports it)
        InUse,        // another program holds the controller
        Usage,        // what was asked cannot be done as asked (a front end's own check)
    };

    Kind kind = Kind::Ok;
    uint16_t status = 0;
    QString message;
    // The parameter the failure concerns, where there is one ("BRIG").
    QString tag;

    bool ok() const { return kind == Kind::Ok; }

    static SessionResult failed(const QString &message, uint16_t status = 0)
    {
        return {Kind::Failed, status, message, {}};
    }
    static SessionResult invalid(const QString &message) { return {Kind::Invalid, 0, message, {}}; }
    static SessionResult noController(const QString &message) { return {Kind::NoController, 0, message, {}}; }
    static SessionResult noAccess(const QString &message) { return {Kind::NoAccess, 0, message, {}}; }
    static SessionResult inUse(const QString &message) { return {Kind::InUse, 0, message, {}}; }
    static SessionResult usage(const QString &message) { return {Kind::Usage, 0, message, {}}; }
};
