// The column specification of the history lists.
#include "core/ui/list_rules.h"
#include "fuzz_target.h"

TIQORA_FUZZ_TARGET(column_spec) {
    const auto columns = tiqora::ui::parseColumnSpec(input);
    size_t titles = 0;
    for (const auto& column : columns) titles += column.title.size();
    FUZZ_CHECK(titles <= input.size());
}
