#pragma once
// Shutting the computer down. Only the program's enforcement calls it; tests
// use a recording double so that no machine, Wine's included, goes down.
// Every operation raises EOSError when the system refuses.

namespace vh {

class ISystemShutdown {
public:
    virtual ~ISystemShutdown() = default;

    // Enables SeShutdownPrivilege in the process token.
    virtual void EnableShutdownPrivilege() = 0;
    // Ends the session and shuts down, forcing applications closed, hung ones too.
    virtual void EndSessionForShutdown() = 0;
    // Asks the local machine to shut down (not restart) after the given
    // seconds, forcing applications closed, with an empty message.
    virtual void RequestShutdown(unsigned timeoutSeconds) = 0;
};

// The system's code for "a shutdown is already in progress".
inline constexpr unsigned kErrorShutdownInProgress = 1115;

}  // namespace vh
