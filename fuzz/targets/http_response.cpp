// The suite stand-ins' reader of HTTP responses, fed in pieces as they arrive
// from the network (the first byte chooses the piece size).
#include "fuzz_target.h"
#include "http_response.h"

TIQORA_FUZZ_TARGET(http_response) {
    if (input.empty()) return;
    const size_t piece = static_cast<unsigned char>(input[0]) % 64 + 1;
    input.remove_prefix(1);
    wbx::ResponseReader reader;
    while (!input.empty() && !reader.complete() && !reader.failed()) {
        const size_t take = std::min(piece, input.size());
        reader.feed(input.substr(0, take));
        input.remove_prefix(take);
    }
    if (!reader.complete() && !reader.failed()) reader.closed();
    FUZZ_CHECK(!(reader.complete() && reader.failed()));
    FUZZ_CHECK(reader.body().size() <= wbx::ResponseReader::kBodyEnough + 64 * 1024);
}
