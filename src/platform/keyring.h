// The desktop's keyring (the Secret Service on the session bus: GNOME
// Keyring, KWallet, KeePassXC) for one forum account's password. Every call
// ends within its time limit: a service that does not answer in time counts
// as absent. Calls block their thread; windows make them under the
// responsive wait.
#pragma once

#include <chrono>
#include <string>

namespace platform {

// The item's attributes: which server and which account.
struct KeyringAccount {
    std::string server;
    int port = 0;
    std::string mobile;
};

enum class KeyringStatus {
    Done,         // stored, found or removed
    NotFound,     // the service answered: no such item
    Unavailable,  // no session bus, no service, no default keyring, a
                  // locked keyring left locked, or no answer in time
};

struct KeyringSecret {
    KeyringStatus status = KeyringStatus::Unavailable;
    std::string password;  // when Done
};

// Long enough for a service that starts on demand; short enough that a
// stuck bus never holds start-up.
constexpr std::chrono::milliseconds kKeyringLookupLimit{4000};
// A locked keyring asks the user to unlock it: time to type a password.
constexpr std::chrono::milliseconds kKeyringStoreLimit{30000};

KeyringSecret KeyringLookup(const KeyringAccount& account,
                            std::chrono::milliseconds limit = kKeyringLookupLimit);
// Creates or replaces the item in the default keyring; never creates a
// keyring (that would ask the user for a new keyring password).
KeyringStatus KeyringStore(const KeyringAccount& account, const std::string& label,
                           const std::string& password,
                           std::chrono::milliseconds limit = kKeyringStoreLimit);
KeyringStatus KeyringRemove(const KeyringAccount& account,
                            std::chrono::milliseconds limit = kKeyringLookupLimit);

}  // namespace platform
