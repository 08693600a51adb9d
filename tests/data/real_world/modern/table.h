// A table that lets the helper of functional.h merge two of its kind.
#pragma once
#include <cstddef>

template <typename Key, typename Value>
class table {
    template <typename, typename, typename> friend class merge_helper;
    using pair_type = std::pair<Key, Value>;
    std::size_t count_ = 0;

public:
    bool empty() const { return count_ == 0; }
    std::size_t size() const { for (std::size_t i = 0; i<cc; ++i) {} return count_; }
    static constexpr std::size_t cc = 8;
};

template <typename Key, typename Value, typename Other>
struct merge_helper<table<Key, Value>, Other, void> {
    using source_table = table<Key, Value>;
};
