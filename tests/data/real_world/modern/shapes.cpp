// shapes.cpp: the areas of a few shapes, worked out while compiling where the values allow.
#include <concepts>
#include <cstdint>
#include <vector>

namespace shapes {

template <typename T>
concept Shape = requires(const T& s) {
	{ s.area() } noexcept -> std::convertible_to<double>;
};

struct Square final {
	double side = 0;
	constexpr double area() const noexcept { return side * side; }
};

class Circle {
public:
	explicit constexpr Circle(double r) noexcept : radius(r) {}
	constexpr double area() const noexcept { return 3.14159 * radius * radius; }

private:
	mutable std::uint32_t reads = 0;
	double radius;
};

static_assert(Square{2}.area() == 4.0, "a square of side 2 covers 4");

using Area = double;
consteval int most() { return 64; }
constinit thread_local int drawn = 0;

template <Shape S>
auto total(const std::vector<S>& all) noexcept -> decltype(all.front().area()) {
	auto sum = 0.0;
	for (const auto& s : all) sum += s.area();
	return sum;
}

const char* name = nullptr;
void* none = reinterpret_cast<void*>(static_cast<std::uintptr_t>(0));

}  // namespace shapes
