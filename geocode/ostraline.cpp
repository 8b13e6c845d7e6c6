#include "geocode/ostraline.h"

#include <array>
#include <bit>
#include <cstring>

namespace tolvex {
namespace {

using internal::kGridSize;

// Weights of the six mixed-radix digits (26, 26, 10, 26, 26, 10), most significant first.
constexpr std::int32_t kWeight1 = 1757600;
constexpr std::int32_t kWeight2 = 67600;
constexpr std::int32_t kWeight3 = 6760;
constexpr std::int32_t kWeight4 = 260;
constexpr std::int32_t kWeight5 = 10;
static_assert(kWeight1 * 26 == kGridSize && kWeight2 * 26 == kWeight1 &&
              kWeight3 * 10 == kWeight2 && kWeight4 * 26 == kWeight3 && kWeight5 * 26 == kWeight4);

constexpr std::size_t kCodeLength = 15;

// Value of the letter or digit at a position; the check has already vouched for it.
std::int32_t Letter(std::string_view code, std::size_t at) { return code[at] - 'A'; }
std::int32_t Digit(std::string_view code, std::size_t at) { return code[at] - '0'; }

// The axis whose first group starts at `first` (0: latitude, 4: longitude); its second group
// starts 8 positions later.
std::int32_t AxisIndex(std::string_view code, std::size_t first) {
  const std::size_t second = first + 8;
  return Letter(code, first) * kWeight1 + Letter(code, first + 1) * kWeight2 +
         Digit(code, first + 2) * kWeight3 + Letter(code, second) * kWeight4 +
         Letter(code, second + 1) * kWeight5 + Digit(code, second + 2);
}

char LetterChar(std::int32_t value) { return static_cast<char>('A' + value); }
char DigitChar(std::int32_t value) { return static_cast<char>('0' + value); }

// Writes an index in [0, kGridSize) as the six digits of one axis. The divisors are
// constants, so the compiler turns each division into a multiplication.
void WriteAxis(std::int32_t index, std::size_t first, char* out) {
  const std::size_t second = first + 8;
  out[first] = LetterChar(index / kWeight1);
  index %= kWeight1;
  out[first + 1] = LetterChar(index / kWeight2);
  index %= kWeight2;
  out[first + 2] = DigitChar(index / kWeight3);
  index %= kWeight3;
  out[second] = LetterChar(index / kWeight4);
  index %= kWeight4;
  out[second + 1] = LetterChar(index / kWeight5);
  out[second + 2] = DigitChar(index % kWeight5);
}

// Nearest node index of t, clamped so that out-of-range or NaN input still yields a node.
std::int32_t NodeIndex(double t) {
  if (!(t >= 0.0)) return 0;  // also catches NaN
  if (t > kGridSize) return kGridSize;
  // t is non-negative here, so truncation is the floor (and avoids a call to floor()).
  auto index = static_cast<std::int32_t>(t);
  const double fraction = t - index;
  if (fraction > 0.5 || (fraction == 0.5 && (index & 1) != 0)) ++index;
  return index;
}

// The check reads the 15 bytes as two overlapping 8-byte words (bytes 0-7 and 7-14) and
// tests every byte against its position's bounds at once. Bounds of each window:
constexpr std::uint64_t Word(const char (&bytes)[9]) {
  std::array<char, 8> word{};
  for (std::size_t i = 0; i < 8; ++i) word[i] = bytes[i];
  return std::bit_cast<std::uint64_t>(word);
}
constexpr std::uint64_t kFirstLow = Word("AA0.AA0.");
constexpr std::uint64_t kFirstHigh = Word("ZZ9.ZZ9.");
constexpr std::uint64_t kSecondLow = Word(".AA0.AA0");
constexpr std::uint64_t kSecondHigh = Word(".ZZ9.ZZ9");
constexpr std::uint64_t kHighBits = 0x8080808080808080;
constexpr std::uint64_t kLowBits = 0x7F7F7F7F7F7F7F7F;

// True when every byte b of `word` satisfies low <= b <= high for its own bounds (all bounds
// are ASCII). A byte with the high bit set (any byte of a non-ASCII UTF-8 character) fails
// first; after that no per-byte addition or subtraction below can carry into its neighbour.
bool BytesInRange(std::uint64_t word, std::uint64_t low, std::uint64_t high) {
  const std::uint64_t at_least_low = ((word | kHighBits) - low) & kHighBits;
  const std::uint64_t above_high = (word + (kLowBits - high)) & kHighBits;
  return ((word & kHighBits) == 0) & (at_least_low == kHighBits) & (above_high == 0);
}

std::uint64_t LoadWord(const char* bytes) {
  std::uint64_t word;
  std::memcpy(&word, bytes, sizeof word);
  return word;
}

}  // namespace

bool IsOstralineCode(std::string_view text) {
  if (text.size() != kCodeLength) return false;
  const bool first = BytesInRange(LoadWord(text.data()), kFirstLow, kFirstHigh);
  const bool second = BytesInRange(LoadWord(text.data() + 7), kSecondLow, kSecondHigh);
  return first && second;
}

double OstralineToLatitude(std::string_view code) {
  if (code.size() < kCodeLength) return -90.0;
  return static_cast<double>(internal::LatitudeIndex(code)) * 180.0 / kGridSize - 90.0;
}

double OstralineToLongitude(std::string_view code) {
  if (code.size() < kCodeLength) return -180.0;
  return static_cast<double>(internal::LongitudeIndex(code)) * 360.0 / kGridSize - 180.0;
}

std::string LatLonToOstraline(double latitude, double longitude) {
  std::int32_t latitude_index = NodeIndex((latitude + 90.0) * kGridSize / 180.0);
  std::int32_t longitude_index = NodeIndex((longitude + 180.0) * kGridSize / 360.0);
  // The top latitude row absorbs 90; longitude 180 is the -180 meridian.
  if (latitude_index == kGridSize) latitude_index = kGridSize - 1;
  if (longitude_index == kGridSize) longitude_index = 0;
  return internal::CodeFromIndices(latitude_index, longitude_index);
}

namespace internal {

std::int32_t LatitudeIndex(std::string_view code) { return AxisIndex(code, 0); }

std::int32_t LongitudeIndex(std::string_view code) { return AxisIndex(code, 4); }

std::string CodeFromIndices(std::int32_t latitude_index, std::int32_t longitude_index) {
  std::string code(kCodeLength, '.');
  WriteAxis(latitude_index, 0, code.data());
  WriteAxis(longitude_index, 4, code.data());
  return code;
}

}  // namespace internal
}  // namespace tolvex
