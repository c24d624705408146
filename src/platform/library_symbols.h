// Opening a shared library at run time and looking up its entry points,
// for the libraries the program needs only once a feature is first used:
// start-up does not load them.
#pragma once

#include <initializer_list>
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

}  // namespace platform
