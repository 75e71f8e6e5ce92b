#pragma once
// Filling the placeholders of a message text.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tx {

// Replaces, placeholder by placeholder in the order given, every occurrence
// (matched without regard to case) by its value. The search goes on behind
// each inserted value, so a value holding its own placeholder is inserted
// once; a placeholder whose value equals it is left alone.
std::string FillPlaceholders(std::string text, const std::vector<std::pair<std::string, std::string>>& values);

}  // namespace tx
