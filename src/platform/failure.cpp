#include "runtime.h"

#include <cstdio>
#include <cstdlib>
#include <cxxabi.h>
#include <memory>
#include <typeinfo>

namespace platform {

namespace {
std::string demangled(const char *name) {
    int status = 0;
    std::unique_ptr<char, void (*)(void *)> readable(
        abi::__cxa_demangle(name, nullptr, nullptr, &status), std::free);
    return status == 0 && readable ? readable.get() : name;
}
} // namespace

std::string describe(std::exception_ptr failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception &e) {
        return demangled(typeid(e).name()) + ": " + e.what();
    } catch (...) {
        const std::type_info *type = abi::__cxa_current_exception_type();
        return type ? demangled(type->name()) : std::string("unknown failure");
    }
}

void report(std::exception_ptr failure) {
    std::fprintf(stderr, "%s\n", describe(failure).c_str());
    std::fflush(stderr);
}

} // namespace platform
