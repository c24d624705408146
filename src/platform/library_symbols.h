// Opening a shared library at run time and looking up its entry points,
// for the libraries the program needs only once a feature is first used:
// start-up does not load them.
#pragma once

#include <initializer_list>
#include <mutex>
#include <vector>

#include <dlfcn.h>

namespace platform {

// Opened with its symbols kept to itself, so they never shadow others;
// its calls are bound as they are first made, which keeps opening quick.
inline void* OpenLibrary(const char* file) { return dlopen(file, RTLD_LAZY | RTLD_LOCAL); }

// Looks every name up in the first library of the list that has it;
// Complete() says whether every name was found.
class SymbolResolver {
public:
    explicit SymbolResolver(std::initializer_list<void*> libraries) : libraries_(libraries) {}
    template <typename Fn>
    void operator()(Fn& fn, const char* name) {
        fn = nullptr;
        for (void* lib : libraries_) {
            if (lib && (fn = reinterpret_cast<Fn>(dlsym(lib, name)))) return;
        }
        complete_ = false;
    }
    bool Complete() const { return complete_; }

private:
    std::vector<void*> libraries_;
    bool complete_ = true;
};

// The library `file`, opened once for the process, with its table of entry
// points filled by `fill(resolver, api)`, which returns false when the
// library cannot serve (its own start-up failed, say). Every call returns
// the same table, or null when the file, a name or the start-up failed.
// Callers meanwhile wait for the first.
template <class Api, class Fill>
const Api* LoadLibraryOnce(const char* file, Fill fill) {
    static std::once_flag once;
    static Api api;
    static const Api* loaded = nullptr;
    std::call_once(once, [&] {
        void* lib = OpenLibrary(file);
        if (!lib) return;
        SymbolResolver r({lib});
        // Kept open for the life of the process once it works.
        if (fill(r, api) && r.Complete()) loaded = &api;
    });
    return loaded;
}

}  // namespace platform
