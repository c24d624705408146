// The keyring over libsecret, opened on first use (library_symbols.h) so
// that start-up never loads it. Each call runs on a thread of its own with
// a GCancellable: the caller waits up to the limit, then cancels and goes
// on; the thread ends by itself once libsecret returns.
#include "platform/keyring.h"

#include "platform/library_symbols.h"

#include <libsecret/secret.h>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace platform {
namespace {

struct SecretApi {
    decltype(&secret_password_storev_sync) storev_sync;
    decltype(&secret_password_lookupv_sync) lookupv_sync;
    decltype(&secret_password_clearv_sync) clearv_sync;
    decltype(&secret_password_free) password_free;
    decltype(&secret_service_get_sync) service_get_sync;
    decltype(&secret_collection_for_alias_sync) collection_for_alias_sync;
    // GLib and GIO, found through libsecret's own dependencies.
    decltype(&g_hash_table_new) hash_table_new;
    decltype(&g_hash_table_insert) hash_table_insert;
    decltype(&g_hash_table_unref) hash_table_unref;
    decltype(&g_str_hash) str_hash;
    decltype(&g_str_equal) str_equal;
    decltype(&g_cancellable_new) cancellable_new;
    decltype(&g_cancellable_cancel) cancellable_cancel;
    decltype(&g_object_unref) object_unref;
    decltype(&g_error_free) error_free;
};

const SecretApi* LoadSecret()
{
    return LoadLibraryOnce<SecretApi>("libsecret-1.so.0", [](SymbolResolver& r, SecretApi& api) {
        r(api.storev_sync, "secret_password_storev_sync");
        r(api.lookupv_sync, "secret_password_lookupv_sync");
        r(api.clearv_sync, "secret_password_clearv_sync");
        r(api.password_free, "secret_password_free");
        r(api.service_get_sync, "secret_service_get_sync");
        r(api.collection_for_alias_sync, "secret_collection_for_alias_sync");
        r(api.hash_table_new, "g_hash_table_new");
        r(api.hash_table_insert, "g_hash_table_insert");
        r(api.hash_table_unref, "g_hash_table_unref");
        r(api.str_hash, "g_str_hash");
        r(api.str_equal, "g_str_equal");
        r(api.cancellable_new, "g_cancellable_new");
        r(api.cancellable_cancel, "g_cancellable_cancel");
        r(api.object_unref, "g_object_unref");
        r(api.error_free, "g_error_free");
        return true;
    });
}

const SecretSchema kSchema = {
    "org.quillery.ForumPassword",
    SECRET_SCHEMA_NONE,
    {{"server", SECRET_SCHEMA_ATTRIBUTE_STRING},
     {"port", SECRET_SCHEMA_ATTRIBUTE_INTEGER},
     {"mobile", SECRET_SCHEMA_ATTRIBUTE_STRING},
     {nullptr, SECRET_SCHEMA_ATTRIBUTE_STRING}},
    0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};

// The attribute table of one account; its texts live in `port`'s owner.
struct Attributes {
    Attributes(const SecretApi& api, const KeyringAccount& account)
        : api(api), account(account), port(std::to_string(account.port))
    {
        table = api.hash_table_new(api.str_hash, api.str_equal);
        api.hash_table_insert(table, const_cast<char*>("server"), this->account.server.data());
        api.hash_table_insert(table, const_cast<char*>("port"), port.data());
        api.hash_table_insert(table, const_cast<char*>("mobile"), this->account.mobile.data());
    }
    ~Attributes() { api.hash_table_unref(table); }
    Attributes(const Attributes&) = delete;
    Attributes& operator=(const Attributes&) = delete;

    const SecretApi& api;
    KeyringAccount account;
    std::string port;
    GHashTable* table = nullptr;
};

// True when the error was set (and frees it).
bool Failed(const SecretApi& api, GError* error)
{
    if (!error) return false;
    api.error_free(error);
    return true;
}

// Runs `work` on its own thread; Unavailable when it has not finished
// within `limit` (it is then cancelled and left to end by itself).
KeyringSecret Bounded(std::chrono::milliseconds limit,
                      std::function<KeyringSecret(const SecretApi&, GCancellable*)> work)
{
    const SecretApi* api = LoadSecret();
    if (!api) return {};
    // Shared by the caller and the thread; the last one frees it, so a
    // late cancel never meets a freed cancellable.
    struct Shared {
        explicit Shared(const SecretApi& api) : api(api), cancellable(api.cancellable_new()) {}
        ~Shared() { api.object_unref(cancellable); }
        const SecretApi& api;
        GCancellable* cancellable;
        std::mutex mutex;
        std::condition_variable done;
        bool finished = false;
        KeyringSecret result;
    };
    auto shared = std::make_shared<Shared>(*api);
    std::thread([shared, work = std::move(work)] {
        KeyringSecret result = work(shared->api, shared->cancellable);
        std::lock_guard<std::mutex> lock(shared->mutex);
        shared->result = std::move(result);
        shared->finished = true;
        shared->done.notify_all();
    }).detach();
    std::unique_lock<std::mutex> lock(shared->mutex);
    if (shared->done.wait_for(lock, limit, [&] { return shared->finished; })) {
        return std::move(shared->result);
    }
    api->cancellable_cancel(shared->cancellable);
    return {};
}

}  // namespace

KeyringSecret KeyringLookup(const KeyringAccount& account, std::chrono::milliseconds limit)
{
    return Bounded(limit, [account](const SecretApi& api, GCancellable* cancellable) {
        Attributes attributes(api, account);
        GError* error = nullptr;
        gchar* password = api.lookupv_sync(&kSchema, attributes.table, cancellable, &error);
        KeyringSecret result;
        if (Failed(api, error)) return result;
        result.status = password ? KeyringStatus::Done : KeyringStatus::NotFound;
        if (password) {
            result.password = password;
            api.password_free(password);
        }
        return result;
    });
}

KeyringStatus KeyringStore(const KeyringAccount& account, const std::string& label,
                           const std::string& password, std::chrono::milliseconds limit)
{
    return Bounded(limit, [account, label, password](const SecretApi& api, GCancellable* cancellable) {
        KeyringSecret result;
        GError* error = nullptr;
        SecretService* service = api.service_get_sync(SECRET_SERVICE_NONE, cancellable, &error);
        if (Failed(api, error) || !service) return result;
        SecretCollection* collection = api.collection_for_alias_sync(
            service, SECRET_COLLECTION_DEFAULT, SECRET_COLLECTION_NONE, cancellable, &error);
        api.object_unref(service);
        if (Failed(api, error) || !collection) return result;
        api.object_unref(collection);
        Attributes attributes(api, account);
        const gboolean stored = api.storev_sync(&kSchema, attributes.table, SECRET_COLLECTION_DEFAULT,
                                                label.c_str(), password.c_str(), cancellable, &error);
        if (!Failed(api, error) && stored) result.status = KeyringStatus::Done;
        return result;
    }).status;
}

KeyringStatus KeyringRemove(const KeyringAccount& account, std::chrono::milliseconds limit)
{
    return Bounded(limit, [account](const SecretApi& api, GCancellable* cancellable) {
        Attributes attributes(api, account);
        GError* error = nullptr;
        const gboolean removed = api.clearv_sync(&kSchema, attributes.table, cancellable, &error);
        KeyringSecret result;
        if (Failed(api, error)) return result;
        result.status = removed ? KeyringStatus::Done : KeyringStatus::NotFound;
        return result;
    }).status;
}

}  // namespace platform
