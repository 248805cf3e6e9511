// One fuzz target: a function of the portable core's readers of outside
// input, fed arbitrary bytes. The same source builds two ways:
//  - with libFuzzer (TIQORA_LIBFUZZER defined, clang -fsanitize=fuzzer): the
//    target is the program's LLVMFuzzerTestOneInput;
//  - into the native test binary fuzz_replay (g++ with ASan and UBSan): the
//    target registers itself, and the test replays every input of its corpus.
//
// A target checks properties of what it gets back with FUZZ_CHECK; a broken
// property aborts, which both builds report as a finding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace tiqora::fuzz {

using TargetFunction = void (*)(std::string_view input);

struct Target {
    const char* name;
    TargetFunction run;
};

// The targets linked into this program, in registration order.
std::vector<Target>& registeredTargets();

inline bool registerTarget(const char* name, TargetFunction run) {
    registeredTargets().push_back({name, run});
    return true;
}

[[noreturn]] inline void propertyBroken(const char* what, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: property broken: %s\n", file, line, what);
    std::abort();
}

// Splits an input into fields at NUL bytes (at most `count`; the last field
// takes the rest).
inline std::vector<std::string> fields(std::string_view input, size_t count) {
    std::vector<std::string> parts;
    while (parts.size() + 1 < count) {
        const size_t nul = input.find('\0');
        if (nul == std::string_view::npos) break;
        parts.emplace_back(input.substr(0, nul));
        input.remove_prefix(nul + 1);
    }
    parts.emplace_back(input);
    parts.resize(count);
    return parts;
}

}  // namespace tiqora::fuzz

#define FUZZ_CHECK(condition) \
    ((condition) ? static_cast<void>(0) : ::tiqora::fuzz::propertyBroken(#condition, __FILE__, __LINE__))

#ifdef TIQORA_LIBFUZZER
#define TIQORA_FUZZ_TARGET(name)                                                                 \
    static void fuzzTarget_##name(std::string_view input);                                      \
    extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {         \
        fuzzTarget_##name(std::string_view(reinterpret_cast<const char*>(data), size));         \
        return 0;                                                                                \
    }                                                                                            \
    static void fuzzTarget_##name(std::string_view input)
#else
#define TIQORA_FUZZ_TARGET(name)                                                                         \
    static void fuzzTarget_##name(std::string_view input);                                              \
    [[maybe_unused]] static const bool fuzzRegistered_##name =                                          \
        ::tiqora::fuzz::registerTarget(#name, &fuzzTarget_##name);                                     \
    static void fuzzTarget_##name(std::string_view input)
#endif
