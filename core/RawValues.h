#pragma once

#include <array>
#include <optional>
#include <string_view>
#include <utility>

// The stored text of each case of a small enumeration. An enumeration opts in
// by specialising RawValues with a `table` of (case, text) pairs.
template <typename E>
struct RawValues;

template <typename E>
concept HasRawValues = requires { RawValues<E>::table; };

template <HasRawValues E>
constexpr std::string_view rawValue(E value)
{
    for (const auto& [candidate, text] : RawValues<E>::table) {
        if (candidate == value)
            return text;
    }
    return {};
}

template <HasRawValues E>
constexpr std::optional<E> fromRawValue(std::string_view text)
{
    for (const auto& [candidate, name] : RawValues<E>::table) {
        if (name == text)
            return candidate;
    }
    return std::nullopt;
}
