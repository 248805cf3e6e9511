// Replays every input kept in fuzz/corpus/<target>/ through its target, in the
// native build with AddressSanitizer and UBSan: what the fuzzers once found
// or covered stays covered by every test run, in seconds.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "fuzz_target.h"

namespace tiqora::fuzz {

std::vector<Target>& registeredTargets() {
    static std::vector<Target> targets;
    return targets;
}

namespace {

std::string readAll(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(FuzzReplay, EveryTargetHasACorpusAndPassesIt) {
    const std::filesystem::path corpora = TIQORA_FUZZ_CORPUS;
    ASSERT_FALSE(registeredTargets().empty());
    for (const Target& target : registeredTargets()) {
        const std::filesystem::path folder = corpora / target.name;
        ASSERT_TRUE(std::filesystem::is_directory(folder)) << "no corpus for " << target.name;
        size_t inputs = 0;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            if (!entry.is_regular_file()) continue;
            target.run(readAll(entry.path()));
            ++inputs;
        }
        EXPECT_GT(inputs, 0u) << "an empty corpus for " << target.name;
        // Inputs the corpus may not hold: the empty one and a long one.
        target.run({});
        target.run(std::string(70000, 'A'));
    }
}

}  // namespace
}  // namespace tiqora::fuzz
