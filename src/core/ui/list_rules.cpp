#include "core/ui/list_rules.h"

namespace tiqora::ui {

std::vector<ColumnSpec> parseColumnSpec(std::string_view spec) {
    std::vector<ColumnSpec> columns;
    size_t position = 0;
    for (;;) {
        const size_t comma = spec.find(',', position);
        if (comma == std::string_view::npos) break;
        size_t end = spec.find(';', comma + 1);
        if (end == std::string_view::npos) end = spec.size();
        columns.push_back({std::string(spec.substr(position, comma - position)),
                           detail::lowBitsOfDecimal(spec.substr(comma + 1, end - comma - 1))});
        if (end >= spec.size()) break;
        position = end + 1;
    }
    return columns;
}

}  // namespace tiqora::ui
