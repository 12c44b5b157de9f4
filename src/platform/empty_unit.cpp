// Keeps a layer's library buildable before its first source file exists.
namespace {
[[maybe_unused]] int emptyUnitAnchor = 0;
}
