#pragma once
// The columns of the list of located programmers and the texts of one row. The dialog and the
// console mode show the same texts.
#include <array>
#include <cstddef>
#include <string>

#include "locator/DiscoverDatagrams.h"

namespace vantrel::locator {

enum class ColumnAlign { Left, Centre };

struct DiscoveryColumn {
    const char* title;
    int width; // pixels
    ColumnAlign align;
};

constexpr std::size_t kColumnCount = 7;
extern const std::array<DiscoveryColumn, kColumnCount> kDiscoveryColumns;

using RowTexts = std::array<std::string, kColumnCount>;

// The texts of the row of entry `index` (0-based; the "#" column shows index + 1).
RowTexts DiscoveryRowTexts(std::size_t index, const DiscoveryEntry& entry);

} // namespace vantrel::locator
